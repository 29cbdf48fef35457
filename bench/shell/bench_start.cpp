// Prints the time from starting the program to its first shown window with
// an editable blank page, and the resident memory of the program's process
// tree (the program and its web engine helpers) a few seconds after start,
// each beside a plain QWebEngineView application doing the same (this program
// run as "bench_start --plain [SHOT]": a blank page, made editable once loaded).
// PROGRAM is the editor to start, the one built beside this benchmark by
// default; with several, each is started in turn with the plain application,
// so programs built before and after a change are compared in the same period.
// Run headless: QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 bench_start [PROGRAM...]

#include "ProcessTree.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The plain application: one engine view showing a blank page, made editable
// once loaded; with a picture path it saves the window once the page is
// editable, as the program's --screenshot does once its page is.
int plainApplication(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(751, 575);
    const QString shot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&] {
        view.page()->runJavaScript(QStringLiteral("document.designMode = 'on'"), [&](const QVariant&) {
            if (shot.isEmpty())
                return;
            QTimer::singleShot(150, &view, [&] { QCoreApplication::exit(view.grab().save(shot) ? 0 : 1); });
        });
    });
    view.show();
    view.setHtml(QStringLiteral("<HTML><HEAD><TITLE></TITLE></HEAD><BODY><P>&nbsp;</P></BODY></HTML>"));
    return app.exec();
}

// Milliseconds from starting program with arguments until it saves its picture.
double startMs(const QString& program, const QStringList& arguments, const QString& shot)
{
    QFile::remove(shot);
    QProcess process;
    QElapsedTimer t;
    t.start();
    process.start(program, arguments + QStringList{shot});
    while (!QFile::exists(shot) && t.elapsed() < 30000)
        QThread::msleep(2);
    const double ms = t.nsecsElapsed() / 1e6;
    process.waitForFinished(10000);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Resident megabytes of the process tree of program 5 s after its start.
double residentMb(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForStarted();
    QThread::sleep(5);
    const double mb = orvane::bench::processTreeUsage(process.processId()).residentKb / 1024.0;
    process.kill();
    process.waitForFinished(5000);
    return mb;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--plain") == 0)
        return plainApplication(argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("shot.png"));
    const QString self = QCoreApplication::applicationFilePath();
    QStringList programs;
    for (int i = 1; i < argc; ++i)
        programs << QString::fromLocal8Bit(argv[i]);
    if (programs.isEmpty())
        programs << QStringLiteral(ORVANE_EXE);

    // Each round starts every program and then the plain application, so a
    // busy period weighs on all of them alike.
    constexpr int kRounds = 7;
    std::vector<std::vector<double>> ours(programs.size());
    std::vector<double> plain;
    for (int round = 0; round < kRounds; ++round) {
        for (qsizetype p = 0; p < programs.size(); ++p)
            ours[p].push_back(startMs(programs[p], {QStringLiteral("--screenshot")}, shot));
        plain.push_back(startMs(self, {QStringLiteral("--plain")}, shot));
    }
    const double plainMs = median(plain);
    std::printf("Start to first shown window with an editable page, saved as a picture, median of %d\n"
                "(includes a 150 ms paint pause and the save); plain view %.0f ms\n", kRounds, plainMs);
    for (qsizetype p = 0; p < programs.size(); ++p)
        std::printf("  %s: %.0f ms, ratio %.2f\n", qPrintable(programs[p]), median(ours[p]),
                    median(ours[p]) / plainMs);

    const double plainMb = residentMb(self, {QStringLiteral("--plain")});
    std::printf("Resident memory of the process tree 5 s after start; plain view %.0f MB\n", plainMb);
    for (const QString& program : programs) {
        const double mb = residentMb(program, {});
        std::printf("  %s: %.0f MB, ratio %.2f\n", qPrintable(program), mb, mb / plainMb);
    }
    return 0;
}
