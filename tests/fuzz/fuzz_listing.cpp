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
        resolveLinks(listing);
        const QString text = renderListing(listing);
        for (const RemoteEntry& e : listing.entries)
            if (e.nameSize == 0 || e.nameAt + e.nameSize > listing.names.size()
                || listing.linkTarget(e).size() > listing.names.size())
                __builtin_trap();
        // Cut anywhere: inside a CR LF, a UTF-8 sequence, a fact.
        const qsizetype step = 1 + qsizetype(size % 61);
        ListingReader pieces(mlsd, QDate(2026, 2, 28));
        for (qsizetype at = 0; at < reply.size(); at += step)
            pieces.feed(QByteArrayView(reply).sliced(at, qMin<qsizetype>(step, reply.size() - at)));
        Listing streamed = pieces.finish();
        resolveLinks(streamed);
        if (renderListing(streamed) != text || streamed.unparsed != listing.unparsed
            || streamed.refused != listing.refused)
            __builtin_trap();
    }
    return 0;
}
