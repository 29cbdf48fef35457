// The plain rules under the control's panes and transfers: which volume a
// local folder is on, which remote names may become local files, and what an
// upload of a folder sends.
#include "LocalVolumes.h"
#include "NameSafety.h"
#include "TransferPlan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane::ftp;
using Kind = UploadStep::Kind;

class tst_TransferLogic : public QObject {
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

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");   // empty: safe
        const QString slash = "it contains \"/\"";
        QTest::newRow("plain") << "index.htm" << "";
        QTest::newRow("leading dot") << ".htaccess" << "";
        QTest::newRow("three dots") << "..." << "";
        QTest::newRow("parent") << ".." << "it names a folder, not a file";
        QTest::newRow("climbs out") << "../x" << slash;
        QTest::newRow("absolute") << "/etc/passwd" << slash;
        QTest::newRow("backslash") << "..\\x" << "it contains \"\\\"";
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << "it contains a control character";
        QTest::newRow("line feed") << "a\nb" << "it contains a control character";
        QTest::newRow("empty") << "" << "the name is empty";
        QTest::newRow("255 bytes") << QString(255, 'x') << "";
        QTest::newRow("256 bytes") << QString(256, 'x')
                                   << "it is longer than the local file system allows (255 bytes)";
        QTest::newRow("128 two-byte letters") << QString(128, QChar(0xe9))
                                              << "it is longer than the local file system allows (255 bytes)";
    }

    void unsafeNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QCOMPARE(unsafeLocalNameReason(name, 255), reason);
    }

    void uploadOfAFolderTree()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath("site");
        for (const char* rel : {"site/b.htm", "site/.htaccess", "site/css/a.css", "site/css/img/x.png"}) {
            QDir().mkpath(QFileInfo(dir.filePath(rel)).absolutePath());
            QFile f(dir.filePath(rel));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QDir().mkpath(dir.filePath("site/empty"));
        QVERIFY(QFile::link(site, dir.filePath("site/loop")));

        const QList<UploadStep> want{
            {Kind::MakeFolder, "", "pub/site"},
            {Kind::Send, site + "/.htaccess", "pub/site/.htaccess"},
            {Kind::Send, site + "/b.htm", "pub/site/b.htm"},
            {Kind::MakeFolder, "", "pub/site/css"},
            {Kind::Send, site + "/css/a.css", "pub/site/css/a.css"},
            {Kind::MakeFolder, "", "pub/site/css/img"},
            {Kind::Send, site + "/css/img/x.png", "pub/site/css/img/x.png"},
            {Kind::MakeFolder, "", "pub/site/empty"},
            {Kind::MakeFolder, "", "pub/site/loop"},
        };
        QCOMPARE(uploadSteps(site + "/", "pub/"), want);
        QCOMPARE(uploadSteps(site + "/b.htm", ""),
                 (QList<UploadStep>{{Kind::Send, site + "/b.htm", "b.htm"}}));
    }
};

QTEST_APPLESS_MAIN(tst_TransferLogic)
#include "tst_transferlogic.moc"
