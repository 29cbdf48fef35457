#pragma once
// Tokens that stand in the browser's document (and in what the page script
// serialises) for things the browser must not see or cannot keep: server
// blocks and references to untouched source elements. They are built from
// Unicode noncharacters, which never occur in interchanged text, followed by
// decimal digits.

#include <QString>

namespace orvane::fidelity {

// Server block N: serverOpen N serverClose.
constexpr char16_t serverOpen = 0xFDD0;
constexpr char16_t serverClose = 0xFDD1;
// Element K taken from the source: keepOpen K keepClose.
constexpr char16_t keepOpen = 0xFDD2;
constexpr char16_t keepClose = 0xFDD3;

inline QString serverToken(int n) {
    return QChar(serverOpen) + QString::number(n) + QChar(serverClose);
}

// Attributes the surface puts on the browser's elements.
inline constexpr char idAttribute[] = "data-orv-id";
inline constexpr char serverAttribute[] = "data-orv-srv";

}  // namespace orvane::fidelity
