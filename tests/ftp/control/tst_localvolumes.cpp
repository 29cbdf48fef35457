// The local pane's volumes ("drives") and folders.
#include "LocalVolumes.h"

#include <QtTest>

using namespace orvane::ftp;

class tst_LocalVolumes : public QObject {
    Q_OBJECT
private slots:
    void driveType_data()
    {
        QTest::addColumn<QByteArray>("fsType");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<int>("type");
        QTest::newRow("ext4 disk") << QByteArray("ext4") << false << int(Fixed);
        QTest::newRow("USB stick") << QByteArray("vfat") << true << int(Removable);
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << false << int(Network);
        QTest::newRow("DVD") << QByteArray("udf") << true << int(Optical);
        QTest::newRow("tmpfs") << QByteArray("tmpfs") << false << int(RamDisk);
    }

    void driveType()
    {
        QFETCH(QByteArray, fsType);
        QFETCH(bool, removable);
        QFETCH(int, type);
        QCOMPARE(driveTypeOf(fsType, removable), type);
    }

    void driveOfAKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("drive");
        QTest::newRow("system drive") << "/" << "/";
        QTest::newRow("folder on the system drive") << "/home/me/" << "/";
        QTest::newRow("mounted volume") << "/media/stick/" << "/media/stick/";
        QTest::newRow("folder on a mounted volume") << "/media/stick/site/" << "/media/stick/";
        QTest::newRow("same prefix, other folder") << "/media/stickers/" << "/";
        QTest::newRow("placeholder of a volume") << "/media/stick/***" << "/media/stick/";
        QTest::newRow("not a path") << "root" << "";
    }

    void driveOfAKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, drive);
        QCOMPARE(driveKeyOf(key, {"/", "/media/stick/"}), drive);
    }

    void systemVolumeComesFirst()
    {
        QList<LocalDrive> drives{{"/mnt/b/", "/mnt/b"}, {"/boot/", "/boot"}, {"/", "/"}};
        orderDrives(drives);
        QCOMPARE(drives.at(0).key, QString("/"));
        QCOMPARE(drives.at(1).key, QString("/boot/"));

        // On this machine too; and no kernel file systems are listed.
        const LocalFileSystem fs;
        QVERIFY(!fs.Drives().isEmpty());
        QCOMPARE(fs.Drives().first().key, QString("/"));
        QVERIFY(fs.Drives().first().ready);
        for (const LocalDrive& d : fs.Drives()) {
            QVERIFY2(!d.key.startsWith("/proc") && !d.key.startsWith("/sys/"), qPrintable(d.key));
            QVERIFY2(d.type >= Removable && d.type <= RamDisk, qPrintable(d.key));
        }
        QVERIFY(fs.isDriveReady("/usr/"));
    }
};

QTEST_APPLESS_MAIN(tst_LocalVolumes)
#include "tst_localvolumes.moc"
