#pragma once
// Stand-ins: what takes the place, in the browser's document and in what the
// page script serialises, of things the browser must not see or cannot keep
// (server blocks) and of untouched source elements. A stand-in is a Unicode
// noncharacter, the load's marker, a number and a closing noncharacter. The
// marker is drawn at random for every load, so page text, even text that
// holds these noncharacters, can never pass for a stand-in.

#include <QRandomGenerator>
#include <QString>

namespace orvane::fidelity {

// Server block N: serverOpen marker N serverClose.
constexpr char16_t serverOpen = 0xFDD0;
constexpr char16_t serverClose = 0xFDD1;
// Element K taken from the source: keepOpen marker K keepClose.
constexpr char16_t keepOpen = 0xFDD2;
constexpr char16_t keepClose = 0xFDD3;
// Lower-case letters only: the browser lower-cases tag and attribute names
// that a stand-in may stand in.
constexpr int markerLength = 12;

inline QString randomMarker() {
    QString m;
    for (int i = 0; i < markerLength; ++i)
        m += QChar(char16_t(u'a' + QRandomGenerator::global()->bounded(26)));
    return m;
}

struct StandIns {
    QString marker;

    QString server(int n) const { return QChar(serverOpen) + marker + QString::number(n) + QChar(serverClose); }
    QString keep(int k) const { return QChar(keepOpen) + marker + QString::number(k) + QChar(keepClose); }
    // The serverAttribute value of server block N's element in content: the
    // marker tells this load's from one pasted from elsewhere.
    QString serverValue(int n) const { return marker + QString::number(n); }
    // A server block where the browser would move text (between table rows,
    // in the head): a comment the page script turns back into server(n). Its
    // 'c' sets it apart from a page comment holding exactly one server block.
    QString serverComment(int n) const {
        return QStringLiteral("<!--") + QChar(serverOpen) + marker + u'c' + QString::number(n) + QChar(serverClose) +
               QStringLiteral("-->");
    }
};

// Spans of the source copied into rewritten text: piece code, the load's
// marker, numbers separated by commas, and a closing noncharacter.
constexpr char16_t pieceOpen = 0xFDD4;
constexpr char16_t pieceClose = 0xFDD5;
constexpr char16_t startTagPiece = u's';  // element K's start tag
constexpr char16_t endTagPiece = u'e';    // element K's end tag, or its absence
constexpr char16_t gapPiece = u'g';       // the source between two elements (a gap), blocks and all
// Part of a text the browser parsed in a gap: gap, from, to, and the place
// among the gap's comments and server blocks that the text follows, when it
// follows one.
constexpr char16_t textPiece = u't';
// What of a gap's stretch makes no text (stray tags, NUL characters): gap,
// and the place as for a text.
constexpr char16_t noTextPiece = u'n';
// A comment the parser made in a gap: gap and its place. Its source is
// written and what follows, up to the comment's end piece, skipped; that is
// the comment as serialised, written only when its source is not known.
constexpr char16_t commentPiece = u'c';
constexpr char16_t commentEndPiece = u'C';

// Attributes the surface puts on the browser's elements. The id is short
// (a big page carries one per element, and the engine parses every byte);
// an inline element's ends in inlineIdSuffix, and it loses it before a
// formatting command.
inline constexpr char idAttribute[] = "orv";
inline constexpr char inlineIdSuffix[] = "i";
inline constexpr char serverAttribute[] = "data-orv-srv";

}  // namespace orvane::fidelity
