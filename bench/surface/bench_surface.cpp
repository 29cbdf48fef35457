// Editing surface figures: loading 100 KB to 5 MB pages (plain HTML and ASP
// pages full of server blocks) until they are editable, each beside a plain
// QWebEngineView that loads the same file by file:// and turns design mode on
// in the same run, and given our served file (what the engine alone needs
// for it); the time until a first edit is done; the load's stages (classify,
// prepare, write the served file); reading the document back after an edit
// of a 1 MB page; and the preview of a saved page: served as the editor's
// text, or loaded from its own file, beside a plain view loading the file.
// Prints milliseconds, medians of 5 runs (BENCH_RUNS sets another count, e.g.
// 3 for the 5 MB pages). Arguments (e.g. ASP_1_MB) pick the pages of the load rows.
#include "DocumentText.h"
#include "PageKind.h"
#include "PreviewFile.h"
#include "ServedPage.h"
#include "Surface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A plain engine view's load of path by file://, with design mode on unless
// it only shows the page.
void plainLoad(QWebEngineView& view, const QString& path, bool design = true)
{
    QEventLoop loop;
    const auto finished = QObject::connect(view.page(), &QWebEnginePage::loadFinished, &loop, [&](bool) {
        view.page()->runJavaScript(design ? QStringLiteral("document.designMode = 'on'") : QStringLiteral("0"),
                                   [&](const QVariant&) { loop.quit(); });
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
    std::printf("load until editable, median of %d runs (ms)\n"
                "               Orvane  (engine load)     plain   ratio   plain, our served file   Orvane, load + first edit\n", runs);
    const QStringList only = QCoreApplication::arguments().mid(1);  // e.g. ASP_1_MB: just those pages
    for (const Page& p : pages) {
        if (!only.isEmpty() && !only.contains(QFileInfo(p.path).baseName()))
            continue;
        // Until editable: the load, then one call, which runs after the page's set-up.
        std::vector<double> engine;
        const double ours = median(runs, [&] {
            sinceLoad.start();
            edit.LoadDocument(p.path);
            edit.IsDirty();
            engine.push_back(engineDone);
        });
        std::sort(engine.begin(), engine.end());
        // The page script reads part of its map while the page is idle after
        // the load; a first edit waits for the rest.
        const double firstEdit = median(runs, [&] {
            edit.LoadDocument(p.path);
            edit.DOM().selection().createRange().pasteHTML(QStringLiteral("<B>edit</B>"));
            edit.IsDirty();
        });
        const double theirs = median(runs, [&] { plainLoad(plain, p.path); });
        ServedPage served;
        fidelity::PageMap map;
        const QUrl servedUrl = served.write(prepareForBrowser(QString::fromUtf8(p.bytes), &map),
                                            QUrl::fromLocalFile(p.path));
        const double servedPlain = median(runs, [&] { plainLoad(plain, servedUrl.toLocalFile()); });
        std::printf("  %-12s %8.1f  (%8.1f)     %8.1f  %5.2f   %8.1f   %8.1f\n", p.name, ours,
                    engine[engine.size() / 2], theirs, ours / theirs, servedPlain, firstEdit);
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
        const double plainView = median(runs, [&] { plainLoad(plain, p.path, false); });
        std::printf("  %-12s              %8.1f      %8.1f   %8.1f     %8.1f%s\n", p.name, decide, servedText, ownFile,
                    plainView, direct ? "" : "  (file not loaded!)");
    }
    return 0;
}
