#include "TagStyles.h"

#include <cstring>

namespace orvane {

void markTags(const char* text, std::size_t n, char* out, char tagStyle, char textStyle)
{
    std::size_t i = 0;
    while (i < n) {
        const void* lt = std::memchr(text + i, '<', n - i);
        if (!lt) {
            std::memset(out + i, textStyle, n - i);
            return;
        }
        const std::size_t open = static_cast<const char*>(lt) - text;
        std::memset(out + i, textStyle, open - i);
        const void* gt = std::memchr(text + open, '>', n - open);
        const std::size_t end = gt ? static_cast<const char*>(gt) - text + 1 : n;
        std::memset(out + open, tagStyle, end - open);
        i = end;
    }
}

}  // namespace orvane
