// Page files of any bytes: decoding and writing back unedited gives the very
// same bytes, whatever the page declares.

#include "PageCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const orvane::DecodedPage page = orvane::decodePage(bytes);
    const QByteArray back = orvane::encodePage(page.text, page.encoding);
    if (back != bytes) {
        std::fprintf(stderr, "round trip through %s changed the bytes\n", page.encoding.name.constData());
        std::abort();
    }
    return 0;
}
