#pragma once
// The side bars' toolbar: the formatting buttons and the OL, UL and SS captions
// in Picture2, the insertion buttons in Picture3.

#include <QHash>
#include <QObject>

class QWidget;

namespace orvane {

class ToolButton;

class Toolbar : public QObject {
    Q_OBJECT
public:
    static constexpr int kButtonSize = 26;

    Toolbar(QWidget* picture2, QWidget* picture3);

    ToolButton* button(const QString& name) const;
    QStringList names() const;

signals:
    void clicked(const QString& control);

private:
    QHash<QString, ToolButton*> m_buttons;
};

}  // namespace orvane
