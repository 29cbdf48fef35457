// The local side of a download: only a completed one changes the target,
// which keeps its mode and link; no temporary file stays behind.
#include "DownloadFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestDownloadFile : public QObject {
    Q_OBJECT
private slots:
    void replace_data()
    {
        QTest::addColumn<int>("oldMode");     // 0: no old file
        QTest::addColumn<int>("links");      // links from the target to the old file
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("modeAfter");
        QTest::newRow("new file") << 0 << 0 << true << QByteArray("new") << 0644;
        QTest::newRow("new file, not completed") << 0 << 0 << false << QByteArray() << 0;
        QTest::newRow("old file keeps its mode") << 0640 << 0 << true << QByteArray("new") << 0640;
        QTest::newRow("old file, not completed") << 0640 << 0 << false << QByteArray("old") << 0640;
        QTest::newRow("link to the old file") << 0600 << 1 << true << QByteArray("new") << 0600;
        QTest::newRow("link to a link to the old file") << 0600 << 2 << true << QByteArray("new") << 0600;
    }
    void replace()
    {
        QFETCH(int, oldMode); QFETCH(int, links); QFETCH(bool, complete);
        QFETCH(QByteArray, after); QFETCH(int, modeAfter);
        ::umask(022);
        QTemporaryDir dir;
        const QString file = dir.filePath("page.html");
        QString target = file;
        for (int i = 0; i < links; ++i) {
            const QString link = dir.filePath(QStringLiteral("link%1").arg(i));
            QVERIFY(QFile::link(target, link));
            target = link;
        }
        QFile old(file);
        if (oldMode)
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush()
                    && ::chmod(QFile::encodeName(file), mode_t(oldMode)) == 0);
        old.close();
        {
            orvane::ftp::DownloadFile download(target);
            QVERIFY(download.open());
            QVERIFY(!complete || (download.write("n", 1) && download.write("ew", 2) && download.commit()));
        }
        QCOMPARE(old.open(QIODevice::ReadOnly) ? old.readAll() : QByteArray(), after);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(file), &st) == 0 ? int(st.st_mode & 07777) : 0, modeAfter);
        for (int i = 0; i < links; ++i)
            QVERIFY(QFileInfo(dir.filePath(QStringLiteral("link%1").arg(i))).isSymLink());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 (after.isEmpty() ? 0 : 1) + links);
    }
};

QTEST_GUILESS_MAIN(TestDownloadFile)
#include "tst_downloadfile.moc"
