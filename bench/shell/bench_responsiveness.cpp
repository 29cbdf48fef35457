// Prints how the main window's design surface behaves at rest and under the
// pointer and keyboard, each figure beside a plain QWebEngineView doing the
// same work in the same run: calls into the page and CPU while idle, the
// toolbar's update after a caret move, and a right click until the menu shows.
// Run headless: QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_responsiveness

#include "ProcessTree.h"
#include "Surface.h"
#include "mainFrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

using orvane::bench::processTreeUsage;

namespace {

const QString kPage = QStringLiteral(
    "<HTML><HEAD><TITLE>bench</TITLE></HEAD><BODY><P>Some <B>bold</B> words to click in.</P>"
    "<TABLE BORDER=1><TR><TD>first cell</TD><TD>second cell</TD></TR></TABLE></BODY></HTML>");

// The states a toolbar, font boxes and context menu show, gathered in one trip.
const QString kGatherAll = QStringLiteral(
    "JSON.stringify(['bold','italic','underline','justifyLeft','justifyCenter','justifyRight']"
    ".map(c => document.queryCommandState(c)).concat([document.queryCommandValue('fontName'),"
    " document.queryCommandValue('fontSize'), !!getSelection().anchorNode &&"
    " !!getSelection().anchorNode.parentElement.closest('td')]))");

void settle(int ms)
{
    QTest::qWait(ms);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

QPoint centreOfCell(QWebEngineView* view)
{
    QVariant answer;
    bool done = false;
    view->page()->runJavaScript(
        QStringLiteral("(() => { const b = document.querySelector('td').getBoundingClientRect();"
                       " return [b.left + b.width / 2, b.top + b.height / 2]; })()"),
        QWebEngineScript::ApplicationWorld, [&](const QVariant& v) { answer = v; done = true; });
    QTest::qWaitFor([&] { return done; }, 5000);
    const QVariantList xy = answer.toList();
    return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint(20, 20);
}

// Idle figures over `seconds`: CPU share of one core, and for Orvane its
// page calls and display changes per second.
struct Idle { double cpuPercent; double callsPerSecond; double changesPerSecond; };

Idle measureIdle(double seconds, const std::function<int()>& calls, const std::function<int()>& changes)
{
    const int calls0 = calls(), changes0 = changes();
    const double cpu0 = processTreeUsage().cpuSeconds;
    QElapsedTimer t;
    t.start();
    settle(int(seconds * 1000));
    const double elapsed = t.nsecsElapsed() / 1e9;
    return {100 * (processTreeUsage().cpuSeconds - cpu0) / elapsed, (calls() - calls0) / elapsed,
            (changes() - changes0) / elapsed};
}

// Waits for a popup menu, closes it and answers how long it took (ms).
double menuShownAfter(const QElapsedTimer& since)
{
    QMenu* menu = nullptr;
    QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }, 30000);
    const double ms = since.nsecsElapsed() / 1e6;
    if (menu)
        menu->close();
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    orvane::Surface::prepareApplication();
    QApplication app(argc, argv);
    const int runs = 9;

    // Orvane's main window.
    auto window = std::make_unique<mainFrm>();
    window->resize(1000, 700);
    window->show();
    orvane::Surface* surface = window->DHTMLEdit1();
    surface->setDocumentHTML(kPage);
    QWidget* input = surface->view()->focusProxy();
    int displayChanges = 0;
    QObject::connect(surface, &orvane::Surface::DisplayChanged, [&] { ++displayChanges; });
    const QPoint cell = centreOfCell(surface->view());
    QTest::mouseClick(input, Qt::LeftButton, {}, cell);
    settle(1000);
    const Idle orvaneIdle = measureIdle(3, [&] { return surface->pageCallCount(); }, [&] { return displayChanges; });

    // A caret move until the window's display-change handling is done.
    std::vector<double> orvaneKey;
    int keyCalls = 0;
    for (int i = 0; i < runs; ++i) {
        const Qt::Key key = i % 2 ? Qt::Key_Left : Qt::Key_Right;
        const int before = surface->pageCallCount();
        QSignalSpy handled(surface, &orvane::Surface::DisplayChanged);  // connected after the window's own
        QElapsedTimer t;
        t.start();
        QTest::keyClick(input, key);
        handled.wait(5000);
        orvaneKey.push_back(t.nsecsElapsed() / 1e6);
        settle(100);
        keyCalls += surface->pageCallCount() - before;
    }
    std::vector<double> orvaneMenu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(input, Qt::RightButton, {}, cell);
        orvaneMenu.push_back(menuShownAfter(t));
        settle(200);
    }
    window.reset();
    settle(500);

    // A plain engine: design mode on, one trip gathers every state.
    QWebEngineView plain;
    plain.resize(1000, 700);
    plain.show();
    QSignalSpy loaded(&plain, &QWebEngineView::loadFinished);
    plain.setHtml(kPage);
    loaded.wait(30000);
    plain.page()->runJavaScript(QStringLiteral("document.designMode = 'on'"));
    plain.setContextMenuPolicy(Qt::CustomContextMenu);
    QMenu* plainMenu = nullptr;
    QObject::connect(&plain, &QWidget::customContextMenuRequested, [&](const QPoint& at) {
        plain.page()->runJavaScript(kGatherAll, [&, at](const QVariant&) {
            plainMenu = new QMenu(&plain);
            plainMenu->setAttribute(Qt::WA_DeleteOnClose);
            for (const char* text : {"Cut", "Copy", "Paste", "Select All", "Insert Row"})
                plainMenu->addAction(QString::fromLatin1(text));
            plainMenu->popup(plain.mapToGlobal(at));
        });
    });
    QWidget* plainInput = plain.focusProxy();
    const QPoint plainCell = centreOfCell(&plain);
    QTest::mouseClick(plainInput, Qt::LeftButton, {}, plainCell);
    settle(1000);
    const Idle plainIdle = measureIdle(3, [] { return 0; }, [] { return 0; });
    std::vector<double> plainKey;
    for (int i = 0; i < runs; ++i) {
        bool done = false;
        QElapsedTimer t;
        t.start();
        QTest::keyClick(plainInput, i % 2 ? Qt::Key_Left : Qt::Key_Right);
        plain.page()->runJavaScript(kGatherAll, [&](const QVariant&) { done = true; });
        QTest::qWaitFor([&] { return done; }, 5000);
        plainKey.push_back(t.nsecsElapsed() / 1e6);
        settle(100);
    }
    std::vector<double> plainMenuMs;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(plainInput, Qt::RightButton, {}, plainCell);
        plainMenuMs.push_back(menuShownAfter(t));
        settle(200);
    }

    std::printf("responsiveness, medians of %d runs            Orvane    plain    ratio\n", runs);
    std::printf("  idle: CPU, %% of one core               %8.1f %8.1f\n", orvaneIdle.cpuPercent,
                plainIdle.cpuPercent);
    std::printf("  idle: calls into the page per second   %8.1f %8.1f\n", orvaneIdle.callsPerSecond, 0.0);
    std::printf("  idle: display changes per second       %8.1f\n", orvaneIdle.changesPerSecond);
    std::printf("  caret move: page calls by the window   %8.1f %8.1f\n", double(keyCalls) / runs, 1.0);
    std::printf("  caret move -> state handled (ms)       %8.1f %8.1f %8.2f\n", median(orvaneKey),
                median(plainKey), median(orvaneKey) / median(plainKey));
    std::printf("  right click -> menu shown (ms)         %8.1f %8.1f %8.2f\n", median(orvaneMenu),
                median(plainMenuMs), median(orvaneMenu) / median(plainMenuMs));
    return 0;
}
