// Prints how fast the main window colours and rewrites source text and how
// long a tab switch takes from the design surface to the coloured source.
// Run headless: QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_shell

#include "platform/sourcepane/SourcePane.h"
#include "platform/surface/Surface.h"
#include "shell/TabStrip.h"
#include "shell/mainFrm.h"

#include <QApplication>
#include <QTabBar>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// A page of about `bytes` bytes of table rows, tags and accented text.
QString generatedPage(qsizetype bytes)
{
    QString rows;
    int i = 0;
    while (rows.size() < bytes) {
        rows += QStringLiteral("<TR><TD CLASS=\"cell\" WIDTH=\"50%\">Row %1 caf\u00e9 text</TD>"
                               "<TD><A HREF=\"page%1.htm\">link %1</A></TD></TR>\r\n").arg(i++);
    }
    return QStringLiteral("<HTML><HEAD>\r\n<TITLE>bench</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                          "<TABLE BORDER=\"1\">\r\n%1</TABLE>\r\n</BODY>\r\n</HTML>\r\n").arg(rows);
}

// Best of `runs` timings of f, in milliseconds.
double bestMs(int runs, const std::function<void()>& f)
{
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

double mbPerSecond(qsizetype bytes, double ms) { return bytes / 1e6 / (ms / 1e3); }

void benchColouring(mainFrm& window)
{
    for (qsizetype size : {qsizetype(1) << 20, qsizetype(10) << 20}) {
        const QString text = generatedPage(size);
        const qsizetype utf8 = text.toUtf8().size();
        orvane::SourcePane pane;
        pane.setText(text);
        const double ms = bestMs(5, [&] { window.ColorTags(&pane); });
        std::printf("ColorTags      %6.1f MB: %8.2f ms  %8.0f MB/s\n", utf8 / 1e6, ms,
                    mbPerSecond(utf8, ms));
    }
}

void benchReplace()
{
    for (qsizetype size : {qsizetype(1) << 20, qsizetype(10) << 20}) {
        QString text = generatedPage(size);
        // One generator name in every ~2 KB, as a worst case far above a real page's one.
        for (qsizetype at = 0; at < text.size(); at += 2000)
            text.insert(at, QStringLiteral("Microsoft DHTML Editing Control"));
        const qsizetype utf8 = text.toUtf8().size();
        QString out;
        const double ms = bestMs(5, [&] {
            out = mainFrm::ReplaceString(text, QStringLiteral("Microsoft DHTML Editing Control"),
                                         QStringLiteral("Kestrova Editor v.1.5"));
        });
        std::printf("ReplaceString  %6.1f MB: %8.2f ms  %8.0f MB/s\n", utf8 / 1e6, ms,
                    mbPerSecond(utf8, ms));
    }
}

void benchTabSwitch(mainFrm& window)
{
    window.TabStrip1()->tabBar()->blockSignals(true);
    window.TabStrip1()->setSelectedIndex(1);
    window.TabStrip1()->tabBar()->blockSignals(false);
    for (qsizetype size : {qsizetype(100) << 10, qsizetype(1) << 20, qsizetype(5) << 20}) {
        const QString page = generatedPage(size);
        double total = 1e300, read = 1e300, preview = 1e300;
        for (int r = 0; r < 3; ++r) {
            window.DHTMLEdit1()->setDocumentHTML(page);
            window.rch()->hide();
            QElapsedTimer t;
            t.start();
            window.TabStrip1_Click();
            total = std::min(total, t.nsecsElapsed() / 1e6);
            read = std::min(read, bestMs(1, [&] { window.DHTMLEdit1()->DocumentHTML(); }));
            const QString html = window.rch()->Text();
            preview = std::min(preview, bestMs(1, [&] { window.DHTMLEdit2()->setDocumentHTML(html); }));
        }
        std::printf("Tab switch    %6.2f MB: %8.1f ms  (reading the design surface %.1f ms, "
                    "loading the preview %.1f ms)\n",
                    page.toUtf8().size() / 1e6, total, read, preview);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    orvane::Surface::registerSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));

    mainFrm window;
    window.show();
    QEventLoop settle;
    QObject::connect(window.DHTMLEdit1(), &orvane::Surface::DocumentComplete, &settle,
                     &QEventLoop::quit);
    QTimer::singleShot(10000, &settle, &QEventLoop::quit);
    settle.exec();

    benchReplace();
    benchColouring(window);
    benchTabSwitch(window);
    return 0;
}
