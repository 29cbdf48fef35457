// The local side of a download: the target changes only by a completed
// download, keeps what it was otherwise, and no temporary file stays behind.
#include "DownloadFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace orvane::ftp;

class TestDownloadFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ::umask(022); }
    void replace_data();
    void replace();
};

void TestDownloadFile::replace_data()
{
    QTest::addColumn<int>("oldMode");      // 0: no old file
    QTest::addColumn<bool>("viaLink");     // the target is a link to the old file
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("modeAfter");
    QTest::newRow("new file") << 0 << false << true << QByteArray("new") << 0644;
    QTest::newRow("new file, not completed") << 0 << false << false << QByteArray() << 0;
    QTest::newRow("old file keeps its mode") << 0640 << false << true << QByteArray("new") << 0640;
    QTest::newRow("old file, not completed") << 0640 << false << false << QByteArray("old") << 0640;
    QTest::newRow("link to the old file") << 0600 << true << true << QByteArray("new") << 0600;
}

void TestDownloadFile::replace()
{
    QFETCH(int, oldMode);
    QFETCH(bool, viaLink);
    QFETCH(bool, complete);
    QFETCH(QByteArray, after);
    QFETCH(int, modeAfter);
    QTemporaryDir dir;
    const QString file = dir.filePath("page.html"), target = viaLink ? dir.filePath("link") : file;
    if (oldMode) {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QCOMPARE(::chmod(QFile::encodeName(file), mode_t(oldMode)), 0);
    }
    if (viaLink)
        QVERIFY(QFile::link(file, target));
    {
        DownloadFile download(target);
        QVERIFY(download.open());
        if (complete)
            QVERIFY(download.write("n", 1) && download.write("ew", 2) && download.commit());
    }
    QFile result(file);
    QCOMPARE(result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray(), after);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(file), &st) == 0 ? int(st.st_mode & 07777) : 0, modeAfter);
    QCOMPARE(QFileInfo(target).isSymLink(), viaLink);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             (after.isEmpty() ? 0 : 1) + (viaLink ? 1 : 0));
}

QTEST_GUILESS_MAIN(TestDownloadFile)
#include "tst_downloadfile.moc"
