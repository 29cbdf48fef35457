#include "PreviewFile.h"

#include "CharsetSniff.h"
#include "PageCodec.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace orvane {

bool previewLoadsFile(const QString& path, bool modified, const QString& text)
{
    if (modified || path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (!info.isAbsolute() || !info.isFile() || (suffix != u"htm" && suffix != u"html"))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const DecodedPage page = decodePage(bytes);
    if (page.text != text)
        return false;
    const bool asciiOnly = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) == 0; });
    return asciiOnly || page.encoding.bom || !text::declaredEncoding(bytes).isEmpty();
}

}  // namespace orvane
