// The editor's FTP window, opened from the real main window's toolbar: one
// control, created when the window shows, released when it closes, growing
// with the window. The control's library (and libcurl) load only then.
#include "TestMain.h"
#include "WindowFixture.h"
#include "WizardWindows.h"
#include "frmFtp.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>

using orvane::frmFtp;

namespace {

// Whether a library whose file name starts with name is mapped into this process.
bool loaded(const QByteArray& name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains("/" + name);
}

}  // namespace

class tst_FrmFtp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QStringLiteral("orvane"), QStringLiteral("orvane")).remove("frmFtp");
    }

    // Opened twice: the first time at the designed size, then grown with no
    // button cut off; the second time as it was left, with a new control.
    void showsOneControlAndReleasesIt()
    {
        orvane::test::WindowFixture e;
        QVERIFY(!loaded("liborvane-ftp.so"));
        QVERIFY(!loaded("libcurl"));
        QPointer<QWidget> seen[2];
        frmFtp* windows[2] = {nullptr, nullptr};
        QList<int> panesSet;
        for (int pass = 0; pass < 2; ++pass) {
            orvane::test::whenShown<frmFtp>({}, [&, pass](frmFtp& form) {
                windows[pass] = &form;
                seen[pass] = form.ftp1();
                QWidget* control = form.ftp1();
                QVERIFY(control);
                auto* panes = control->findChild<QSplitter*>("panes");
                QVERIFY(panes);
                if (pass == 0) {
                    QCOMPARE(form.windowTitle(), QString("Orvane FTP"));
                    QCOMPARE(control->objectName(), QString("ftp1"));
                    QCOMPARE(control->geometry().topLeft(), QPoint(0, 8));
                    QVERIFY(control->width() >= 673 && control->width() < 800);
                    for (QPushButton* b : control->findChildren<QPushButton*>())
                        QVERIFY2(b->width() >= b->sizeHint().width()
                                     && control->rect().contains(QRect(b->mapTo(control, QPoint()), b->size())),
                                 qPrintable(b->text()));
                    auto* tree = control->findChild<QTreeWidget*>("treeServer");
                    const int treeWidth = tree->width();
                    form.resize(1000, 600);
                    QCOMPARE(control->geometry(), QRect(0, 8, 1000, 592));
                    QVERIFY(tree->width() > treeWidth);
                    panes->setSizes({300, 600});
                    panesSet = panes->sizes();
                } else {
                    QCOMPARE(form.size(), QSize(1000, 600));
                    QCOMPARE(panes->sizes(), panesSet);
                }
            });
            e.click("Image7");
            QVERIFY(windows[pass] && windows[pass]->isModal());
            QCOMPARE(windows[pass]->parentWidget(), e.window.get());
            QVERIFY(!frmFtp::instance()->ftp1());
            QVERIFY(seen[pass].isNull());   // released when the window closed
            QVERIFY(!QTest::currentTestFailed());
            QVERIFY(loaded("liborvane-ftp.so"));
        }
        QVERIFY(!panesSet.isEmpty());
        QCOMPARE(windows[0], windows[1]);   // the window is made once and shown again
    }
};

ORVANE_TEST_MAIN(tst_FrmFtp)
#include "tst_frmftp.moc"
