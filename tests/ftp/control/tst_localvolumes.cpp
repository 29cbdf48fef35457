// The local pane's volumes ("drives") and folders.
#include "LocalVolumes.h"

#include <QtTest>

using namespace orvane::ftp;

class tst_LocalVolumes : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_APPLESS_MAIN(tst_LocalVolumes)
#include "tst_localvolumes.moc"
