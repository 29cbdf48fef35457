// A real drag with the mouse, through the X server (run under xvfb-run): a
// local file dragged from the local list onto the server list arrives
// byte-identical.
#include "ScriptedPrompts.h"
#include "TestServers.h"
#include "ftp.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

class tst_MouseDrag : public QObject {
    Q_OBJECT
private slots:
    void dragFromLocalToServerUploads()
    {
        // Not a skip: this test exists to run the drag for real.
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        const TestServer server = testServer("ftp_pyftpd");
        QVERIFY2(server.available, qPrintable(server.reason));
        server.makeFolder("drag_up");
        QTemporaryDir local;
        QByteArray bytes;
        for (int i = 0; i < 50000; ++i)
            bytes += char(i * 31);
        QFile f(local.filePath("dragged.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();

        ftp::ftp c;
        ScriptedPrompts prompts;
        const auto idle = [&] { return QTest::qWaitFor([&] { return !c.isBusy(); }, 30000); };
        c.resize(1000, 500);
        c.show();
        c.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c));
        prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
        c.Command8->click();
        QVERIFY(idle());
        QTreeWidgetItem* folder =
            c.treeServer->findItems("drag_up/", Qt::MatchExactly | Qt::MatchRecursive).value(0);
        QVERIFY(folder);
        emit c.treeServer->itemClicked(folder, 0);
        QVERIFY(idle());
        c.ParseFiles(local.path() + '/');
        QTreeWidgetItem* item = c.lstClient->findItems("dragged.bin", Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::qWait(200);   // laid out and painted where the pointer will go

        const QPoint from = c.lstClient->viewport()->mapToGlobal(c.lstClient->visualItemRect(item).center());
        const QPoint to = c.lstServer->viewport()->mapToGlobal(c.lstServer->viewport()->rect().center());
        const auto at = [](const QPoint& p) {
            return QStringList{"mousemove", QString::number(p.x()), QString::number(p.y()), "sleep", "0.2"};
        };
        QStringList steps = at(from - QPoint(3, 0)) + at(from) + QStringList{"mousedown", "1", "sleep", "0.3"};
        for (int k = 1; k <= 10; ++k)
            steps += at(from + (to - from) * k / 10);
        steps += QStringList{"mouseup", "1"};
        QProcess mouse;
        mouse.start("xdotool", steps);
        QVERIFY2(mouse.waitForStarted(), "xdotool is needed (scripts/setup installs it)");
        QTRY_COMPARE_WITH_TIMEOUT(mouse.state(), QProcess::NotRunning, 20000);
        QCOMPARE(mouse.exitCode(), 0);
        // The drop may still be on its way from the X server: wait for the item.
        QTRY_COMPARE_WITH_TIMEOUT(c.lstServer->findItems("dragged.bin", Qt::MatchExactly).size(), 1, 20000);
        QVERIFY(idle());
        QFile arrived(server.pathOf("drag_up/dragged.bin"));
        QVERIFY(arrived.open(QIODevice::ReadOnly));
        QCOMPARE(arrived.readAll(), bytes);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tst_MouseDrag test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mousedrag.moc"
