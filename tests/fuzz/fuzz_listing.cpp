// Remote folder listings from any server: decoding, LIST and MLSD parsing,
// link resolution and the listing text must take any bytes.

#include "ListingParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane::ftp;
    const QString text = decodeListing(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QList<RemoteEntry> list = parseList(text, QDate(2026, 2, 28));
    resolveLinks(list);
    renderListing(list);
    QList<RemoteEntry> mlsd = parseMlsd(text);
    resolveLinks(mlsd);
    renderListing(mlsd);
    return 0;
}
