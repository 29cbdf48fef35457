#pragma once
// The editor's command line, read before anything starts, so that --help and
// --version can answer without bringing up a window or the browser engine.

#include <QString>
#include <QStringList>

namespace orvane {

struct StartOptions {
    bool help = false;
    bool version = false;
    QString screenshot;   // save a picture of the window to this file, then quit
    QString page;         // the page to open at start ("" for none)
    QStringList ignored;  // further pages: one page is edited at a time
    QString error;        // a usage error to report ("" when the line is fine)
};

// arguments[0] is the program name.
StartOptions parseStartOptions(const QStringList& arguments);

// What --help prints; dataFolder and userFolder say where help and libraries live.
QString usageText(const QString& dataFolder, const QString& userFolder);
// What --version prints.
QString versionText();
// The note shown when more than one page was named.
QString onePageNote(const StartOptions& options);

}  // namespace orvane
