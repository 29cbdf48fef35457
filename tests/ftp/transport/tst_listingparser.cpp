// The listing parser on recorded replies of each format.
#include "ListingParser.h"

#include <QTest>

using namespace orvane::ftp;

class TestListingParser : public QObject {
    Q_OBJECT
private slots:
    void list_data();
    void list();
    void mlsd_data();
    void mlsd();
    void yearlessDates_data();
    void yearlessDates();
    void otherDates();
    void linkTargets();
    void decoding();
};

static const QDate kToday(2026, 3, 15);

void TestListingParser::list_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("listing");

    QTest::newRow("empty reply") << QString() << QString();
    QTest::newRow("unix with group, time and year")
        << "total 12\r\n"
           "drwxr-xr-x   2 web      staff        4096 Mar 14 09:05 pub\r\n"
           "-rw-r--r--   1 web      staff         312 Jan  3  2024 index.html\r\n"
           "-rw-------   1 web      staff           0 Feb 28 23:59 README\r\n"
        << "pub/\r\nindex.html\r\nREADME\r\n";
    QTest::newRow("unix without group")
        << "drwxr-xr-x   2 web    4096 Mar 14 09:05 pub\n"
           "-rw-r--r--   1 web     312 Jan  3  2024 index.html\n"
        << "pub/\r\nindex.html\r\n";
    QTest::newRow("dot entries and total are left out")
        << "total 0\n"
           "drwxr-xr-x   3 u g 4096 Mar 14 09:05 .\n"
           "drwxr-xr-x   9 u g 4096 Mar 14 09:05 ..\n"
           "-rw-r--r--   1 u g    1 Mar 14 09:05 .profile\n"
        << ".profile\r\n";
    QTest::newRow("names with spaces, leading and inner")
        << "-rw-r--r--   1 u g   10 Mar 14 09:05 my page.html\n"
           "-rw-r--r--   1 u g   10 Mar 14 09:05   two leading.txt\n"
           "drwxr-xr-x   2 u g 4096 Nov 30  2025 old  stuff\n"
        << "my page.html\r\n  two leading.txt\r\nold  stuff/\r\n";
    QTest::newRow("owner and group that look like numbers or months")
        << "-rw-r--r--   1 1000 1000 77 Mar 14 09:05 a.txt\n"
           "-rw-r--r--   1 may  jun  77 Mar 14 09:05 b.txt\n"
        << "a.txt\r\nb.txt\r\n";
    QTest::newRow("symlinks to a listed folder and to a file")
        << "drwxr-xr-x   2 u g 4096 Mar 14 09:05 pub\n"
           "lrwxrwxrwx   1 u g    3 Mar 14 09:05 latest -> pub\n"
           "lrwxrwxrwx   1 u g    9 Mar 14 09:05 home page -> index.htm\n"
           "-rw-r--r--   1 u g   10 Mar 14 09:05 index.htm\n"
        << "pub/\r\nlatest/\r\nhome page\r\nindex.htm\r\n";
    QTest::newRow("utf-8 names")
        << QStringLiteral("-rw-r--r--   1 u g 10 Mar 14 09:05 café menü.html\n"
                          "drwxr-xr-x   2 u g 4096 Mar 14 09:05 日本\n")
        << QStringLiteral("café menü.html\r\n日本/\r\n");
    QTest::newRow("long-iso dates")
        << "-rw-r--r-- 1 u g 10 2025-11-30 08:00 iso file.txt\n"
           "drwxr-xr-x 2 u g 4096 2025-11-30 08:00 isodir\n"
        << "iso file.txt\r\nisodir/\r\n";
    QTest::newRow("ms-dos 12-hour, 2-digit year")
        << "03-14-26  09:05AM       <DIR>          pub\r\n"
           "03-14-26  11:30PM                 1234 index.html\r\n"
           "12-01-99  12:00PM                    7 old page.htm\r\n"
        << "pub/\r\nindex.html\r\nold page.htm\r\n";
    QTest::newRow("ms-dos 24-hour, 4-digit year")
        << "03-14-2026  21:05       <DIR>          My Documents\r\n"
           "03-14-2026  21:05                 1234 a b.txt\r\n"
        << "My Documents/\r\na b.txt\r\n";
    QTest::newRow("eplf")
        << "+i8388621.29609,m824255902,/,\tdev\r\n"
           "+i8388621.44468,m839956783,r,s10376,\tRFCEPLF\r\n"
        << "dev/\r\nRFCEPLF\r\n";
    QTest::newRow("unrecognised lines are skipped")
        << "this is not a listing\n"
           "-rw-r--r--   1 u g 10 Mar 14 09:05 ok.txt\n"
           "226 Transfer complete\n"
        << "ok.txt\r\n";
}

void TestListingParser::list()
{
    QFETCH(QString, reply);
    QFETCH(QString, listing);
    QList<RemoteEntry> entries = parseList(reply, kToday);
    resolveLinks(entries);
    QCOMPARE(renderListing(entries), listing);
}

void TestListingParser::mlsd_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("listing");

    QTest::newRow("empty reply") << QString() << QString();
    QTest::newRow("files, folders, cdir and pdir")
        << "type=cdir;modify=20260314090500; .\r\n"
           "type=pdir;modify=20260314090500; ..\r\n"
           "type=dir;modify=20260314090500;perm=flcdmpe; pub\r\n"
           "type=file;size=312;modify=20260314090500;perm=adfrw; index.html\r\n"
        << "pub/\r\nindex.html\r\n";
    QTest::newRow("semicolons, equals and spaces in names")
        << "type=file;size=1; a;b=c.txt\r\n"
           "type=dir; x=y; z\r\n"
           "type=file;size=2;   spaced name\r\n"
        << "a;b=c.txt\r\nx=y; z/\r\n  spaced name\r\n";
    QTest::newRow("fact names in any case")
        << "Type=Dir;Size=0; Upper\r\nTYPE=FILE;SIZE=3; lower\r\n"
        << "Upper/\r\nlower\r\n";
    QTest::newRow("symlinks by type")
        << "type=dir;unique=1; linked folder\r\n"
           "type=OS.unix=slink:/srv/pub;size=8; elsewhere\r\n"
           "type=OS.unix=slink:pub;size=3; near\r\n"
           "type=dir; pub\r\n"
        << "linked folder/\r\nelsewhere\r\nnear/\r\npub/\r\n";
}

void TestListingParser::mlsd()
{
    QFETCH(QString, reply);
    QFETCH(QString, listing);
    QList<RemoteEntry> entries = parseMlsd(reply);
    resolveLinks(entries);
    QCOMPARE(renderListing(entries), listing);
}

void TestListingParser::yearlessDates_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QDateTime>("modified");

    QTest::newRow("earlier this year")
        << kToday << "-rw-r--r-- 1 u g 1 Jan  3 10:20 f"
        << QDateTime(QDate(2026, 1, 3), QTime(10, 20), Qt::UTC);
    QTest::newRow("later month is last year")
        << kToday << "-rw-r--r-- 1 u g 1 Dec 31 23:59 f"
        << QDateTime(QDate(2025, 12, 31), QTime(23, 59), Qt::UTC);
    QTest::newRow("tomorrow stays this year (clock skew)")
        << kToday << "-rw-r--r-- 1 u g 1 Mar 16 00:30 f"
        << QDateTime(QDate(2026, 3, 16), QTime(0, 30), Qt::UTC);
    QTest::newRow("29 February in a leap year")
        << QDate(2024, 3, 1) << "-rw-r--r-- 1 u g 1 Feb 29 12:00 f"
        << QDateTime(QDate(2024, 2, 29), QTime(12, 0), Qt::UTC);
    QTest::newRow("29 February seen from a common year")
        << QDate(2025, 3, 1) << "-rw-r--r-- 1 u g 1 Feb 29 12:00 f"
        << QDateTime(QDate(2024, 2, 29), QTime(12, 0), Qt::UTC);
}

void TestListingParser::yearlessDates()
{
    QFETCH(QDate, today);
    QFETCH(QString, line);
    QFETCH(QDateTime, modified);
    const QList<RemoteEntry> entries = parseList(line, today);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].modified, modified);
}

void TestListingParser::otherDates()
{
    const QList<RemoteEntry> entries = parseList(
        QStringLiteral("03-14-99  12:15AM   5 a\n"
                       "03-14-2026  12:15PM   5 b\n"
                       "-rw-r--r-- 1 u g 42 Jan  3  2024 c\n"),
        kToday);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0].modified, QDateTime(QDate(1999, 3, 14), QTime(0, 15), Qt::UTC));
    QCOMPARE(entries[1].modified, QDateTime(QDate(2026, 3, 14), QTime(12, 15), Qt::UTC));
    QCOMPARE(entries[2].modified.date(), QDate(2024, 1, 3));
    QCOMPARE(entries[0].size, 5);
    QCOMPARE(entries[2].size, 42);

    const QList<RemoteEntry> facts = parseMlsd(
        QStringLiteral("type=file;modify=20250704133005.123;size=9; m\r\n"
                       "type=file;modify=2025; short\r\n"));
    QCOMPARE(facts[0].modified, QDateTime(QDate(2025, 7, 4), QTime(13, 30, 5), Qt::UTC));
    QCOMPARE(facts[0].size, 9);
    QVERIFY(!facts[1].modified.isValid());
}

// Links whose target is not in the listing are left for the transport to
// probe; the others are settled from the listing.
void TestListingParser::linkTargets()
{
    QList<RemoteEntry> entries = parseList(
        QStringLiteral("lrwxrwxrwx 1 u g 4 Mar 14 09:05 up -> ../x\n"
                       "lrwxrwxrwx 1 u g 4 Mar 14 09:05 abs -> /srv/www\n"
                       "lrwxrwxrwx 1 u g 4 Mar 14 09:05 slash -> www/\n"
                       "lrwxrwxrwx 1 u g 4 Mar 14 09:05 here -> ./sub\n"
                       "lrwxrwxrwx 1 u g 4 Mar 14 09:05 broken -> nowhere\n"
                       "drwxr-xr-x 2 u g 4 Mar 14 09:05 sub\n"),
        kToday);
    QCOMPARE(entries[0].name, QStringLiteral("up"));
    QCOMPARE(entries[0].linkTarget, QStringLiteral("../x"));
    const QList<int> unresolved = resolveLinks(entries);
    QCOMPARE(unresolved, (QList<int>{0, 1}));
    QVERIFY(entries[2].isFolder);
    QVERIFY(entries[3].isFolder);
    QVERIFY(!entries[4].isFolder);
}

void TestListingParser::decoding()
{
    // One line in Latin-1 among UTF-8 lines keeps the other lines intact.
    const QByteArray bytes = QByteArray("-rw-r--r-- 1 u g 1 Mar 14 09:05 caf\xc3\xa9\n")
                             + "-rw-r--r-- 1 u g 1 Mar 14 09:05 na\xefve\n";
    const QString text = decodeListing(bytes);
    QList<RemoteEntry> entries = parseList(text, kToday);
    QCOMPARE(renderListing(entries), QStringLiteral("café\r\nnaïve\r\n"));
    // A name holding a line break cannot be listed one per line.
    entries = {RemoteEntry{QStringLiteral("bad\rname")}, RemoteEntry{QStringLiteral("ok")}};
    QCOMPARE(renderListing(entries), QStringLiteral("ok\r\n"));
}

QTEST_APPLESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
