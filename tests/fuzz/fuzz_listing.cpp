// Remote folder listings from any server: LIST and MLSD replies as sent,
// link resolution and the listing text must take any bytes.

#include "ListingParser.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane::ftp;
    const QByteArray reply(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool mlsd : {false, true}) {
        Listing listing = parseListing(reply, mlsd, QDate(2026, 2, 28));
        resolveLinks(listing.entries);
        renderListing(listing.entries);
    }
    return 0;
}
