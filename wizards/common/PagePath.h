#pragma once
// Where a picture lies as seen from the page that will show it, so that the
// links the wizards write keep working once the page is published.

#include <QString>

namespace orvane {

// The picture's path relative to the folder of the page file `page`, with
// "../" steps when it lies outside that folder; empty when the page has no
// file yet.
QString pathFromPage(const QString& picture, const QString& page);

}  // namespace orvane
