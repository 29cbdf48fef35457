// Remote folder listings from any server: LIST and MLSD replies as sent,
// link resolution and the listing text must take any bytes, and a reply read
// as it arrives, in pieces, must read as the whole.

#include "ListingParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane::ftp;
    const QByteArray reply(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool mlsd : {false, true}) {
        Listing listing = parseListing(reply, mlsd, QDate(2026, 2, 28));
        resolveLinks(listing.entries);
        const QString text = renderListing(listing.entries);
        ListingReader pieces(mlsd, QDate(2026, 2, 28));
        for (qsizetype at = 0; at < reply.size(); at += 7)
            pieces.feed(QByteArrayView(reply).sliced(at, qMin<qsizetype>(7, reply.size() - at)));
        Listing streamed = pieces.finish();
        resolveLinks(streamed.entries);
        if (renderListing(streamed.entries) != text || streamed.unparsed != listing.unparsed
            || streamed.refused != listing.refused)
            __builtin_trap();
    }
    return 0;
}
