// The library windows' plain work (which files a list shows, snippet text,
// the image tag) and the program's command line.
#include "TestMain.h"
#include "app/StartOptions.h"
#include "libraries/LibraryFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;

class tst_LibraryFiles : public QObject {
    Q_OBJECT
private slots:
    void listsUserFilesFirst_data();
    void listsUserFilesFirst();
    void snippetText_data();
    void snippetText();
    void imageTag_data();
    void imageTag();
    void startOptions_data();
    void startOptions();
};

namespace {
void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}
}  // namespace

void tst_LibraryFiles::listsUserFilesFirst_data()
{
    // Entries are "FILE" in a folder; "FOLDER/" makes a sub-folder; {"-"}
    // leaves the folder missing. Expected: "user:NAME" or "shipped:NAME".
    QTest::addColumn<QStringList>("user");
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("user's files before the shipped ones")
        << QStringList{"b.js"} << QStringList{"a.js", "c.js"}
        << QStringList{"user:b.js", "shipped:a.js", "shipped:c.js"};
    QTest::newRow("a name in both shows the user's file")
        << QStringList{"a.js"} << QStringList{"a.js", "z.js"}
        << QStringList{"user:a.js", "shipped:z.js"};
    QTest::newRow("each folder by name, any letter case")
        << QStringList{} << QStringList{"b.js", "A.js", "c.js"}
        << QStringList{"shipped:A.js", "shipped:b.js", "shipped:c.js"};
    QTest::newRow("missing folders list nothing") << QStringList{"-"} << QStringList{"-"}
                                                 << QStringList{};
    QTest::newRow("missing shipped folder") << QStringList{"mine.js"} << QStringList{"-"}
                                            << QStringList{"user:mine.js"};
    QTest::newRow("sub-folders and names with spaces")
        << QStringList{} << QStringList{"old/", "my form check.js"}
        << QStringList{"shipped:my form check.js"};
}

void tst_LibraryFiles::listsUserFilesFirst()
{
    QFETCH(QStringList, user);
    QFETCH(QStringList, shipped);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    const QString userDir = root.filePath("user"), shippedDir = root.filePath("shipped");
    for (const auto& [dir, files] : {std::pair{userDir, user}, std::pair{shippedDir, shipped}}) {
        if (files == QStringList{"-"})
            continue;
        QDir().mkpath(dir);
        for (const QString& f : files) {
            if (f.endsWith('/'))
                QDir(dir).mkdir(f);
            else
                touch(QDir(dir).filePath(f));
        }
    }
    QStringList got;
    for (const LibraryFile& f : listLibrary({userDir, shippedDir})) {
        const QString where = f.path == QDir(userDir).filePath(f.name) ? "user" : "shipped";
        QCOMPARE(f.path, QDir(where == "user" ? userDir : shippedDir).filePath(f.name));
        got << where + ':' + f.name;
    }
    QCOMPARE(got, expected);
}

void tst_LibraryFiles::snippetText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d")
                           << QString::fromUtf16(u"café “q”");
    QTest::newRow("UTF-8 byte order mark dropped")
        << QByteArray("\xef\xbb\xbf<script>") << QString("<script>");
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9 \x93q\x94 \x80")
                                  << QString::fromUtf16(u"café “q” €");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("line ends kept") << QByteArray("a\r\nb\nc") << QString("a\r\nb\nc");
    QTest::newRow("truncated UTF-8 sequence")
        << QByteArray("ok \xc3") << QString::fromUtf16(u"ok Ã");
}

void tst_LibraryFiles::snippetText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(orvane::snippetText(bytes), expected);
}

void tst_LibraryFiles::imageTag_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "/usr/share/orvane/image library/rule.png"
                           << "<img src='/usr/share/orvane/image library/rule.png'>";
    QTest::newRow("quote") << "/home/jo/it's.png" << "<img src='/home/jo/it%27s.png'>";
    QTest::newRow("percent") << "/home/jo/100%27.png" << "<img src='/home/jo/100%2527.png'>";
    QTest::newRow("ampersand") << "/home/jo/a&amp.png" << "<img src='/home/jo/a&amp;amp.png'>";
}

void tst_LibraryFiles::imageTag()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(orvane::imageTag(path), expected);
}

void tst_LibraryFiles::startOptions_data()
{
    // Expected: "help", "version", "page=...", "ignored=a|b", "shot=...", "error".
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nothing") << QStringList{} << QStringList{};
    QTest::newRow("--help") << QStringList{"--help"} << QStringList{"help"};
    QTest::newRow("-v") << QStringList{"-v"} << QStringList{"version"};
    QTest::newRow("one page") << QStringList{"a.htm"} << QStringList{"page=a.htm"};
    QTest::newRow("several pages")
        << QStringList{"a.htm", "b.htm", "c d.asp"}
        << QStringList{"page=a.htm", "ignored=b.htm|c d.asp"};
    QTest::newRow("screenshot and page")
        << QStringList{"--screenshot", "s.png", "a.htm"} << QStringList{"page=a.htm", "shot=s.png"};
    QTest::newRow("screenshot=") << QStringList{"--screenshot=s.png"} << QStringList{"shot=s.png"};
    QTest::newRow("screenshot without file") << QStringList{"--screenshot"} << QStringList{"error"};
    QTest::newRow("unknown option") << QStringList{"--bogus", "a.htm"} << QStringList{"error"};
    QTest::newRow("page named like an option after --")
        << QStringList{"--", "-x.htm", "--help"} << QStringList{"page=-x.htm", "ignored=--help"};
    QTest::newRow("lone dash is a page") << QStringList{"-"} << QStringList{"page=-"};
}

void tst_LibraryFiles::startOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const StartOptions o = parseStartOptions(QStringList{"orvane"} + arguments);
    QStringList got;
    if (o.help)
        got << "help";
    if (o.version)
        got << "version";
    if (!o.page.isEmpty())
        got << "page=" + o.page;
    if (!o.ignored.isEmpty())
        got << "ignored=" + o.ignored.join('|');
    if (!o.screenshot.isEmpty())
        got << "shot=" + o.screenshot;
    if (!o.error.isEmpty())
        got << "error";
    QCOMPARE(got, expected);
    // Only a line that left pages out says so, naming each of them.
    const QString note = onePageNote(o);
    QCOMPARE(note.isEmpty(), o.ignored.isEmpty());
    for (const QString& left : o.ignored)
        QVERIFY2(note.contains(left), qPrintable(note));
}

ORVANE_TEST_MAIN(tst_LibraryFiles)
#include "tst_libraryfiles.moc"
