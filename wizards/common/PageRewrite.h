#pragma once
// A rewrite of the whole page by a wizard: the page's text as the author has
// it now, and the new text written back so that the source pane shows it and
// the design surface holds it, with one undo taking it back in the mode where
// it was made.

#include <QString>

class mainFrm;

namespace orvane {

// The page's text: the source pane's in Source mode (it may hold edits the
// surface has not been handed yet), the design surface's otherwise.
QString currentPageText(mainFrm& main);

// Writes after over before (the text currentPageText gave). In Source mode only
// the span that differs is replaced in the source pane, as one undoable edit,
// so every other byte and the pane's undo history stay; in Edit mode the
// surface is reloaded by a replacement its undo takes back.
void rewritePage(mainFrm& main, const QString& before, const QString& after);

}  // namespace orvane
