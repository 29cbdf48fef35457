#pragma once
// Marks which bytes of a UTF-8 text lie inside a tag ("<" up to the next ">",
// both included). '<' and '>' never occur inside a multi-byte UTF-8 sequence,
// so scanning bytes is exact. A "<" with no later ">" runs to the end.

#include <cstddef>

namespace orvane {

// Writes n style bytes to out: tagStyle for bytes inside a tag, textStyle for the rest.
void markTags(const char* text, std::size_t n, char* out, char tagStyle, char textStyle);

}  // namespace orvane
