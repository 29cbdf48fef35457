// Which files a library list shows, snippet text, the image tag, and the
// program's command line.
#include "TestMain.h"
#include "StartOptions.h"
#include "LibraryFiles.h"

#include <QDir>
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

void tst_LibraryFiles::listsUserFilesFirst_data() {
    // Files as "u:NAME" (the user's folder) or "s:NAME" (shipped); "s:NAME/"
    // is a sub-folder. A folder with no entry does not exist.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("user's first, a name in both shows the user's")
        << QStringList{"u:b.js", "u:a.js", "s:a.js", "s:c.js"}
        << QStringList{"u:a.js", "u:b.js", "s:c.js"};
    QTest::newRow("by name in any letter case") << QStringList{"s:b.js", "s:A.js"}
                                                << QStringList{"s:A.js", "s:b.js"};
    QTest::newRow("missing folders") << QStringList{} << QStringList{};
    QTest::newRow("sub-folders left out, spaces kept")
        << QStringList{"s:old/", "s:my check.js"} << QStringList{"s:my check.js"};
}

void tst_LibraryFiles::listsUserFilesFirst() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    for (const QString& f : files) {
        const QString path = root.filePath(f.left(1) + '/' + f.mid(2));
        QDir().mkpath(f.endsWith('/') ? path : QFileInfo(path).path());
        QFile file(path);
        QVERIFY(f.endsWith('/') || file.open(QIODevice::WriteOnly));
    }
    QStringList got;
    for (const LibraryFile& f : listLibrary({root.filePath("u"), root.filePath("s")}))
        got << QDir(root.path()).relativeFilePath(f.path).replace('/', ':');
    QCOMPARE(got, expected);
}

void tst_LibraryFiles::snippetText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8, byte order mark dropped, CR LF kept")
        << QByteArray("\xef\xbb\xbf" "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d\r\n")
        << QString::fromUtf16(u"café “q”\r\n");
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9 \x93q\x94 \x80")
                                  << QString::fromUtf16(u"café “q” €");
    QTest::newRow("UTF-8 cut off at the end") << QByteArray("ok \xc3") << QString::fromUtf16(u"ok Ã");
}

void tst_LibraryFiles::snippetText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(orvane::snippetText(bytes), expected);
}

void tst_LibraryFiles::imageTag_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quote") << "/o/it's.png" << "<img src='/o/it%27s.png'>";
    QTest::newRow("percent, ampersand") << "/o/1%27&amp.png" << "<img src='/o/1%2527&amp;amp.png'>";
}

void tst_LibraryFiles::imageTag() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(orvane::imageTag(path), expected);
}

void tst_LibraryFiles::startOptions_data() {
    // Expected: what was read, as "help", "version", "page=", "ignored=", "shot=", "error".
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("-h -v") << QStringList{"-h", "-v"} << "help version";
    QTest::newRow("several pages") << QStringList{"a.htm", "b.htm", "c d.asp"}
                                   << "page=a.htm ignored=b.htm|c d.asp";
    QTest::newRow("screenshot") << QStringList{"--screenshot", "s.png", "a.htm"}
                                << "page=a.htm shot=s.png";
    QTest::newRow("unknown option") << QStringList{"--bogus", "a.htm"} << "error";
    QTest::newRow("pages after --") << QStringList{"--", "-x.htm", "--help"}
                                    << "page=-x.htm ignored=--help";
}

void tst_LibraryFiles::startOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const StartOptions o = parseStartOptions(QStringList{"orvane"} + arguments);
    QStringList got;
    got << (o.help ? "help" : "") << (o.version ? "version" : "")
        << (o.page.isEmpty() ? "" : "page=" + o.page)
        << (o.ignored.isEmpty() ? "" : "ignored=" + o.ignored.join('|'))
        << (o.screenshot.isEmpty() ? "" : "shot=" + o.screenshot) << (o.error.isEmpty() ? "" : "error");
    got.removeAll(QString());
    QCOMPARE(got.join(' '), expected);
    const QString note = onePageNote(o);  // names each page left out
    QCOMPARE(note.isEmpty(), o.ignored.isEmpty());
    for (const QString& left : o.ignored)
        QVERIFY2(note.contains(left), qPrintable(note));
}

ORVANE_TEST_MAIN(tst_LibraryFiles)
#include "tst_libraryfiles.moc"
