// Editing surface figures: loading 100 KB to 5 MB pages (plain HTML and ASP
// pages full of server blocks) until they are editable, each beside a plain
// QWebEngineView that loads the same file by file:// and makes it editable
// in the same run (with the caret in the page, or with design mode on only),
// and given our served file (what the engine alone needs for it); the time
// until a first edit is done, and until the page has read its map while
// idle; the load's stages (classify, prepare, write the served file);
// reading the document back after an edit
// of a 1 MB page; the preview of a saved page: served as the editor's
// text, or loaded from its own file, beside a plain view loading the file;
// and what the engine alone needs for the server-block stand-ins of the
// 1 MB ASP page, drawn otherwise or left out. Prints milliseconds, medians
// of 5 runs (BENCH_RUNS sets another count, e.g. 3 for the 5 MB pages).
// Arguments (e.g. ASP_1_MB) pick the pages of the load rows; ASP_5_MB also
// gets the stand-ins' table.
#include "DocumentText.h"
#include "PageKind.h"
#include "PreviewFile.h"
#include "ProcessTree.h"
#include "ServedPage.h"
#include "Surface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace orvane;

namespace {

QByteArray htmlPage(int bytes)
{
    QByteArray text = "<HTML>\r\n<HEAD>\r\n<TITLE>bench</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "<P class=p" + QByteArray::number(i % 7) + ">Paragraph " + QByteArray::number(i)
                + " with <B>some</B> words and a <A HREF=\"page" + QByteArray::number(i)
                + ".htm\">link</A>.</P>\r\n";
    return text + "</BODY>\r\n</HTML>\r\n";
}

// About one server block per 100 bytes, in content, in attributes and alone.
QByteArray aspPage(int bytes)
{
    QByteArray text = "<%@ Language=VBScript %>\r\n<HTML>\r\n<HEAD>\r\n<TITLE><%= title %></TITLE>\r\n"
                      "</HEAD>\r\n<BODY>\r\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "<P>Row " + QByteArray::number(i) + ": <%= rs(\"name\") %> at <A HREF=\"<%= url %>\">"
                "here</A></P>\r\n<% rs.MoveNext %>\r\n";
    return text + "</BODY>\r\n</HTML>\r\n";
}

double middle(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median of runs of op, in milliseconds; prepare runs untimed before each.
double median(int runs, const std::function<void()>& op, const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer clock;
        clock.start();
        op();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return middle(times);
}

// Medians of op's wall time and of its process tree's CPU time, in ms.
struct Cost {
    double wall = 0, cpu = 0;
};
Cost cost(int runs, const std::function<void()>& op)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const double before = 1000 * bench::processTreeUsage().cpuSeconds;
        QElapsedTimer clock;
        clock.start();
        op();
        wall.push_back(clock.nsecsElapsed() / 1e6);
        cpu.push_back(1000 * bench::processTreeUsage().cpuSeconds - before);
    }
    return {middle(wall), middle(cpu)};
}

// Waits until the page has read its map while idle after the load and at
// least `idleMs` have passed; how long the map took, in ms.
double idleUntilMapRead(Surface& edit, int idleMs)
{
    QElapsedTimer clock;
    clock.start();
    double readAt = -1;
    while (readAt < 0 || clock.elapsed() < idleMs) {
        QEventLoop wait;
        QTimer::singleShot(50, &wait, &QEventLoop::quit);
        wait.exec();
        if (readAt >= 0)
            continue;
        QEventLoop answer;
        edit.view()->page()->runJavaScript(QStringLiteral("orv.fidelity.mapRead()"), QWebEngineScript::ApplicationWorld,
                                           [&](const QVariant& read) {
                                               if (read.toBool())
                                                   readAt = clock.nsecsElapsed() / 1e6;
                                               answer.quit();
                                           });
        answer.exec();
    }
    return readAt;
}

// How far a plain view's load goes: shown only; made editable (design mode
// on, what an editor needs at the least); or made editable with the caret
// in the page, as the surface's set-up does (the focus makes the engine
// restyle and lay out the page for design mode at once), then answering one
// more call, as the surface does its first call after the set-up.
enum class Until { Shown, DesignMode, Editable };

void plainLoad(QWebEngineView& view, const QString& path, Until until = Until::Editable)
{
    QEventLoop loop;
    const auto finished = QObject::connect(view.page(), &QWebEnginePage::loadFinished, &loop, [&](bool) {
        switch (until) {
        case Until::Shown:
            view.page()->runJavaScript(QStringLiteral("0"), [&](const QVariant&) { loop.quit(); });
            break;
        case Until::DesignMode:
            view.page()->runJavaScript(QStringLiteral("document.designMode = 'on'"),
                                       [&](const QVariant&) { loop.quit(); });
            break;
        case Until::Editable:
            view.page()->runJavaScript(QStringLiteral("document.designMode = 'on'; document.body.focus()"),
                                       [&](const QVariant&) {
                                           view.page()->runJavaScript(QStringLiteral("0"),
                                                                      [&](const QVariant&) { loop.quit(); });
                                       });
            break;
        }
    });
    view.load(QUrl::fromLocalFile(path));
    loop.exec();
    QObject::disconnect(finished);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    Surface::prepareApplication();
    QApplication app(argc, argv);

    QTemporaryDir dir;
    struct Page {
        const char* name;
        QByteArray bytes;
        QString path;
    };
    std::vector<Page> pages{{"HTML 100 KB", htmlPage(100 << 10), {}}, {"HTML 1 MB", htmlPage(1 << 20), {}},
                            {"HTML 5 MB", htmlPage(5 << 20), {}}, {"ASP 1 MB", aspPage(1 << 20), {}},
                            {"ASP 5 MB", aspPage(5 << 20), {}}};
    for (Page& p : pages) {
        p.path = dir.filePath(QString::fromLatin1(p.name).replace(' ', '_') + ".htm");
        QFile f(p.path);
        if (!f.open(QIODevice::WriteOnly) || f.write(p.bytes) < p.bytes.size())
            return 1;
    }

    Surface edit(Surface::Mode::Edit);
    QWebEngineView plain;
    edit.setCallTimeout(120000);  // a busy machine may take long over a big page
    edit.resize(1000, 700);
    plain.resize(1000, 700);
    edit.show();
    plain.show();
    edit.DocumentHTML();
    plainLoad(plain, pages[0].path);

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int runs = qEnvironmentVariableIsSet("BENCH_RUNS") ? qMax(1, qEnvironmentVariableIntValue("BENCH_RUNS")) : 5;
    // Where our time goes: the engine's load of our served text (until its
    // load ends inside the surface), and a plain view given that same served
    // file, which is what the engine alone needs for it.
    QElapsedTimer sinceLoad;
    double engineDone = 0;
    QObject::connect(edit.view()->page(), &QWebEnginePage::loadFinished, &app,
                     [&] { engineDone = sinceLoad.nsecsElapsed() / 1e6; });
    std::printf("load until editable, median of %d runs (ms; under each page its process tree's CPU time)\n"
                "  plain: a plain view made editable with the caret in the page (as the surface), or with design mode on only\n"
                "               Orvane  (engine load)     plain   ratio   design mode only  ratio   plain, our served file   Orvane, load + first edit   first edit after 3 s idle   map read after editable\n",
                runs);
    const QStringList only = QCoreApplication::arguments().mid(1);  // e.g. ASP_1_MB: just those pages
    for (const Page& p : pages) {
        if (!only.isEmpty() && !only.contains(QFileInfo(p.path).baseName()))
            continue;
        // Until editable: the load, then one call into the page, which runs
        // after the page's set-up.
        std::vector<double> engine;
        const Cost ours = cost(runs, [&] {
            sinceLoad.start();
            edit.LoadDocument(p.path);
            edit.changeRecord();
            engine.push_back(engineDone);
        });
        std::sort(engine.begin(), engine.end());
        // The page script reads its map while the page is idle after the
        // load; a first edit waits for what is left.
        const double firstEdit = median(runs, [&] {
            edit.LoadDocument(p.path);
            edit.DOM().selection().createRange().pasteHTML(QStringLiteral("<B>edit</B>"));
            edit.IsDirty();
        });
        // A user's first edit comes later, once the page is idle for 3 s and
        // has read its map.
        std::vector<double> mapRead;
        const double idleEdit = median(
            runs, [&] { edit.DOM().selection().createRange().pasteHTML(QStringLiteral("<B>edit</B>")); },
            [&] {
                edit.LoadDocument(p.path);
                edit.changeRecord();
                mapRead.push_back(idleUntilMapRead(edit, 3000));
            });
        const Cost theirs = cost(runs, [&] { plainLoad(plain, p.path); });
        const Cost designOnly = cost(runs, [&] { plainLoad(plain, p.path, Until::DesignMode); });
        ServedPage served;
        fidelity::PageMap map;
        const QUrl servedUrl = served.write(prepareForBrowser(QString::fromUtf8(p.bytes), &map),
                                            QUrl::fromLocalFile(p.path));
        const Cost servedPlain = cost(runs, [&] { plainLoad(plain, servedUrl.toLocalFile()); });
        std::printf("  %-12s %8.1f  (%8.1f)     %8.1f  %5.2f   %8.1f         %5.2f   %8.1f   %8.1f   %8.1f   %8.1f\n", p.name,
                    ours.wall, engine[engine.size() / 2], theirs.wall, ours.wall / theirs.wall, designOnly.wall,
                    ours.wall / designOnly.wall, servedPlain.wall, firstEdit, idleEdit, middle(mapRead));
        std::printf("    CPU        %8.1f                 %8.1f  %5.2f   %8.1f         %5.2f   %8.1f\n", ours.cpu,
                    theirs.cpu, ours.cpu / theirs.cpu, designOnly.cpu, ours.cpu / designOnly.cpu, servedPlain.cpu);
    }

    std::printf("stages of the 5 MB loads (ms)          classify   prepare  write file\n");
    for (const Page& p : {pages[2], pages[4]}) {
        const QString text = QString::fromUtf8(p.bytes);
        fidelity::PageMap map;
        QByteArray prepared;
        ServedPage served;
        const double classify = median(runs, [&] { classifyPage(text); });
        const double prepare = median(runs, [&] { prepared = prepareForBrowser(text, &map); });
        const double write = median(runs, [&] { served.write(prepared, QUrl::fromLocalFile(p.path)); });
        std::printf("  %-12s (served %5.1f MB)        %8.1f  %8.1f  %8.1f\n", p.name, prepared.size() / 1e6,
                    classify, prepare, write);
    }

    edit.LoadDocument(pages[1].path);
    int n = 0;
    const double afterEdit = median(runs, [&] { edit.DocumentHTML(); }, [&] {
        edit.DOM().selection().createRange().pasteHTML("<B>edit " + QString::number(++n) + "</B>");
    });
    std::printf("DocumentHTML after an edit, 1 MB        %8.1f\n", afterEdit);

    // The engine alone, given our served ASP page with its stand-ins as they
    // are (non-editable inline blocks, and block boxes where only block
    // elements stand beside them), all as inline blocks (no block boxes),
    // without their style rule, drawn as plain inline boxes (cheaper, but the
    // space before a box that ends a line then collapses, and bolding the
    // word before it takes that space in), as bare empty elements (the least
    // one element per block costs: nothing to see, nothing that keeps the
    // user out), or left out. The 1 MB page by default, the 5 MB page when
    // asked for.
    for (const int asp : {3, 4}) {
        const Page& p = pages[asp];
        if (only.isEmpty() ? asp != 3 : !only.contains(QFileInfo(p.path).baseName()))
            continue;
        fidelity::PageMap map;
        const QString prepared = QString::fromUtf8(prepareForBrowser(QString::fromUtf8(p.bytes), &map));
        const QByteArray head = servedHead(QUrl::fromLocalFile(p.path));
        const QByteArray base = head.left(head.indexOf("<style"));
        const QByteArray rule = head.mid(head.indexOf("<style"));
        const QString marker = QStringLiteral("<(span|div) (data-orv-srv=\"[a-z]+\\d+\") contenteditable=\"false\"></\\1>");
        const QString inlineBox = QStringLiteral("<span \\2 contenteditable=\"false\"></span>");
        struct Variant {
            const char* name;
            QString path;
            std::vector<double> wall, cpu;
        };
        std::vector<Variant> variants{{"raw page", p.path, {}, {}}};
        auto add = [&](const char* name, const QString& pattern, const QString& by, const QByteArray& style) {
            const QByteArray page = QString(prepared).replace(QRegularExpression(pattern), by).toUtf8();
            const qsizetype at = servedHeadPosition(page);
            const QString path = dir.filePath(QStringLiteral("variant%1.htm").arg(variants.size()));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write("\xEF\xBB\xBF" + page.left(at) + base + style + page.mid(at));
            variants.push_back({name, path, {}, {}});
        };
        add("as served", {}, {}, rule);
        add("all as inline blocks", marker, inlineBox, rule);
        add("stand-ins without their rule", marker, inlineBox, {});
        add("stand-ins as plain inline boxes", marker, inlineBox,
            "<style>span[data-orv-srv]{padding:0 0.6em;background:#ffe08a;border:1px solid #b8860b}</style>");
        add("stand-ins as bare elements", marker, QStringLiteral("<\\1></\\1>"), {});
        add("stand-ins left out", marker, {}, {});
        // Round by round, so that the machine's changing load falls on all alike.
        for (int run = 0; run < runs; ++run)
            for (Variant& v : variants) {
                QElapsedTimer clock;
                clock.start();
                const double cpu = 1000 * bench::processTreeUsage().cpuSeconds;
                plainLoad(plain, v.path, Until::DesignMode);
                v.cpu.push_back(1000 * bench::processTreeUsage().cpuSeconds - cpu);
                v.wall.push_back(clock.nsecsElapsed() / 1e6);
            }
        const double rawCpu = middle(variants[0].cpu);
        std::printf("plain view, served %-8s page (ms)   wall      CPU   CPU ratio to raw\n", p.name);
        for (const Variant& v : variants)
            std::printf("  %-36s %8.1f %8.1f   %5.2f\n", v.name, middle(v.wall), middle(v.cpu), middle(v.cpu) / rawCpu);
    }

    // setDocumentHTML returns once the preview's page is loaded.
    Surface preview(Surface::Mode::Browse);
    preview.setCallTimeout(120000);
    preview.resize(1000, 700);
    preview.show();
    preview.DocumentHTML();
    std::printf("preview of a saved page (ms)   decide   served text   own file   plain view\n");
    for (const Page& p : {pages[1], pages[2]}) {
        const QString text = QString::fromUtf8(p.bytes);
        bool direct = false;
        const double decide = median(runs, [&] { direct = previewLoadsFile(p.path, false, text); });
        auto show = [&](bool file) {
            return median(runs, [&] { preview.setDocumentHTML(text, p.path, file); });
        };
        const double servedText = show(false);
        const double ownFile = show(direct);
        const double plainView = median(runs, [&] { plainLoad(plain, p.path, Until::Shown); });
        std::printf("  %-12s              %8.1f      %8.1f   %8.1f     %8.1f%s\n", p.name, decide, servedText, ownFile,
                    plainView, direct ? "" : "  (file not loaded!)");
    }
    return 0;
}
