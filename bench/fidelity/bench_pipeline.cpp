// Figures for the page pipeline on its own: building the source tree of flat
// and deeply nested pages, rebuilding a deep chain, and preparing big pages
// for the browser. Each case runs in a child process of its own, so that its
// peak memory is its own: the figure is the peak resident size the case
// reached above what the process held just before it, against the page's
// size in bytes.

#include "PageRebuild.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane::fidelity;

namespace {

// A /proc/self/status figure in kB.
qint64 statusKb(const char* field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').front().toLongLong();
    return -1;
}

void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

QString repeatedTo(const QString& unit, qsizetype bytes) {
    return unit.repeated(std::max<qsizetype>(1, bytes / unit.size()));
}

QString chain(const QString& open, const QString& inner, const QString& close, qsizetype depth) {
    return open.repeated(depth) + inner + close.repeated(depth);
}

// Runs `work` on the page in a child process and prints time and peak memory.
void measure(const char* what, const std::function<QString()>& makePage, const std::function<void(const QString&)>& work) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const QString page = makePage();
        const double mb = page.toUtf8().size() / 1048576.0;
        resetPeak();
        const qint64 before = statusKb("VmRSS:");
        QElapsedTimer t;
        t.start();
        work(page);
        const double ms = t.nsecsElapsed() / 1e6;
        const double peakMb = (statusKb("VmHWM:") - before) / 1024.0;
        std::printf("%-44s %6.1f MB page: %9.1f ms, peak +%7.1f MB (%5.1fx the page)\n", what, mb, ms, peakMb,
                    peakMb / mb);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::printf("%-44s failed (status %d)\n", what, status);
}

void sourceTree(const char* what, const std::function<QString()>& makePage) {
    measure(what, makePage, [](const QString& page) {
        const SourceTree tree = buildSourceTree(page, findServerBlocks(page));
        if (tree.elements.isEmpty())
            std::printf("no elements\n");
    });
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("source tree (tokenizing and building)\n");
    for (const qsizetype mb : {1, 5}) {
        const qsizetype bytes = mb << 20;
        auto label = [&](const char* kind) { return QByteArray(kind) + ", " + QByteArray::number(mb) + " MB"; };
        sourceTree(label("flat paragraphs").constData(),
                   [=] { return repeatedTo(QStringLiteral("<p>Some text <b>bold</b>.</p>\n"), bytes); });
        sourceTree(label("20,000 divs deep, flat inside").constData(), [=] {
            return chain(QStringLiteral("<div>"), repeatedTo(QStringLiteral("<p>Some text <b>bold</b>.</p>\n"),
                                                             bytes - 220000),
                         QStringLiteral("</div>"), 20000);
        });
        sourceTree(label("nested divs all the way").constData(),
                   [=] { return chain(QStringLiteral("<div>"), QStringLiteral("x"), QStringLiteral("</div>"), bytes / 11); });
        sourceTree(label("nested b all the way").constData(),
                   [=] { return chain(QStringLiteral("<b>"), QStringLiteral("x"), QStringLiteral("</b>"), bytes / 7); });
        sourceTree(label("nested tables all the way").constData(), [=] {
            return chain(QStringLiteral("<table><tr><td>"), QStringLiteral("x"),
                         QStringLiteral("</td></tr></table>"), bytes / 33);
        });
        sourceTree(label("nested tables, text moved out of each").constData(), [=] {
            return chain(QStringLiteral("<table>moved<tr><td>"), QStringLiteral("x"),
                         QStringLiteral("</td></tr></table>"), bytes / 38);
        });
    }

    std::printf("rebuild\n");
    measure("40,000-deep chain, innermost changed",
            [] { return QStringLiteral("<head></head>") + chain(QStringLiteral("<div>"), QStringLiteral("x"),
                                                               QStringLiteral("</div>"), 40000); },
            [](const QString& page) {
                const PreparedPage prepared = preparePage(page);
                QElapsedTimer t;
                t.start();
                const QString out = rebuildPage(page, prepared.map,
                                                QHash<int, QString>{{int(prepared.map.tree.elements.size() - 1), QStringLiteral("<DIV>y</DIV>")}});
                std::printf("  (rebuild alone %.1f ms, %lld characters)\n", t.nsecsElapsed() / 1e6,
                            qlonglong(out.size()));
            });

    std::printf("preparation for the browser\n");
    const qsizetype big = 10 << 20;
    auto prepare = [](const QString& page) {
        const PreparedPage prepared = preparePage(page);
        if (prepared.browserText.isEmpty())
            std::printf("empty\n");
    };
    measure("flat <p>x", [=] { return repeatedTo(QStringLiteral("<p>x"), big); }, prepare);
    measure("server blocks <%x%>", [=] { return repeatedTo(QStringLiteral("<%x%>"), big); }, prepare);
    measure("paragraphs with server blocks", [=] {
        return QStringLiteral("<html><body>") + repeatedTo(QStringLiteral("<p>Hello <%= name %>, <b>x</b></p>\n"), big);
    }, prepare);
    std::printf("target: preparation peak within 20x the page\n");
    return 0;
}
