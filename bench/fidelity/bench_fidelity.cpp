// Prints how long the design surface takes to load a large page and to give
// its text back after one edit, and the throughput of preparing and
// rebuilding a page on its own.

#include "GeneratedPage.h"
#include "PageCodec.h"
#include "Surface.h"
#include "FidelityTokens.h"
#include "PageRebuild.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>

using namespace orvane;

namespace {

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double millis(F f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

QVariant runScript(Surface& s, const QString& code) {
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    s.view()->page()->runJavaScript(code, QWebEngineScript::ApplicationWorld,
                                    [result](const QVariant& v) { *result = {true, v}; });
    QElapsedTimer t;
    t.start();
    while (!result->first && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result->second;
}

// The script heap after a full collection, in MB.
double heapAfterCollection(Surface& s) {
    return runScript(s, QStringLiteral("gc(); gc(); performance.memory.usedJSHeapSize")).toDouble() / 1048576.0;
}

// Selects a word in the middle of the page.
const char* selectMiddleWord = R"JS(
(() => {
  const ps = document.querySelectorAll('p.intro');
  const p = ps[Math.floor(ps.length / 2)];
  const n = p.firstChild;
  const r = document.createRange();
  r.setStart(n, 0);
  r.setEnd(n, 5);
  getSelection().removeAllRanges();
  getSelection().addRange(r);
})()
)JS";

void pureFigures(qsizetype size) {
    const QString text = test::generatedPage(size);
    const double mb = text.toUtf8().size() / 1048576.0;
    QList<double> prep, rebuild;
    fidelity::PreparedPage page;
    for (int i = 0; i < 5; ++i)
        prep << millis([&] { page = fidelity::preparePage(text); });
    // One changed paragraph in the middle, with its clean children kept.
    int target = -1, seen = 0;
    for (int k = 0; k < page.map.tree.elements.size(); ++k)
        if (page.map.tree.nameOf(k) == u"p" && seen++ == page.map.tree.elements.size() / 40)
            target = k;
    QHash<int, QString> changed;
    changed.insert(target, QStringLiteral("<P CLASS=\"intro\"><B>Items</B> changed</P>"));
    QString out;
    for (int i = 0; i < 5; ++i)
        rebuild << millis([&] { out = fidelity::rebuildPage(text, page.map, changed); });
    std::printf("pure %5.1f MB: prepare %7.1f ms (%6.1f MB/s), rebuild after one edit %6.1f ms (%6.1f MB/s), "
                "%lld elements, %lld server blocks\n",
                mb, median(prep), mb / median(prep) * 1000, median(rebuild), mb / median(rebuild) * 1000,
                qlonglong(page.map.tree.elements.size()), qlonglong(page.map.serverBlocks.size()));
}

void surfaceFigures(Surface& surface, const QTemporaryDir& dir, qsizetype size) {
    const QString text = test::generatedPage(size);
    const QString path = dir.filePath(QStringLiteral("page-%1.asp").arg(size));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(encodePage(text, {"UTF-8", false}));
    f.close();
    const double mb = f.size() / 1048576.0;

    QList<double> load;
    for (int i = 0; i < 3; ++i)
        load << millis([&] {
            surface.LoadDocument(path);
            surface.DocumentHTML();  // waits until the page is there
        });
    const double unedited = millis([&] { surface.DocumentHTML(); });
    runScript(surface, QString::fromLatin1(selectMiddleWord));
    surface.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
    QList<double> read;
    QString out;
    for (int i = 0; i < 5; ++i)
        read << millis([&] { out = surface.DocumentHTML(); });
    const bool boldFound = out.contains(QStringLiteral("<B>Items</B>"));
    // The page script's map of the page's nodes: the heap with it, and once
    // it is dropped (a map of no elements).
    const double withMap = heapAfterCollection(surface);
    runScript(surface, QStringLiteral("orv.fidelity.init({})"));
    const double nodeMap = withMap - heapAfterCollection(surface);
    std::printf("surface %5.1f MB: load %7.1f ms, DocumentHTML unedited %6.2f ms, after one edit %7.1f ms%s, "
                "node map %5.1f MB\n",
                mb, median(load), unedited, median(read), boldFound ? "" : " (edit not seen!)", nodeMap);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Exact heap sizes and a collection on demand, for the node map's size.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--enable-precise-memory-info --js-flags=--expose-gc");
    Surface::prepareApplication();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    QTemporaryDir dir;
    Surface surface(Surface::Mode::Edit);
    surface.resize(800, 600);
    surface.show();
    surface.DocumentHTML();
    // Generous waits: a 5 MB page takes a while to lay out on a small machine.
    surface.setCallTimeout(120000);
    surfaceFigures(surface, dir, 1 << 20);
    surfaceFigures(surface, dir, 5 << 20);

    pureFigures(1 << 20);
    pureFigures(5 << 20);
    std::printf("targets: DocumentHTML after one edit < 100 ms (1 MB), < 400 ms (5 MB)\n");
    return 0;
}
