#pragma once
// How a prepared page reaches the browser: as a private temporary file
// loaded by file://, which the engine reads at its own pace. A short head
// goes in front of the page's own head content: a base element, so that
// relative images and links resolve against the page's real folder or URL,
// and the one style rule of the server-block stand-ins. Both carry
// data-orv-served, so the page script never writes them back.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>
#include <memory>

class QTemporaryFile;

namespace orvane {

// Where the served head goes in a page's bytes: just after its head start
// tag, or where the parser would start the head (after a doctype, leading
// comments and an html start tag).
qsizetype servedHeadPosition(QByteArrayView page);

// The base links resolve against: the page's own first <base href>,
// resolved against where the page really is, or that location itself.
QUrl linkBase(const QString& text, const QUrl& real);

// The served head for a page whose links resolve against base.
QByteArray servedHead(const QUrl& base);

// The file one surface's current page is served from. Each write makes a new
// file (mode 0600, under the user's runtime folder, else the temp folder)
// and removes the previous one; the last is removed with the ServedPage.
class ServedPage {
public:
    ServedPage();
    ~ServedPage();
    // Writes page (UTF-8, marked so by a byte order mark, which outranks any
    // charset the page declares) with the served head for base, and answers
    // the file:// URL to load. Throws SurfaceError(DiskFull or AccessDenied)
    // when the file cannot be written.
    QUrl write(QByteArrayView page, const QUrl& base);

private:
    std::unique_ptr<QTemporaryFile> m_file;
};

}  // namespace orvane
