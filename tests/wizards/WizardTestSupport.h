#pragma once
// What the wizard window tests share: pictures made on the spot, and finding
// a window the editor opened.

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

namespace orvane::test {

// A picture of `size` saved as a PNG under `dir`.
inline QString makePicture(const QTemporaryDir& dir, const QString& name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0x30, 0x80, 0xC0));
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}

// The top-level dialog called `name` that is showing, once it shows.
template <typename Window = QDialog>
Window* openWindow(const QString& name)
{
    for (int i = 0; i < 200; ++i) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                if (auto* found = qobject_cast<Window*>(w))
                    return found;
        QTest::qWait(10);
    }
    return nullptr;
}

inline bool isOpen(const QString& name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return true;
    return false;
}

}  // namespace orvane::test
