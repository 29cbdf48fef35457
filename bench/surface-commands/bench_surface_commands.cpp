// Timings of the surface's commands: ExecCommand and QueryStatus round trips,
// INSERTROW on a 200 by 20 table and its undo, and DocumentHTML of a 1 MB page
// after an edit. Run offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_surface_commands
#include "SurfaceTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

struct Figures {
    double median;
    double mean;
    double worst;
};

Figures measure(int runs, const std::function<void()>& setUp, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (setUp)
            setUp();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    return {ms[ms.size() / 2], sum / ms.size(), ms.back()};
}

void print(const char* what, int runs, const Figures& f)
{
    std::printf("%-52s %5d runs  median %8.3f ms  mean %8.3f ms  worst %8.3f ms\n", what, runs, f.median,
                f.mean, f.worst);
    std::fflush(stdout);
}

QString bigTable(int rows, int cols)
{
    QString html = "<TABLE BORDER=\"1\"><TBODY>";
    for (int r = 0; r < rows; ++r) {
        html += "<TR>";
        for (int c = 0; c < cols; ++c)
            html += QString("<TD id=\"c%1_%2\">r%1c%2</TD>").arg(r).arg(c);
        html += "</TR>";
    }
    return html + "</TBODY></TABLE>";
}

QString megabytePage()
{
    QString body;
    for (int i = 0; body.size() < 1024 * 1024; ++i)
        body += QString("<P id=\"p%1\">Paragraph %1 with <B>some bold</B>, <I>italic</I> and "
                        "<A HREF=\"page%1.htm\">a link</A> in a page of plain text.</P>\r\n").arg(i);
    return body;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    Surface::prepareApplication();
    QApplication app(argc, argv);

    Surface s(Surface::Mode::Edit);
    s.resize(1000, 700);
    s.show();
    s.DocumentHTML();

    loadBody(s, "<P>one two three</P>");
    selectText(s, "two");
    print("ExecCommand BOLD (small page)", 200,
          measure(200, {}, [&] { s.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER); }));
    print("QueryStatus BOLD (small page)", 500, measure(500, {}, [&] { s.QueryStatus(DECMD_BOLD); }));
    print("QueryStatus GETFONTNAME (small page)", 500, measure(500, {}, [&] { s.QueryStatus(DECMD_GETFONTNAME); }));
    print("QueryStatus INSERTROW (small page)", 500, measure(500, {}, [&] { s.QueryStatus(DECMD_INSERTROW); }));

    loadBody(s, bigTable(200, 20));
    selectText(s, "r100c10", true);
    print("ExecCommand INSERTROW (200 x 20 table)", 20,
          measure(20, {}, [&] { s.ExecCommand(DECMD_INSERTROW); }));
    print("ExecCommand UNDO of INSERTROW (200 x 20 table)", 20,
          measure(20, {}, [&] { s.ExecCommand(DECMD_UNDO); }));
    print("QueryStatus INSERTROW (in a 200 x 20 table)", 100,
          measure(100, {}, [&] { s.QueryStatus(DECMD_INSERTROW); }));

    loadBody(s, megabytePage());
    selectText(s, "Paragraph 500 ");
    print("ExecCommand BOLD (1 MB page)", 20, measure(20, {}, [&] { s.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER); }));
    print("QueryStatus BOLD (1 MB page)", 100, measure(100, {}, [&] { s.QueryStatus(DECMD_BOLD); }));
    print("DocumentHTML (1 MB page after an edit)", 10, measure(10, {}, [&] { s.DocumentHTML(); }));
    s.ExecCommand(DECMD_SELECTALL);
    print("QueryStatus BOLD (1 MB page, all selected)", 5, measure(5, {}, [&] { s.QueryStatus(DECMD_BOLD); }));
    return 0;
}
