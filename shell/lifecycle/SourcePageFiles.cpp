#include "SourcePageFiles.h"

#include "PageFiles.h"

namespace orvane {

DecodedPage readSourcePage(const QString& path)
{
    const PageFile page = readPageFile(path);
    return {page.text, {page.format.encoding, page.format.bom}};
}

void writeSourcePage(const QString& path, const QString& text, const PageEncoding& encoding)
{
    writePageFile(path, text, PageFileFormat{encoding.name, encoding.bom});
}

PageEncoding declaredEncoding(const QString& text)
{
    return decodePage(text.toUtf8()).encoding;
}

}  // namespace orvane
