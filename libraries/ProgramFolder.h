#pragma once
// Where the program's own files live: the help page and the three shipped
// library folders sit in the executable's folder in a build tree, else in the
// installed data folder (<prefix>/share/orvane). The user's own library
// folders of the same names live under the user data location.

#include <QString>
#include <QStringList>

namespace orvane {

inline const QString kHelpPage = QStringLiteral("help.htm");
inline const QString kJavaScriptLibrary = QStringLiteral("javascript library");
inline const QString kAspLibrary = QStringLiteral("asp library");
inline const QString kImageLibrary = QStringLiteral("image library");

// The program's folder, without a trailing "/". Needs a QCoreApplication.
QString programFolder();
// Makes programFolder() answer folder (an empty string restores the lookup).
void setProgramFolder(const QString& folder);

// The folder under the user data location that holds the user's libraries.
QString userLibraryRoot();

// The folders a library list shows, the user's first, then the shipped one.
// The user's folder is created (empty) when it is missing; the shipped one is
// never written.
QStringList libraryFolders(const QString& library);

}  // namespace orvane
