#pragma once
// Whether the preview shows a page by loading its own file, as a browser
// opening the file would (scripts, images and links then resolve from the
// file's real place).

#include <QString>

namespace orvane {

// True when the page the editor shows as text, loaded from or saved to path
// and not modified since, is exactly that local .htm or .html file, and a
// browser decodes the file as the editor did (a byte order mark, a declared
// encoding, or ASCII only). Otherwise the preview shows the editor's text:
// a new or modified page, a page from the web, an ASP page (a browser
// would offer it for download or show its server blocks as text), a file
// changed on disk since, or an undeclared non-ASCII file a browser might
// read in another encoding.
bool previewLoadsFile(const QString& path, bool modified, const QString& text);

}  // namespace orvane
