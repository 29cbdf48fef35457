#pragma once
// What kind of page a text is: an editable page, a frameset, or a page that
// is only server script. The design surface edits only the first kind.

#include <QString>

namespace orvane {

enum class PageKind { Editable, Frameset, ServerScriptOnly };

PageKind classifyPage(const QString& text);

}  // namespace orvane
