// The listing parser on example replies of each listing family.
#include "ListingParser.h"

#include <QTest>

using namespace orvane::ftp;

static const QDate kToday(2026, 3, 15);

class TestListingParser : public QObject {
    Q_OBJECT
private slots:
    void list_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QStringList>("unparsed");

        QTest::newRow("empty reply") << QString() << QString() << QStringList();
        QTest::newRow("unix with group, time and year")
            << "total 12\r\n"
               "drwxr-xr-x   2 web      staff        4096 Mar 14 09:05 pub\r\n"
               "-rw-r--r--   1 web      staff         312 Jan  3  2024 index.html\r\n"
               "-rw-------   1 web      staff           0 Feb 28 23:59 README\r\n"
            << "pub/\r\nindex.html\r\nREADME\r\n" << QStringList();
        QTest::newRow("unix without group")
            << "drwxr-xr-x   2 web    4096 Mar 14 09:05 pub\n"
               "-rw-r--r--   1 web     312 Jan  3  2024 index.html\n"
            << "pub/\r\nindex.html\r\n" << QStringList();
        QTest::newRow("dot entries and total give no entry; acl marker")
            << "total 0\n"
               "drwxr-xr-x   3 u g 4096 Mar 14 09:05 .\n"
               "drwxr-xr-x   9 u g 4096 Mar 14 09:05 ..\n"
               "-rw-r--r--+  1 u g    1 Mar 14 09:05 .profile\n"
            << ".profile\r\n" << QStringList();
        QTest::newRow("names with spaces, leading and inner")
            << "-rw-r--r--   1 u g   10 Mar 14 09:05 my page.html\n"
               "-rw-r--r--   1 u g   10 Mar 14 09:05   two leading.txt\n"
               "drwxr-xr-x   2 u g 4096 Nov 30  2025 old  stuff\n"
            << "my page.html\r\n  two leading.txt\r\nold  stuff/\r\n" << QStringList();
        QTest::newRow("owner and group that look like numbers or months, or hold a blank")
            << "-rw-r--r--   1 1000 1000 77 Mar 14 09:05 a.txt\n"
               "-rw-r--r--   1 may  jun  77 Mar 14 09:05 b.txt\n"
               "-rw-r--r--   1 John Smith  Domain Users   4242 Mar 14 09:05 budget 2026.xls\n"
            << "a.txt\r\nb.txt\r\nbudget 2026.xls\r\n" << QStringList();
        QTest::newRow("symlinks to a listed folder and to a file")
            << "drwxr-xr-x   2 u g 4096 Mar 14 09:05 pub\n"
               "lrwxrwxrwx   1 u g    3 Mar 14 09:05 latest -> pub\n"
               "lrwxrwxrwx   1 u g    9 Mar 14 09:05 home page -> index.htm\n"
               "-rw-r--r--   1 u g   10 Mar 14 09:05 index.htm\n"
            << "pub/\r\nlatest/\r\nhome page\r\nindex.htm\r\n" << QStringList();
        QTest::newRow("utf-8 names")
            << QStringLiteral("-rw-r--r--   1 u g 10 Mar 14 09:05 café menü.html\n"
                              "drwxr-xr-x   2 u g 4096 Mar 14 09:05 日本\n")
            << QStringLiteral("café menü.html\r\n日本/\r\n") << QStringList();
        QTest::newRow("day-first dates, dates with a comma")
            << "-rw-r--r--   1 web  web   2048 01 oct 2004 report.pdf\n"
               "drwxr-xr-x   2 web  web   4096 17 Mar 10:15 photos\n"
               "-rw-r--r--   1 web  web   512 Oct 08, 2002 notes.txt\n"
            << "report.pdf\r\nphotos/\r\nnotes.txt\r\n" << QStringList();
        QTest::newRow("numeric and iso dates")
            << "-rw-r--r-- 1 u g 10 2025-11-30 08:00 iso file.txt\n"
               "drwxr-xr-x 2 u g 4096 2025-11-30 08:00 isodir\n"
               "-rw-r--r-- 1 u g 99 2002-10-08 no time.txt\n"
               "-rw-r--r-- 1 u g 99 10/08/2002 13:45 slashes.txt\n"
            << "iso file.txt\r\nisodir/\r\nno time.txt\r\nslashes.txt\r\n" << QStringList();
        QTest::newRow("sizes with a unit or glued to the group")
            << "-rw-r--r--   1 web web 33.5k Mar 14 09:05 photo.jpg\n"
               "-rw-r--r--   1 webmaster webmasters12345678 Mar 14 09:05 big.iso\n"
            << "photo.jpg\r\nbig.iso\r\n" << QStringList();
        QTest::newRow("missing dates")
            << "-rw-r--r--   1 web  web   1234 no date.txt\n"
               "drwxr-xr-x   1 web  web   0 stuff\n"
            << "no date.txt\r\nstuff/\r\n" << QStringList();
        QTest::newRow("vshell")
            << "drwxrwxrwx    1 user     group           0 Mar 14  2026 vshell folder\r\n"
               "-rwxrwxrwx    1 user     group        1024 Mar 14 09:05 vshell.txt\r\n"
            << "vshell folder/\r\nvshell.txt\r\n" << QStringList();
        QTest::newRow("netware")
            << "d [RWCEAFMS] webmaster                512 Mar 14 09:05 public\r\n"
               "- [RWCEAFMS] webmaster               1024 Jan 03  2025 index.htm\r\n"
            << "public/\r\nindex.htm\r\n" << QStringList();
        QTest::newRow("connect enterprise")
            << "-C--E-----FTP B WEBBOX1      18128       41 Mar 14 09:05 DAILY.RPT\r\n"
            << "DAILY.RPT\r\n" << QStringList();
        QTest::newRow("ms-dos 12-hour, 2-digit year")
            << "03-14-26  09:05AM       <DIR>          pub\r\n"
               "03-14-26  11:30PM                 1234 index.html\r\n"
               "12-01-99  12:00PM                    7 old page.htm\r\n"
            << "pub/\r\nindex.html\r\nold page.htm\r\n" << QStringList();
        QTest::newRow("ms-dos 24-hour, 4-digit year")
            << "03-14-2026  21:05       <DIR>          My Documents\r\n"
               "03-14-2026  21:05                 1234 a b.txt\r\n"
            << "My Documents/\r\na b.txt\r\n" << QStringList();
        QTest::newRow("iis iso dates, thousands separators, folder name beginning with blanks")
            << "2024-10-01  14:30       <DIR>          assets\r\n"
               "10-01-24  02:30PM            1,234,567 archive.zip\r\n"
               "10-01-24  02:30PM       <DIR>            two blanks\r\n"
            << "assets/\r\narchive.zip\r\n  two blanks/\r\n" << QStringList();
        QTest::newRow("eplf")
            << "+i8388621.29609,m824255902,/,\tdev\r\n"
               "+i8388621.44468,m839956783,r,s10376,\tRFCEPLF\r\n"
            << "dev/\r\nRFCEPLF\r\n" << QStringList();
        QTest::newRow("vms with a wrapped entry and version suffixes")
            << "Directory DISK$WEB:[SITE]\r\n"
               "\r\n"
               "INDEX.HTML;3          4/6      14-MAR-2026 09:05:00  [WEB,WEBMASTER]  (RWED,RWED,RE,)\r\n"
               "IMAGES.DIR;1          1/3      02-JAN-2025 11:00:00  [WEB,WEBMASTER]  (RWE,RWE,RE,RE)\r\n"
               "A_VERY_LONG_FILE_NAME_FOR_VMS.HTML;12\r\n"
               "                     12/15     01-FEB-2026 08:30:00  [WEB,WEBMASTER]  (RWED,RWED,RE,)\r\n"
               "\r\n"
               "Total of 3 files, 17/24 blocks.\r\n"
            << "INDEX.HTML\r\nIMAGES/\r\nA_VERY_LONG_FILE_NAME_FOR_VMS.HTML\r\n" << QStringList();
        QTest::newRow("os/2")
            << "     0           DIR   03-14-26   09:05  Web Pages\r\n"
               "  8421      A          03-14-26   09:05  index.htm\r\n"
            << "Web Pages/\r\nindex.htm\r\n" << QStringList();
        QTest::newRow("os/400")
            << "WEBUSR         8192 03/14/26 09:05:00 *DIR       www/\r\n"
               "WEBUSR         1310 03/14/26 09:05:00 *STMF      index.html\r\n"
               "WEBUSR        65536 03/14/26 09:05:00 *FILE      WEBLIB.FILE\r\n"
               "QSYS                                  *MEM       WEBLIB.FILE/PAGE1.MBR\r\n"
            << "www/\r\nindex.html\r\nWEBLIB.FILE/\r\nPAGE1.MBR\r\n" << QStringList();
        QTest::newRow("mvs data sets")
            << "Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname\r\n"
               "WEB001 3390   2026/03/14  1   15  FB      80  3120  PS  SITE.INDEX.HTML\r\n"
               "WEB001 3390   2026/03/10  2   30  FB      80  3120  PO  SITE.PAGES\r\n"
               "Migrated                                                SITE.OLD.DATA\r\n"
            << "SITE.INDEX.HTML\r\nSITE.PAGES/\r\nSITE.OLD.DATA\r\n" << QStringList();
        QTest::newRow("mvs pds members")
            << "Name     VV.MM   Created       Changed      Size  Init   Mod   Id\r\n"
               "INDEX     01.03 2026/01/05 2026/03/14 09:05    42    40     0 WEBUSR\r\n"
               "ABOUT     01.00 2026/02/01 2026/02/01 12:00    10    10     0 WEBUSR\r\n"
            << "INDEX\r\nABOUT\r\n" << QStringList();
        QTest::newRow("z/vm")
            << "INDEX    HTML     V         80         12          1 2026-03-14 09:05:00 WEB191\r\n"
               "PAGES    DIR      -          -          -          - 2026-03-14 09:05:00 -\r\n"
            << "INDEX.HTML\r\nPAGES/\r\n" << QStringList();
        QTest::newRow("hp nonstop")
            << "File         Code             EOF  Last Modification    Owner  RWEP\r\n"
               "INDEX         101            2048  14-Mar-26 09:05:00  200,10 \"oooo\"\r\n"
            << "INDEX\r\n" << QStringList();
        QTest::newRow("os-9")
            << "Owner    Last modified  Attributes Sector Bytecount Name\r\n"
               "-------  -------------  ---------- ------ --------- ----\r\n"
               "   0.0      26/03/14 0905  d-ewrewr     2a       240 WEB\r\n"
               "  12.3      26/03/14 0905  ----r-wr     3c       4e2 index.htm\r\n"
            << "WEB/\r\nindex.htm\r\n" << QStringList();
        QTest::newRow("vxworks and nortel")
            << "     512   Mar 14 2026  09:05:00   logs       <DIR>\r\n"
               "    2048   Mar 14 2026  09:05:00   config.cfg\r\n"
            << "logs/\r\nconfig.cfg\r\n" << QStringList();
        QTest::newRow("bare names are files")
            << "index.html\r\npub\r\nREADME\r\n" << "index.html\r\npub\r\nREADME\r\n" << QStringList();
        QTest::newRow("unreadable lines are kept whole")
            << "this is not a listing\n"
               "-rw-r--r--   1 u g 10 Mar 14 09:05 ok.txt\n"
               "226 Transfer complete\n"
            << "ok.txt\r\n" << QStringList{"this is not a listing", "226 Transfer complete"};
    }

    void list()
    {
        QFETCH(QString, reply);
        QFETCH(QString, listing);
        QFETCH(QStringList, unparsed);
        Listing parsed = parseList(reply, kToday);
        resolveLinks(parsed.entries);
        QCOMPARE(renderListing(parsed.entries), listing);
        QCOMPARE(parsed.unparsed, unparsed);
        QVERIFY2(parsed.refused.isEmpty(), qPrintable(parsed.refused.join(u'|')));
    }

    void mlsd_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<int>("refused");

        QTest::newRow("empty reply") << QByteArray() << QString() << 0;
        QTest::newRow("files, folders, cdir and pdir")
            << QByteArray("type=cdir;modify=20260314090500; .\r\n"
                          "type=pdir;modify=20260314090500; ..\r\n"
                          "type=dir;modify=20260314090500;perm=flcdmpe; pub\r\n"
                          "type=file;size=312;modify=20260314090500;perm=adfrw; index.html\r\n")
            << "pub/\r\nindex.html\r\n" << 0;
        QTest::newRow("semicolons, equals and spaces in names")
            << QByteArray("type=file;size=1; a;b=c.txt\r\n"
                          "type=dir; x=y; z\r\n"
                          "type=file;size=2;   spaced name\r\n")
            << "a;b=c.txt\r\nx=y; z/\r\n  spaced name\r\n" << 0;
        QTest::newRow("a tab before the name")
            << QByteArray("type=file;size=5;\ttabbed.txt\r\n") << "tabbed.txt\r\n" << 0;
        QTest::newRow("fact names in any case")
            << QByteArray("Type=Dir;Size=0; Upper\r\nTYPE=FILE;SIZE=3; lower\r\n")
            << "Upper/\r\nlower\r\n" << 0;
        QTest::newRow("symlinks by type")
            << QByteArray("type=dir;unique=1; linked folder\r\n"
                          "type=OS.unix=slink:/srv/pub;size=8; elsewhere\r\n"
                          "type=OS.unix=slink:pub;size=3; near\r\n"
                          "type=dir; pub\r\n")
            << "linked folder/\r\nelsewhere\r\nnear/\r\npub/\r\n" << 0;
        QTest::newRow("lines without facts are refused")
            << QByteArray(" no facts.txt\r\njust a name\r\ntype=file; kept.txt\r\n")
            << "kept.txt\r\n" << 2;
        QTest::newRow("names that are paths are refused")
            << QByteArray("type=file; ../x\r\ntype=file; a/b\r\ntype=file; trail/\r\n"
                          "type=file; .\r\ntype=dir; ..\r\ntype=file; ok.txt\r\n")
            << "ok.txt\r\n" << 3;
        QTest::newRow("CR LF inside a name makes no phantom entry")
            << QByteArrayLiteral("type=file;size=1; crlf\r\0\ntype=file;size=9; phantom.txt\r\n"
                                 "type=file;size=1; lone\nlf.txt\r\n"
                                 "type=file;size=1; lone\rcr.txt\r\n"
                                 "type=file;size=1; ok.txt\r\n")
            << "ok.txt\r\n" << 3;
        QTest::newRow("NUL inside a name")
            << QByteArrayLiteral("type=file; nul\0name.txt\r\ntype=file; ok.txt\r\n")
            << "ok.txt\r\n" << 1;
        QTest::newRow("control characters and backslashes are names")
            << QByteArray("type=file; ctl\x16name.txt\r\ntype=file; back\\slash.txt\r\n")
            << "ctl\x16name.txt\r\nback\\slash.txt\r\n" << 0;
    }

    void mlsd()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, listing);
        QFETCH(int, refused);
        Listing parsed = parseListing(reply, true, kToday);
        resolveLinks(parsed.entries);
        QCOMPARE(renderListing(parsed.entries), listing);
        QCOMPARE(parsed.refused.size(), refused);
        QVERIFY(parsed.unparsed.isEmpty());
    }

    void sizesAndDates_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QDateTime>("modified");
        const auto utc = [](int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
        };
        QTest::newRow("unix comma") << "-rw-r--r-- 1 u g 8 Oct 08, 2002 n" << 8LL << utc(2002, 10, 8);
        QTest::newRow("unix kilobytes") << "-rw-r--r-- 1 u g 33.5k Jan  3  2024 p" << 34304LL
                                        << utc(2024, 1, 3);
        QTest::newRow("unix glued size") << "-rw-r--r-- 1 u staff12345678 Jan  3  2024 p" << 12345678LL
                                         << utc(2024, 1, 3);
        QTest::newRow("dos 12:15AM two-digit year") << "03-14-99  12:15AM   5 a" << 5LL
                                                    << utc(1999, 3, 14, 0, 15);
        QTest::newRow("dos thousands") << "10-01-24  02:30PM  1,234,567 z" << 1234567LL
                                       << utc(2024, 10, 1, 14, 30);
        QTest::newRow("dos size past 64 bits stays at the largest")
            << "10-01-24  02:30PM  99999999999999999999999 z" << std::numeric_limits<qint64>::max()
            << utc(2024, 10, 1, 14, 30);
        QTest::newRow("vms blocks") << "A.TXT;1  3/6  14-MAR-2026 09:05:07  [W]  (RWED)" << 1536LL
                                    << utc(2026, 3, 14, 9, 5, 7);
        QTest::newRow("os-9 hexadecimal") << "0.0  26/03/14 0905  ----r-wr  3c  4e2 i" << 1250LL
                                          << utc(2026, 3, 14, 9, 5);
        QTest::newRow("nonstop") << "INDEX  101  2048  14-Mar-26 09:05:00  200,10 \"oooo\"" << 2048LL
                                 << utc(2026, 3, 14, 9, 5);
    }

    void sizesAndDates()
    {
        QFETCH(QString, line);
        QFETCH(qint64, size);
        QFETCH(QDateTime, modified);
        const Listing parsed = parseList(line, kToday);
        QCOMPARE(parsed.entries.size(), 1);
        QCOMPARE(parsed.entries[0].size, size);
        QCOMPARE(parsed.entries[0].modified, modified);
    }

    void yearlessDates_data()
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

    void yearlessDates()
    {
        QFETCH(QDate, today);
        QFETCH(QString, line);
        QFETCH(QDateTime, modified);
        const Listing parsed = parseList(line, today);
        QCOMPARE(parsed.entries.size(), 1);
        QCOMPARE(parsed.entries[0].modified, modified);
    }

    // Links whose target is not in the listing are left for the transport to
    // probe; the others are settled from the listing.
    void linkTargets()
    {
        Listing parsed = parseList(
            QStringLiteral("lrwxrwxrwx 1 u g 4 Mar 14 09:05 up -> ../x\n"
                           "lrwxrwxrwx 1 u g 4 Mar 14 09:05 abs -> /srv/www\n"
                           "lrwxrwxrwx 1 u g 4 Mar 14 09:05 slash -> www/\n"
                           "lrwxrwxrwx 1 u g 4 Mar 14 09:05 here -> ./sub\n"
                           "lrwxrwxrwx 1 u g 4 Mar 14 09:05 broken -> nowhere\n"
                           "drwxr-xr-x 2 u g 4 Mar 14 09:05 sub\n"),
            kToday);
        QList<RemoteEntry>& entries = parsed.entries;
        QCOMPARE(entries[0].name, QStringLiteral("up"));
        QCOMPARE(entries[0].linkTarget, QStringLiteral("../x"));
        const QList<int> unresolved = resolveLinks(entries);
        QCOMPARE(unresolved, (QList<int>{0, 1}));
        QVERIFY(entries[2].isFolder);
        QVERIFY(entries[3].isFolder);
        QVERIFY(!entries[4].isFolder);
    }

    void serverBytes_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("rawName");
        QTest::newRow("latin-1 among utf-8 lines")
            << QByteArray("-rw-r--r-- 1 u g 1 Mar 14 09:05 caf\xe9.txt\n"
                          "-rw-r--r-- 1 u g 1 Mar 14 09:05 \xc3\xa9t\xc3\xa9\n")
            << false << QStringLiteral("café.txt") << QByteArray("caf\xe9.txt");
        QTest::newRow("windows-1252 euro and quotes in mlsd")
            << QByteArray("type=file;size=1; \x80 \x93q\x94.txt\r\n") << true
            << QStringLiteral("€ “q”.txt") << QByteArray("\x80 \x93q\x94.txt");
        QTest::newRow("unassigned windows-1252 bytes come back")
            << QByteArray("type=file; a\x81\x8d\x8f\x90\x9d\r\n") << true
            << QStringLiteral("a\u0081\u008d\u008f\u0090\u009d") << QByteArray("a\x81\x8d\x8f\x90\x9d");
    }

    // A name that is not UTF-8 is shown decoded as Windows-1252 and keeps the
    // bytes the server knows it by.
    void serverBytes()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, mlsd);
        QFETCH(QString, name);
        QFETCH(QByteArray, rawName);
        const Listing parsed = parseListing(reply, mlsd, kToday);
        QVERIFY(!parsed.entries.isEmpty());
        QCOMPARE(parsed.entries[0].name, name);
        QCOMPARE(parsed.entries[0].rawName, rawName);
    }

    // A reply read as it arrives, in pieces cut anywhere (inside a CR LF, a
    // UTF-8 sequence, a VMS entry's wrapped line), reads as the whole.
    void piecesReadAsTheWhole()
    {
        const QByteArray list("total 3\r\n-rw-r--r-- 1 u g 10 Mar 14 09:05 caf\xc3\xa9.txt\r\n"
                              "LONG_NAME.HTML;1\r\n        4/8  14-MAR-2026 09:05 [WEB] (RWED)\r\n"
                              "this is not a listing\r\n-rw-r--r-- 1 u g 1 Mar 14 09:05 caf\xe9\r\n");
        const QByteArray mlsd = QByteArrayLiteral("type=file;size=1; a\r\0b\r\ntype=dir; pub\r\nno facts\r\n"
                              "type=file; na\xefve\r\ntype=file; x\n\r\n");
        for (const auto& [reply, isMlsd] : {std::pair{list, false}, std::pair{mlsd, true}}) {
            const Listing whole = parseListing(reply, isMlsd, kToday);
            for (int step = 1; step < 5; ++step) {
                ListingReader pieces(isMlsd, kToday);
                for (qsizetype at = 0; at < reply.size(); at += step)
                    pieces.feed(QByteArrayView(reply).sliced(at, qMin<qsizetype>(step, reply.size() - at)));
                const Listing streamed = pieces.finish();
                QCOMPARE(renderListing(streamed.entries), renderListing(whole.entries));
                QCOMPARE(streamed.unparsed, whole.unparsed);
                QCOMPARE(streamed.refused, whole.refused);
            }
            QVERIFY(!whole.entries.isEmpty() && whole.unparsed.size() + whole.refused.size() > 0);
        }
    }
};

QTEST_APPLESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
