#include "ImageList.h"

#include <QStyle>

namespace orvane::ftp {

ImageList::ImageList(const QStyle* style)
{
    static constexpr QStyle::StandardPixmap kByIndex[kCount + 1] = {
        QStyle::SP_CustomBase,   // index 0 is not used
        QStyle::SP_DriveFDIcon,  // 1 removable
        QStyle::SP_DriveHDIcon,  // 2 fixed
        QStyle::SP_DriveNetIcon, // 3 network
        QStyle::SP_DriveCDIcon,  // 4 optical
        QStyle::SP_ComputerIcon, // 5 root, RAM disk
        QStyle::SP_DirClosedIcon,// 6 folder
        QStyle::SP_DirOpenIcon,  // 7 selected folder
    };
    for (int i = 1; i <= kCount; ++i)
        m_images[i] = style->standardIcon(kByIndex[i]).pixmap(kSize, kSize);
}

QPixmap ImageList::image(int index) const
{
    return index >= 1 && index <= kCount ? m_images[index] : QPixmap();
}

QIcon ImageList::icon(int image, int selectedImage) const
{
    QIcon icon;
    if (const QPixmap normal = this->image(image); !normal.isNull())
        icon.addPixmap(normal, QIcon::Normal);
    if (const QPixmap selected = this->image(selectedImage); !selected.isNull())
        icon.addPixmap(selected, QIcon::Selected);
    return icon;
}

}  // namespace orvane::ftp
