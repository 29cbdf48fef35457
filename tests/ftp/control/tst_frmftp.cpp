// The editor's FTP window: one control, created when the window shows,
// released when it closes, growing with the window.
#include "ftp.h"
#include "shell/frmFtp.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using orvane::frmFtp;

class tst_FrmFtp : public QObject {
    Q_OBJECT
private slots:
    void showsOneControlAndReleasesIt();
};

void tst_FrmFtp::showsOneControlAndReleasesIt()
{
    QPointer<orvane::ftp::ftp> seen[2];
    QRect designed, grown;
    int treeWidthDesigned = 0, treeWidthGrown = 0;
    bool modal = false;
    QString title, controlName;
    frmFtp* windows[2] = {nullptr, nullptr};
    bool hadControl[2] = {false, false};

    for (int pass = 0; pass < 2; ++pass) {
        QTimer::singleShot(0, [&, pass] {
            auto* form = qobject_cast<frmFtp*>(QApplication::activeModalWidget());
            if (!form)
                return;   // display() would block: the checks below fail instead
            seen[pass] = form->ftp1();
            hadControl[pass] = form->ftp1() != nullptr;
            windows[pass] = form;
            if (form->ftp1())
                controlName = form->ftp1()->objectName();
            if (pass == 0 && form->ftp1()) {
                modal = form->isModal();
                title = form->windowTitle();
                designed = form->ftp1()->geometry();
                treeWidthDesigned = form->ftp1()->treeServer->width();
                form->resize(1000, 600);
                grown = form->ftp1()->geometry();
                treeWidthGrown = form->ftp1()->treeServer->width();
            }
            form->reject();
        });
        frmFtp::display(nullptr);
        QVERIFY(hadControl[pass]);
        QVERIFY(!frmFtp::instance()->ftp1());
        QVERIFY(seen[pass].isNull());   // released when the window closed
    }
    QVERIFY(modal);
    QCOMPARE(title, QString("Orvane FTP"));
    QCOMPARE(designed, QRect(0, 8, 673, 241));
    QCOMPARE(grown, QRect(0, 8, 1000, 592));
    QVERIFY(treeWidthGrown > treeWidthDesigned);
    QCOMPARE(controlName, QString("ftp1"));
    // The window is made once and shown again; the control is new each time.
    QCOMPARE(windows[0], windows[1]);
}

QTEST_MAIN(tst_FrmFtp)
#include "tst_frmftp.moc"
