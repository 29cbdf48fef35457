// A real drag with the mouse, through the X server (run under xvfb-run): a
// local file dragged from the local list onto the server list arrives
// byte-identical.
#include "ControlSession.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

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
        QVERIFY(write(local.filePath("dragged.bin"), bytes));
        Session s;
        s.c.resize(1000, 500);
        s.c.show();
        s.c.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.c));
        QVERIFY(s.open(server, "drag_up/", local.path()));
        const QModelIndex item = s.indexOf("lstClient", "dragged.bin");
        QTest::qWait(200);   // laid out and painted where the pointer will go

        QWidget* source = s.list("lstClient")->viewport();
        QWidget* target = s.list("lstServer")->viewport();
        const QPoint from = source->mapToGlobal(s.list("lstClient")->visualRect(item).center());
        const QPoint to = target->mapToGlobal(target->rect().center());
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
        QTRY_VERIFY_WITH_TIMEOUT(s.indexOf("lstServer", "dragged.bin").isValid(), 20000);
        QVERIFY(s.waitIdle());
        QCOMPARE(contents(server.pathOf("drag_up/dragged.bin")), bytes);
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
