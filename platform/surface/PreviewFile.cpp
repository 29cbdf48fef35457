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
    const bool asciiOnly = std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) == 0; });
    const bool bom = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!asciiOnly && !bom && text::declaredEncoding(bytes).isEmpty())
        return false;
    return decodePage(bytes).text == text;
}

}  // namespace orvane
