#pragma once
// The object our page scripts reach through the web channel ("surfaceHost"):
// the page pushes its display changes here instead of being polled.

#include <QObject>

namespace orvane {

class SurfaceHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    // The selection or the content changed.
    void displayChanged() { emit displayChangedPushed(); }

signals:
    void displayChangedPushed();
};

}  // namespace orvane
