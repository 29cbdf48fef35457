// The editor's entry point: the main window is the start-up object.
//
//   orvane [--help] [--version] [--screenshot FILE] [PAGE...]
//
// PAGE opens at start as File, Open does in Edit mode; further pages are not
// opened, and a note says so. --screenshot saves a picture of the window once
// its blank page has loaded, then quits (used for the README picture and the
// start-up benchmark). --help and --version answer without starting a window
// or the browser engine.

#include "StartOptions.h"
#include "ProgramFolder.h"
#include "Prompts.h"
#include "Surface.h"
#include "DocumentLifecycle.h"
#include "MainWindowParts.h"
#include "mainFrm.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

// Saves the window to path once the design surface has its first document.
void screenshotWhenLoaded(mainFrm& window, const QString& path)
{
    auto save = [&window, path] {
        // One short pause lets the surfaces paint the loaded page.
        QTimer::singleShot(150, &window, [&window, path] {
            const bool saved = window.grab().save(path);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    };
    QObject::connect(window.DHTMLEdit1(), &orvane::Surface::DocumentComplete, &window, save,
                     Qt::SingleShotConnection);
}

// Answers --help, --version and usage errors on the terminal; returns the exit code.
int answerOnTerminal(int argc, char* argv[], const orvane::StartOptions& options)
{
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane"));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "orvane: %s\nTry 'orvane --help'.\n", qPrintable(options.error));
        return 2;
    }
    const QString text = options.help
                             ? orvane::usageText(orvane::programFolder(), orvane::userLibraryRoot())
                             : orvane::versionText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

int main(int argc, char* argv[])
{
    const orvane::StartOptions options = orvane::parseStartOptions(argumentList(argc, argv));
    if (options.help || options.version || !options.error.isEmpty())
        return answerOnTerminal(argc, argv, options);

    orvane::Surface::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    QApplication::setDesktopFileName(QStringLiteral("org.orvane.Editor"));

    mainFrm window;
    if (!options.screenshot.isEmpty())
        screenshotWhenLoaded(window, options.screenshot);
    window.show();
    if (!options.page.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, options] {
            window.parts()->lifecycle().openAtStart(options.page);
            const QString note = orvane::onePageNote(options);
            if (!note.isEmpty()) {
                std::fprintf(stderr, "orvane: %s\n", qPrintable(note));
                orvane::prompts().messageBox(note, orvane::MsgButtons::OK,
                                             orvane::MsgIcon::Information,
                                             QStringLiteral("Orvane Tip"));
            }
        });
    }
    return app.exec();
}
