// The editor's entry point: the main window is the start-up object.
//
//   orvane [--screenshot FILE] [PAGE]
//
// PAGE opens at start as File, Open does in Edit mode.
// --screenshot saves a picture of the window once its blank page has loaded,
// then quits (used for the README picture and the start-up benchmark).

#include "platform/surface/Surface.h"
#include "shell/lifecycle/DocumentLifecycle.h"
#include "shell/lifecycle/MainWindowParts.h"
#include "shell/mainFrm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

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

}  // namespace

int main(int argc, char* argv[])
{
    // The surface serves documents through its own URL scheme, which must be
    // registered before the application object exists.
    orvane::Surface::registerSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));

    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window once it has loaded, then quit."),
        QStringLiteral("file"));
    options.addOption(screenshot);
    options.addPositionalArgument(QStringLiteral("page"), QStringLiteral("The page to open."),
                                  QStringLiteral("[page]"));
    options.process(app);

    mainFrm window;
    if (options.isSet(screenshot))
        screenshotWhenLoaded(window, options.value(screenshot));
    window.show();
    if (!options.positionalArguments().isEmpty()) {
        const QString page = options.positionalArguments().first();
        QTimer::singleShot(0, &window, [&window, page] { window.parts()->lifecycle().openAtStart(page); });
    }
    return app.exec();
}
