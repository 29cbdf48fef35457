// The editor's FTP window: one control, created when the window shows,
// released when it closes, growing with the window.
#include "TestMain.h"
#include "ftp.h"
#include "shell/frmFtp.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
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

    void showsOneControlAndReleasesIt()
    {
        QPointer<orvane::ftp::ftp> seen[2];
        QRect designed, grown;
        int treeWidthDesigned = 0, treeWidthGrown = 0;
        bool modal = false;
        QString title, controlName;
        frmFtp* windows[2] = {nullptr, nullptr};
        bool hadControl[2] = {false, false};
        QSize reopened;
        QList<int> panesSet, panesReopened;
        QStringList clipped;

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
                    for (QPushButton* b : form->ftp1()->findChildren<QPushButton*>()) {
                        const QRect at(b->mapTo(form->ftp1(), QPoint()), b->size());
                        if (b->width() < b->sizeHint().width() || !form->ftp1()->rect().contains(at))
                            clipped << b->text();
                    }
                    treeWidthDesigned = form->ftp1()->treeServer->width();
                    form->resize(1000, 600);
                    grown = form->ftp1()->geometry();
                    treeWidthGrown = form->ftp1()->treeServer->width();
                    auto* panes = form->ftp1()->findChild<QSplitter*>("panes");
                    panes->setSizes({300, 600});
                    panesSet = panes->sizes();
                }
                if (pass == 1 && form->ftp1()) {
                    reopened = form->size();
                    panesReopened = form->ftp1()->findChild<QSplitter*>("panes")->sizes();
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
        // The designed size at first, grown as far as no button is cut off.
        QCOMPARE(designed.topLeft(), QPoint(0, 8));
        QVERIFY(designed.width() >= 673 && designed.width() < 800);
        QCOMPARE(clipped, QStringList{});
        QCOMPARE(grown, QRect(0, 8, 1000, 592));
        QVERIFY(treeWidthGrown > treeWidthDesigned);
        // Opened again at the size and with the panes it was left with.
        QCOMPARE(reopened, QSize(1000, 600));
        QCOMPARE(panesReopened, panesSet);
        QCOMPARE(controlName, QString("ftp1"));
        // The window is made once and shown again; the control is new each time.
        QCOMPARE(windows[0], windows[1]);
    }
};

ORVANE_TEST_MAIN(tst_FrmFtp)
#include "tst_frmftp.moc"
