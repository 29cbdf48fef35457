#pragma once
// The style class dialog's text: the STYLE block for one class, and the page
// with that block written at the end of its head.

#include <QString>
#include <optional>

namespace orvane {

inline constexpr const char* kStyleNameMessage = "Style Must Have a Name!";
inline constexpr const char* kNoHeadEndMessage =
    "This page has no </HEAD> tag, so the style cannot be added.";

// The editing surface names itself in the generator line; the dialog renames it.
inline constexpr const char* kSurfaceGenerator = "Microsoft DHTML Editing Control";
inline constexpr const char* kOwnGenerator = "Kestrova Editor v.1.0";

// One class as the dialog's boxes show it; every text is used as typed.
struct StyleClass {
    QString name;
    QString color;
    QString marginTop;
    QString fontFamily;
    QString fontSize;
};

// "<STYLE> .name {color:…; margin-top:…; font-family:…; font-size:…} </STYLE> ",
// which goes just before the head's end tag.
QString styleBlock(const StyleClass& style);

// page with every generator name renamed and the block of style inserted before
// the first head end tag (in any letter case; the tag itself is kept as
// written). Nothing when the page has no head end tag.
std::optional<QString> withStyleClass(const QString& page, const StyleClass& style);

}  // namespace orvane
