// The listing parser on example replies of each listing family.
#include "ListingParser.h"

#include <QTest>

using namespace orvane::ftp;

static const QDate kToday(2026, 3, 15);

// Each line of a reply beside what it lists as: "" nothing, "?" kept whole as a
// line in no known format, "!" refused as unsafe.
using Lines = QList<std::pair<QByteArray, const char*>>;

class TestListingParser : public QObject {
    Q_OBJECT
private slots:
    void families_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QString>("listing");
        QTest::addColumn<QStringList>("unparsed");
        QTest::addColumn<int>("refused");
        const auto row = [](const char* name, const char* eol, const Lines& lines, bool mlsd = false) {
            QByteArray reply;
            QString listing;
            QStringList unparsed;
            int refused = 0;
            for (const auto& [line, shown] : lines) {
                reply += line + eol;
                if (shown == QByteArrayView("?"))
                    unparsed << QString::fromUtf8(line);
                else if (shown == QByteArrayView("!"))
                    ++refused;
                else if (*shown)
                    listing += QString::fromUtf8(shown) + QStringLiteral("\r\n");
            }
            QTest::newRow(name) << reply << mlsd << listing << unparsed << refused;
        };
        const auto mlsdRow = [&](const char* name, const Lines& lines) { row(name, "\r\n", lines, true); };

        row("empty reply", "", {});
        // Long enough that its line ends are settled on its first 64 KB and
        // the rest is read where it arrives.
        for (const char* eol : {"\n", "\r\n"}) {
            QByteArray reply;
            QString listing;
            for (int i = 0; i < 3000; ++i) {
                reply += "-rw-r--r--   1 web      staff         312 Jan  3  2024 page " + QByteArray::number(i)
                         + ".html" + eol;
                listing += QStringLiteral("page %1.html\r\n").arg(i);
            }
            QTest::newRow(eol[0] == '\n' ? "3000 lines with LF" : "3000 lines with CR LF")
                << reply << false << listing << QStringList() << 0;
        }
        row("unix with and without group, time and year", "\r\n", {
            {"total 12", ""},
            {"drwxr-xr-x   2 web      staff        4096 Mar 14 09:05 pub", "pub/"},
            {"-rw-r--r--   1 web      staff         312 Jan  3  2024 index.html", "index.html"},
            {"-rw-------   1 web           0 Feb 28 23:59 README", "README"}});
        row("dot entries and total give no entry; acl marker", "\n", {
            {"total 0", ""},
            {"drwxr-xr-x   3 u g 4096 Mar 14 09:05 .", ""},
            {"drwxr-xr-x   9 u g 4096 Mar 14 09:05 ..", ""},
            {"-rw-r--r--+  1 u g    1 Mar 14 09:05 .profile", ".profile"}});
        row("names with spaces, leading and inner", "\n", {
            {"-rw-r--r--   1 u g   10 Mar 14 09:05 my page.html", "my page.html"},
            {"-rw-r--r--   1 u g   10 Mar 14 09:05   two leading.txt", "  two leading.txt"},
            {"drwxr-xr-x   2 u g 4096 Nov 30  2025 old  stuff", "old  stuff/"}});
        row("owner and group that look like numbers or months, or hold a blank", "\n", {
            {"-rw-r--r--   1 1000 1000 77 Mar 14 09:05 a.txt", "a.txt"},
            {"-rw-r--r--   1 may  jun  77 Mar 14 09:05 b.txt", "b.txt"},
            {"-rw-r--r--   1 John Smith  Domain Users   4242 Mar 14 09:05 budget 2026.xls", "budget 2026.xls"}});
        row("symlinks to a listed folder and to a file", "\n", {
            {"drwxr-xr-x   2 u g 4096 Mar 14 09:05 pub", "pub/"},
            {"lrwxrwxrwx   1 u g    3 Mar 14 09:05 latest -> pub", "latest/"},
            {"lrwxrwxrwx   1 u g    9 Mar 14 09:05 home page -> index.htm", "home page"},
            {"-rw-r--r--   1 u g   10 Mar 14 09:05 index.htm", "index.htm"}});
        row("utf-8 names, and a latin-1 one", "\n", {
            {"-rw-r--r--   1 u g 10 Mar 14 09:05 café menü.html", "café menü.html"},
            {"-rw-r--r--   1 u g 10 Mar 14 09:05 caf\xe9", "café"},
            {"drwxr-xr-x   2 u g 4096 Mar 14 09:05 日本", "日本/"}});
        row("day-first dates", "\n", {
            {"-rw-r--r--   1 web  web   2048 01 oct 2004 report.pdf", "report.pdf"},
            {"drwxr-xr-x   2 web  web   4096 17 Mar 10:15 photos", "photos/"}});
        row("numeric and iso dates", "\n", {
            {"-rw-r--r-- 1 u g 10 2025-11-30 08:00 iso file.txt", "iso file.txt"},
            {"drwxr-xr-x 2 u g 4096 2025-11-30 08:00 isodir", "isodir/"},
            {"-rw-r--r-- 1 u g 99 2002-10-08 no time.txt", "no time.txt"},
            {"-rw-r--r-- 1 u g 99 10/08/2002 13:45 slashes.txt", "slashes.txt"}});
        row("missing dates", "\n", {
            {"-rw-r--r--   1 web  web   1234 no date.txt", "no date.txt"},
            {"drwxr-xr-x   1 web  web   0 stuff", "stuff/"}});
        row("netware", "\r\n", {
            {"d [RWCEAFMS] webmaster                512 Mar 14 09:05 public", "public/"},
            {"- [RWCEAFMS] webmaster               1024 Jan 03  2025 index.htm", "index.htm"}});
        row("connect enterprise", "\r\n", {
            {"-C--E-----FTP B WEBBOX1      18128       41 Mar 14 09:05 DAILY.RPT", "DAILY.RPT"}});
        row("ms-dos 12- and 24-hour, 2- and 4-digit years", "\r\n", {
            {"03-14-26  09:05AM       <DIR>          pub", "pub/"},
            {"03-14-26  11:30PM                 1234 index.html", "index.html"},
            {"12-01-99  12:00PM                    7 old page.htm", "old page.htm"},
            {"03-14-2026  21:05       <DIR>          My Documents", "My Documents/"},
            {"03-14-2026  21:05                 1234 a b.txt", "a b.txt"}});
        row("iis iso dates, thousands separators, folder name beginning with blanks", "\r\n", {
            {"2024-10-01  14:30       <DIR>          assets", "assets/"},
            {"10-01-24  02:30PM            1,234,567 archive.zip", "archive.zip"},
            {"10-01-24  02:30PM       <DIR>            two blanks", "  two blanks/"}});
        row("eplf", "\r\n", {
            {"+i8388621.29609,m824255902,/,\tdev", "dev/"},
            {"+i8388621.44468,m839956783,r,s10376,\tRFCEPLF", "RFCEPLF"}});
        row("vms with a wrapped entry and version suffixes", "\r\n", {
            {"Directory DISK$WEB:[SITE]", ""},
            {"", ""},
            {"INDEX.HTML;3          4/6      14-MAR-2026 09:05:00  [WEB,WEBMASTER]  (RWED,RWED,RE,)", "INDEX.HTML"},
            {"IMAGES.DIR;1          1/3      02-JAN-2025 11:00:00  [WEB,WEBMASTER]  (RWE,RWE,RE,RE)", "IMAGES/"},
            {"A_VERY_LONG_FILE_NAME_FOR_VMS.HTML;12", ""},
            {"                     12/15     01-FEB-2026 08:30:00  [WEB,WEBMASTER]  (RWED,RWED,RE,)",
             "A_VERY_LONG_FILE_NAME_FOR_VMS.HTML"},
            {"", ""},
            {"Total of 3 files, 17/24 blocks.", ""}});
        row("os/2", "\r\n", {
            {"     0           DIR   03-14-26   09:05  Web Pages", "Web Pages/"},
            {"  8421      A          03-14-26   09:05  index.htm", "index.htm"}});
        row("os/400", "\r\n", {
            {"WEBUSR         8192 03/14/26 09:05:00 *DIR       www/", "www/"},
            {"WEBUSR         1310 03/14/26 09:05:00 *STMF      index.html", "index.html"},
            {"WEBUSR        65536 03/14/26 09:05:00 *FILE      WEBLIB.FILE", "WEBLIB.FILE/"},
            {"QSYS                                  *MEM       WEBLIB.FILE/PAGE1.MBR", "PAGE1.MBR"}});
        row("mvs data sets", "\r\n", {
            {"Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname", ""},
            {"WEB001 3390   2026/03/14  1   15  FB      80  3120  PS  SITE.INDEX.HTML", "SITE.INDEX.HTML"},
            {"WEB001 3390   2026/03/10  2   30  FB      80  3120  PO  SITE.PAGES", "SITE.PAGES/"},
            {"Migrated                                                SITE.OLD.DATA", "SITE.OLD.DATA"}});
        row("mvs pds members", "\r\n", {
            {"Name     VV.MM   Created       Changed      Size  Init   Mod   Id", ""},
            {"INDEX     01.03 2026/01/05 2026/03/14 09:05    42    40     0 WEBUSR", "INDEX"},
            {"ABOUT     01.00 2026/02/01 2026/02/01 12:00    10    10     0 WEBUSR", "ABOUT"}});
        row("z/vm", "\r\n", {
            {"INDEX    HTML     V         80         12          1 2026-03-14 09:05:00 WEB191", "INDEX.HTML"},
            {"PAGES    DIR      -          -          -          - 2026-03-14 09:05:00 -", "PAGES/"}});
        row("hp nonstop", "\r\n", {
            {"File         Code             EOF  Last Modification    Owner  RWEP", ""},
            {"INDEX         101            2048  14-Mar-26 09:05:00  200,10 \"oooo\"", "INDEX"}});
        row("os-9", "\r\n", {
            {"Owner    Last modified  Attributes Sector Bytecount Name", ""},
            {"-------  -------------  ---------- ------ --------- ----", ""},
            {"   0.0      26/03/14 0905  d-ewrewr     2a       240 WEB", "WEB/"},
            {"  12.3      26/03/14 0905  ----r-wr     3c       4e2 index.htm", "index.htm"}});
        row("vxworks and nortel", "\r\n", {
            {"     512   Mar 14 2026  09:05:00   logs       <DIR>", "logs/"},
            {"    2048   Mar 14 2026  09:05:00   config.cfg", "config.cfg"}});
        row("bare names are files", "\r\n", {{"index.html", "index.html"}, {"pub", "pub"}, {"README", "README"}});
        row("unreadable lines are kept whole", "\n", {
            {"this is not a listing", "?"},
            {"-rw-r--r--   1 u g 10 Mar 14 09:05 ok.txt", "ok.txt"},
            {"226 Transfer complete", "?"}});

        mlsdRow("mlsd files, folders, cdir and pdir", {
            {"type=cdir;modify=20260314090500; .", ""},
            {"type=pdir;modify=20260314090500; ..", ""},
            {"type=dir;modify=20260314090500;perm=flcdmpe; pub", "pub/"},
            {"type=file;size=312;modify=20260314090500;perm=adfrw; index.html", "index.html"}});
        mlsdRow("mlsd semicolons, equals and spaces in names", {
            {"type=file;size=1; a;b=c.txt", "a;b=c.txt"},
            {"type=dir; x=y; z", "x=y; z/"},
            {"type=file;size=2;   spaced name", "  spaced name"}});
        mlsdRow("mlsd tab before the name", {{"type=file;size=5;\ttabbed.txt", "tabbed.txt"}});
        mlsdRow("mlsd fact names in any case", {{"Type=Dir;Size=0; Upper", "Upper/"}, {"TYPE=FILE;SIZE=3; lower", "lower"}});
        mlsdRow("mlsd symlinks by type", {
            {"type=dir;unique=1; linked folder", "linked folder/"},
            {"type=OS.unix=slink:/srv/pub;size=8; elsewhere", "elsewhere"},
            {"type=OS.unix=slink:pub;size=3; near", "near/"},
            {"type=dir; pub", "pub/"}});
        mlsdRow("mlsd lines without facts, names that are paths", {
            {" no facts.txt", "!"}, {"just a name", "!"}, {"type=cdir;no.blank", "!"},
            {"type=file; kept.txt", "kept.txt"}, {"type=file; ../x", "!"}, {"type=file; a/b", "!"},
            {"type=file; trail/", "!"}, {"type=file; .", ""}, {"type=dir; ..", ""}});
        mlsdRow("mlsd CR, LF, CR LF and NUL inside names make no entry", {   // a CR comes as CR NUL
            {QByteArrayLiteral("type=file;size=1; crlf\r\0\ntype=file;size=9; phantom.txt"), "!"},
            {"type=file;size=1; lone\nlf.txt", "!"}, {"type=file;size=1; lone\rcr.txt", "!"},
            {QByteArrayLiteral("type=file; nul\0name.txt"), "!"}, {"type=file;size=1; ok.txt", "ok.txt"},
            {"type=file; na\xefve", "na\u00efve"}});
    }

    void families()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, mlsd);
        QFETCH(QString, listing);
        QFETCH(QStringList, unparsed);
        QFETCH(int, refused);
        // Whole, and as it arrives in pieces cut anywhere (inside a CR LF, a
        // UTF-8 sequence, a VMS entry's wrapped line).
        for (const qsizetype step : {qMax<qsizetype>(1, reply.size()), qsizetype(1), qsizetype(2), qsizetype(3)}) {
            ListingReader reader(mlsd, kToday);
            for (qsizetype at = 0; at < reply.size(); at += step)
                reader.feed(QByteArrayView(reply).sliced(at, qMin(step, reply.size() - at)));
            Listing parsed = reader.finish();
            resolveLinks(parsed);
            QCOMPARE(renderListing(parsed), listing);
            QCOMPARE(parsed.unparsed, unparsed);
            QCOMPARE(parsed.refused.size(), refused);
        }
    }

    void entryFacts_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<bool>("mlsd");
        const auto row = [](const char* name, QDate today, const char* line, const char* entry, qint64 size,
                            QDate day, QTime time = QTime(0, 0)) {
            QTest::newRow(name) << today << line << entry << size << QDateTime(day, time, Qt::UTC) << false;
        };
        // MLSD times: UTC, fraction ignored; no year 0, hour 24 or 29 February 1900.
        for (const auto& [modify, when] : std::initializer_list<std::pair<const char*, QDateTime>>{
                 {"20240229235959.123", {{2024, 2, 29}, {23, 59, 59}, Qt::UTC}}, {"19000229000000", {}},
                 {"19691231235958", {{1969, 12, 31}, {23, 59, 58}, Qt::UTC}}, {"00000101000000", {}}, {"20240101240000", {}}})
            QTest::newRow(modify) << kToday << QString("type=file;size=7;modify=%1; m").arg(modify) << "m"
                                  << qint64(7) << when << true;
        row("unix comma", kToday, "-rw-r--r-- 1 u g 8 Oct 08, 2002 n", "n", 8, {2002, 10, 8});
        row("unix kilobytes", kToday, "-rw-r--r-- 1 u g 33.5k Jan  3  2024 photo.jpg", "photo.jpg", 34304,
            {2024, 1, 3});
        row("unix size glued to the group", kToday, "-rw-r--r-- 1 u staff12345678 Jan  3  2024 big.iso",
            "big.iso", 12345678, {2024, 1, 3});
        row("dos 12:15AM two-digit year", kToday, "03-14-99  12:15AM   5 a", "a", 5, {1999, 3, 14}, {0, 15});
        row("dos thousands", kToday, "10-01-24  02:30PM  1,234,567 z", "z", 1234567, {2024, 10, 1}, {14, 30});
        row("dos size past 64 bits stays at the largest", kToday,
            "10-01-24  02:30PM  99999999999999999999999 z", "z", std::numeric_limits<qint64>::max(),
            {2024, 10, 1}, {14, 30});
        row("vms blocks", kToday, "A.TXT;1  3/6  14-MAR-2026 09:05:07  [W]  (RWED)", "A.TXT", 1536,
            {2026, 3, 14}, {9, 5, 7});
        row("os-9 hexadecimal", kToday, "0.0  26/03/14 0905  ----r-wr  3c  4e2 i", "i", 1250, {2026, 3, 14},
            {9, 5});
        row("nonstop", kToday, "INDEX  101  2048  14-Mar-26 09:05:00  200,10 \"oooo\"", "INDEX", 2048,
            {2026, 3, 14}, {9, 5});
        row("yearless, earlier this year", kToday, "-rw-r--r-- 1 u g 1 Jan  3 10:20 f", "f", 1, {2026, 1, 3},
            {10, 20});
        row("yearless, later month is last year", kToday, "-rw-r--r-- 1 u g 1 Dec 31 23:59 f", "f", 1,
            {2025, 12, 31}, {23, 59});
        row("yearless tomorrow stays this year (clock skew)", kToday, "-rw-r--r-- 1 u g 1 Mar 16 00:30 f", "f",
            1, {2026, 3, 16}, {0, 30});
        row("29 February in a leap year", {2024, 3, 1}, "-rw-r--r-- 1 u g 1 Feb 29 12:00 f", "f", 1,
            {2024, 2, 29}, {12, 0});
        row("29 February seen from a common year", {2025, 3, 1}, "-rw-r--r-- 1 u g 1 Feb 29 12:00 f", "f", 1,
            {2024, 2, 29}, {12, 0});
    }

    void entryFacts()
    {
        QFETCH(QDate, today);
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QDateTime, modified);
        QFETCH(bool, mlsd);
        const Listing parsed = parseListing(line.toUtf8(), mlsd, today);
        QCOMPARE(parsed.entries.size(), 1);
        QCOMPARE(parsed.name(parsed.entries[0]).toString(), name);
        QCOMPARE(parsed.entries[0].size, size);
        QCOMPARE(parsed.entries[0].modified(), modified);
    }

    // Links whose target is not in the listing are left for the transport to
    // probe; the others are settled from the listing.
    void linkTargets()
    {
        Listing parsed = parseListing("lrwxrwxrwx 1 u g 4 Mar 14 09:05 up -> ../x\n"
                                      "lrwxrwxrwx 1 u g 4 Mar 14 09:05 abs -> /srv/www\n"
                                      "lrwxrwxrwx 1 u g 4 Mar 14 09:05 slash -> www/\n"
                                      "lrwxrwxrwx 1 u g 4 Mar 14 09:05 here -> ./sub\n"
                                      "lrwxrwxrwx 1 u g 4 Mar 14 09:05 broken -> nowhere\n"
                                      "drwxr-xr-x 2 u g 4 Mar 14 09:05 sub\n",
                                      false, kToday);
        const QList<RemoteEntry>& entries = parsed.entries;
        QCOMPARE(parsed.name(entries[0]).toString(), QStringLiteral("up"));
        QCOMPARE(parsed.linkTarget(entries[0]).toString(), QStringLiteral("../x"));
        const QList<int> unresolved = resolveLinks(parsed);
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
        QCOMPARE(parsed.name(parsed.entries[0]).toString(), name);
        QCOMPARE(parsed.rawName(parsed.entries[0]), rawName);
    }
};

QTEST_APPLESS_MAIN(TestListingParser)
#include "tst_listingparser.moc"
