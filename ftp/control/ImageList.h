#pragma once
// imgList: the 16 by 16 images of both trees and both lists, by index.
// 1-5 drive types (5 is also the root of either tree), 6 a folder, 7 a
// selected folder.

#include <QIcon>
#include <QPixmap>

class QStyle;

namespace orvane::ftp {

enum ImageIndex : int { kRootImage = 5, kFolderImage = 6, kSelectedFolderImage = 7 };

class ImageList {
public:
    explicit ImageList(const QStyle* style);

    static constexpr int kSize = 16;
    static constexpr int kCount = 7;

    // A null pixmap for an index outside 1..kCount.
    QPixmap image(int index) const;
    // The icon of a tree node: `image`, and `selectedImage` while selected
    // (0 for none).
    QIcon icon(int image, int selectedImage = 0) const;

private:
    QPixmap m_images[kCount + 1];
};

}  // namespace orvane::ftp
