// Editing surface figures: loading 1 MB and 5 MB pages, and reading the
// document back after an edit of a 1 MB page. Prints milliseconds.
#include "Surface.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace orvane;

namespace {

QByteArray page(int bytes)
{
    QByteArray text = "<HTML>\r\n<HEAD>\r\n<TITLE>bench</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "<P class=p" + QByteArray::number(i % 7) + ">Paragraph " + QByteArray::number(i)
                + " with <B>some</B> words and a <A HREF=\"page" + QByteArray::number(i)
                + ".htm\">link</A>.</P>\r\n";
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
    const QString oneMb = dir.filePath("one.htm");
    const QString fiveMb = dir.filePath("five.htm");
    for (const auto& [path, size] : {std::pair{oneMb, 1 << 20}, std::pair{fiveMb, 5 << 20}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(page(size)) < size)
            return 1;
    }

    Surface edit(Surface::Mode::Edit);
    Surface preview(Surface::Mode::Browse);
    edit.resize(1000, 700);
    preview.resize(1000, 700);
    edit.show();
    preview.show();
    edit.DocumentHTML();
    preview.DocumentHTML();

    const int runs = 3;
    std::printf("surface load, median of %d runs (ms)\n", runs);
    std::printf("  LoadDocument 1 MB, design surface   %8.1f\n",
                median(runs, [&] { edit.LoadDocument(oneMb); }));
    std::printf("  LoadDocument 5 MB, design surface   %8.1f\n",
                median(runs, [&] { edit.LoadDocument(fiveMb); }));
    std::printf("  LoadDocument 5 MB, preview          %8.1f\n",
                median(runs, [&] { preview.LoadDocument(fiveMb); }));
    const QString fiveText = edit.DocumentHTML();
    std::printf("  setDocumentHTML 5 MB, design surface%8.1f\n",
                median(runs, [&] { edit.setDocumentHTML(fiveText); }));

    edit.LoadDocument(oneMb);
    int n = 0;
    const double afterEdit = median(5, [&] { edit.DocumentHTML(); }, [&] {
        edit.DOM().selection().createRange().pasteHTML("<B>edit " + QString::number(++n) + "</B>");
    });
    std::printf("  DocumentHTML after an edit, 1 MB    %8.1f\n", afterEdit);
    edit.LoadDocument(oneMb);
    std::printf("  DocumentHTML unedited, 1 MB         %8.1f\n",
                median(5, [&] { edit.DocumentHTML(); }));
    return 0;
}
