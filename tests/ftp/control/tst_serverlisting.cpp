// The remote pane's reading of listings.
#include "ServerListing.h"

#include <QtTest>

using namespace orvane::ftp;

Q_DECLARE_METATYPE(orvane::ftp::LineKind)

class tst_ServerListing : public QObject {
    Q_OBJECT
private slots:
    void classify_data();
    void classify();
    void foldersAndFilesOfAListing_data();
    void foldersAndFilesOfAListing();
};

void tst_ServerListing::classify_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<LineKind>("kind");
    QTest::addColumn<QString>("type");   // the Type column of a file

    QTest::newRow("folder") << "pub/" << LineKind::Folder << "";
    QTest::newRow("folder with a dot is a folder only") << "release1.2/" << LineKind::Folder << "";
    QTest::newRow("file with extension") << "index.html" << LineKind::File << "HTML";
    QTest::newRow("type is everything after the first dot") << "site.tar.gz" << LineKind::File
                                                            << "TAR.GZ";
    QTest::newRow("file without a dot") << "README" << LineKind::File << "File";
    QTest::newRow("Makefile") << "Makefile" << LineKind::File << "File";
    QTest::newRow("name with blanks") << "my page.htm" << LineKind::File << "HTM";
    QTest::newRow("dot file hidden") << ".profile" << LineKind::Hidden << "";
    QTest::newRow("dot folder hidden") << ".git/" << LineKind::Hidden << "";
    QTest::newRow("current folder") << "." << LineKind::Hidden << "";
    QTest::newRow("parent folder") << ".." << LineKind::Hidden << "";
    QTest::newRow("empty line") << "" << LineKind::Hidden << "";
}

void tst_ServerListing::classify()
{
    QFETCH(QString, line);
    QFETCH(LineKind, kind);
    QFETCH(QString, type);
    QCOMPARE(classifyLine(line), kind);
    if (kind == LineKind::File)
        QCOMPARE(fileTypeOf(line), type);
}

void tst_ServerListing::foldersAndFilesOfAListing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("folderKeys");
    QTest::addColumn<QStringList>("fileKeys");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("login folder") << "root" << QStringList{"pub/", "release1.2/"}
                                  << QStringList{"rootindex.html", "rootREADME"} << "";
    QTest::newRow("subfolder") << "pub/" << QStringList{"pub/pub/", "pub/release1.2/"}
                               << QStringList{"pub/index.html", "pub/README"} << "pub/";
}

void tst_ServerListing::foldersAndFilesOfAListing()
{
    QFETCH(QString, path);
    QFETCH(QStringList, folderKeys);
    QFETCH(QStringList, fileKeys);
    QFETCH(QString, prefix);

    const QStringList lines{"pub/", ".profile", "index.html", "", "release1.2/", "README"};
    const QList<RemoteFolder> folders = serverFolders(path, lines);
    const QList<ItemRow> files = serverFiles(path, lines);

    QStringList keys, texts;
    for (const RemoteFolder& f : folders) {
        QCOMPARE(f.parentKey, path);
        keys << f.key;
        texts << f.text;
    }
    QCOMPARE(keys, folderKeys);
    QCOMPARE(texts, (QStringList{"pub/", "release1.2/"}));

    keys.clear();
    texts.clear();
    QStringList types;
    for (const ItemRow& f : files) {
        keys << f.key;
        texts << f.text;
        types << f.type;
    }
    QCOMPARE(keys, fileKeys);
    QCOMPARE(texts, (QStringList{"index.html", "README"}));
    QCOMPARE(types, (QStringList{"HTML", "File"}));

    QCOMPARE(pathPrefix(path), prefix);
    QCOMPARE(placeholderKey(serverFolderKey(path, "incoming/")), prefix + "incoming/***");
}

QTEST_APPLESS_MAIN(tst_ServerListing)
#include "tst_serverlisting.moc"
