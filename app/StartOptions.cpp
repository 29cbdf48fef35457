#include "StartOptions.h"

namespace orvane {

StartOptions parseStartOptions(const QStringList& arguments)
{
    StartOptions options;
    bool onlyPages = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (!onlyPages && a == QLatin1String("--")) {
            onlyPages = true;
        } else if (!onlyPages && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            options.help = true;
        } else if (!onlyPages && (a == QLatin1String("--version") || a == QLatin1String("-v"))) {
            options.version = true;
        } else if (!onlyPages && a == QLatin1String("--screenshot")) {
            if (i + 1 == arguments.size()) {
                options.error = QStringLiteral("--screenshot needs a file name");
                return options;
            }
            options.screenshot = arguments.at(++i);
        } else if (!onlyPages && a.startsWith(QLatin1String("--screenshot="))) {
            options.screenshot = a.mid(int(sizeof("--screenshot=")) - 1);
        } else if (!onlyPages && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            options.error = QStringLiteral("unknown option %1").arg(a);
            return options;
        } else if (options.page.isEmpty()) {
            options.page = a;
        } else {
            options.ignored << a;
        }
    }
    return options;
}

QString usageText(const QString& dataFolder, const QString& userFolder)
{
    return QStringLiteral(
               "Usage: orvane [OPTION]... [PAGE]\n"
               "Orvane Editor: edit an HTML or ASP page in a design view and as source.\n"
               "\n"
               "  PAGE                 the page to open (one page is edited at a time)\n"
               "  --screenshot FILE    save a picture of the window once it has loaded, then quit\n"
               "  -h, --help           show this help and exit\n"
               "  -v, --version        show the version and exit\n"
               "\n"
               "Help page and sample libraries: %1\n"
               "Your own libraries:             %2\n")
        .arg(dataFolder, userFolder);
}

QString versionText()
{
    return QStringLiteral("Orvane Editor %1\n").arg(QStringLiteral(ORVANE_VERSION));
}

QString onePageNote(const StartOptions& options)
{
    if (options.ignored.isEmpty())
        return {};
    return QStringLiteral("Orvane edits one page at a time. It opened %1; these were not "
                          "opened:\n%2")
        .arg(options.page, options.ignored.join(QLatin1Char('\n')));
}

}  // namespace orvane
