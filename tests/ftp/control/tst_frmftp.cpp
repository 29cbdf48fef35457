// The editor's FTP window: one control, created when the window shows,
// released when it closes, growing with the window.
#include "TestMain.h"
#include "ftp.h"
#include "frmFtp.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using orvane::frmFtp;

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
        QPointer<orvane::ftp::ftp> seen[2];
        frmFtp* windows[2] = {nullptr, nullptr};
        QList<int> panesSet;
        for (int pass = 0; pass < 2; ++pass) {
            QTimer::singleShot(0, [&, pass] {
                auto* form = qobject_cast<frmFtp*>(QApplication::activeModalWidget());
                if (!form)
                    return;   // display() would block: the checks below fail instead
                auto close = qScopeGuard([form] { form->reject(); });
                windows[pass] = form;
                seen[pass] = form->ftp1();
                orvane::ftp::ftp* control = form->ftp1();
                QVERIFY(control);
                auto* panes = control->findChild<QSplitter*>("panes");
                QVERIFY(panes);
                if (pass == 0) {
                    QCOMPARE(form->windowTitle(), QString("Orvane FTP"));
                    QCOMPARE(control->objectName(), QString("ftp1"));
                    QCOMPARE(control->geometry().topLeft(), QPoint(0, 8));
                    QVERIFY(control->width() >= 673 && control->width() < 800);
                    for (QPushButton* b : control->findChildren<QPushButton*>())
                        QVERIFY2(b->width() >= b->sizeHint().width()
                                     && control->rect().contains(QRect(b->mapTo(control, QPoint()), b->size())),
                                 qPrintable(b->text()));
                    auto* tree = control->findChild<QTreeWidget*>("treeServer");
                    const int treeWidth = tree->width();
                    form->resize(1000, 600);
                    QCOMPARE(control->geometry(), QRect(0, 8, 1000, 592));
                    QVERIFY(tree->width() > treeWidth);
                    panes->setSizes({300, 600});
                    panesSet = panes->sizes();
                } else {
                    QCOMPARE(form->size(), QSize(1000, 600));
                    QCOMPARE(panes->sizes(), panesSet);
                }
            });
            frmFtp::display(nullptr);
            QVERIFY(windows[pass] && windows[pass]->isModal());
            QVERIFY(!frmFtp::instance()->ftp1());
            QVERIFY(seen[pass].isNull());   // released when the window closed
            QVERIFY(!QTest::currentTestFailed());
        }
        QVERIFY(!panesSet.isEmpty());
        QCOMPARE(windows[0], windows[1]);   // the window is made once and shown again
    }
};

ORVANE_TEST_MAIN(tst_FrmFtp)
#include "tst_frmftp.moc"
