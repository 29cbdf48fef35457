// Prints how fast the main window colours and rewrites source text and how
// long a tab switch takes from the design surface to the coloured source,
// beside the least it can take: a plain QScintilla setText of the same text
// plus one styling pass.
// Run headless: QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_shell

#include "SourcePane.h"
#include "TagStyles.h"
#include "Surface.h"
#include "TabStrip.h"
#include "mainFrm.h"

#include <QApplication>
#include <QTabBar>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <exception>
#include <functional>

namespace {

// A page of about `bytes` bytes: headings, paragraphs with inline tags and
// accented text, lists and small tables, as a long hand-written page has.
QString generatedPage(qsizetype bytes)
{
    QString body;
    for (int i = 0; body.size() < bytes; ++i) {
        body += QStringLiteral(
            "<H2>Section %1</H2>\r\n"
            "<P>Some <B>bold</B> and <I>italic</I> caf\u00e9 text with a "
            "<A HREF=\"page%1.htm\">link</A> and an <IMG SRC=\"pic%1.gif\" WIDTH=\"20\">.</P>\r\n"
            "<UL><LI>first point</LI><LI>second point</LI></UL>\r\n"
            "<TABLE BORDER=\"1\"><TR><TD>a %1</TD><TD>b</TD></TR><TR><TD>c</TD><TD>d</TD></TR>"
            "</TABLE>\r\n").arg(i);
    }
    return QStringLiteral("<HTML><HEAD>\r\n<TITLE>bench</TITLE>\r\n</HEAD>\r\n<BODY>\r\n%1"
                          "</BODY>\r\n</HTML>\r\n").arg(body);
}

// Loads page into the design surface and waits until its renderer is idle,
// as it is when a user clicks a tab.
// Returns how long the load took.
double loadAndSettle(mainFrm& window, const QString& page)
{
    QElapsedTimer t;
    t.start();
    window.DHTMLEdit1()->setDocumentHTML(page);
    const double ms = t.nsecsElapsed() / 1e6;
    window.DHTMLEdit1()->DocumentHTML();
    QEventLoop idle;
    QTimer::singleShot(300, &idle, &QEventLoop::quit);
    idle.exec();
    return ms;
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

// A plain QScintilla taking text and one styling pass over all of it.
double plainSetTextAndStyle(const QString& text)
{
    QsciScintilla plain;
    plain.setUtf8(true);
    return bestMs(3, [&] {
        plain.setText(text);
        const long n = plain.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const auto* bytes = reinterpret_cast<const char*>(
            plain.SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        std::unique_ptr<char[]> styles(new char[size_t(n)]);
        orvane::markTags(bytes, size_t(n), styles.get(), 1, 0);
        plain.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0L, 0L);
        plain.SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, n, styles.get());
    });
}

// Design surface to coloured source (the Source tab), with the surface idle
// as when a user clicks; then to the preview (the View tab), which also loads
// the page into the preview.
void benchTabSwitch(mainFrm& window)
{
    orvane::TabStrip* tabs = window.TabStrip1();
    auto select = [tabs](int index) {
        const QSignalBlocker quiet(tabs->tabBar());
        tabs->setSelectedIndex(index);
    };
    for (qsizetype size : {qsizetype(100) << 10, qsizetype(1) << 20, qsizetype(5) << 20}) {
        const QString page = generatedPage(size);
        double load = 0;
        try {
            load = loadAndSettle(window, page);
        } catch (const orvane::SurfaceError& e) {
            std::printf("Tab switch    %6.2f MB: the design surface could not load the page: %s\n",
                        page.toUtf8().size() / 1e6, e.what());
            continue;
        }
        select(1);
        double source = 1e300;
        for (int r = 0; r < 3; ++r) {
            window.rch()->hide();
            source = std::min(source, bestMs(1, [&] { window.TabStrip1_Click(); }));
        }
        const double plain = plainSetTextAndStyle(page);
        select(2);
        const double view = bestMs(1, [&] { window.TabStrip1_Click(); });
        std::printf("Tab switch    %6.2f MB: to Source %8.1f ms (plain setText + styling %.1f ms, "
                    "ratio %.2f), to View %8.1f ms (loading the design surface took %.1f ms)\n",
                    page.toUtf8().size() / 1e6, source, plain, source / plain, view, load);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    orvane::Surface::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));

    mainFrm window;
    window.show();
    QEventLoop settle;
    QObject::connect(window.DHTMLEdit1(), &orvane::Surface::DocumentComplete, &settle,
                     &QEventLoop::quit);
    QTimer::singleShot(10000, &settle, &QEventLoop::quit);
    settle.exec();

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    benchReplace();
    benchColouring(window);
    benchTabSwitch(window);
    return 0;
}
