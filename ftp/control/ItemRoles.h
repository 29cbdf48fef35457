#pragma once
// Data roles the control keeps on its tree nodes and list items.

#include <Qt>

namespace orvane::ftp {

enum ItemRole : int {
    KeyRole = Qt::UserRole,      // the node's or item's key
    TagRole,                     // a list item's tag ("File", "Folder")
    ImageRole,                   // imgList index of the image, 0 for none
    SelectedImageRole,           // imgList index shown while selected, 0 for none
    SortedChildrenRole,          // a tree node whose children are kept sorted
};

}  // namespace orvane::ftp
