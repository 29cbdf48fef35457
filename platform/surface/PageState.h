#pragma once
// The page's last reported state (every command's status, the font name and
// size, the selection kind, the element at the caret), kept so that the
// program's questions about the selection are answered without a call into
// the page. A snapshot replaces the kept one only when it is newer; the kept
// one stops being current when the page may have changed since.

#include <QJsonObject>
#include <QString>
#include <optional>

namespace orvane {

class PageState {
public:
    // Takes a snapshot {origin, seq, status: {command: state}, values:
    // {command: answer}, selection, element}; origin is when its document
    // began, seq counts the document's snapshots. An older or malformed one
    // is ignored. Answers whether it was taken.
    bool accept(const QJsonObject& snapshot);
    // The page may have changed since the kept snapshot.
    void invalidate() { m_current = false; }
    bool current() const { return m_current; }

    // The kept status of a page command, while current.
    std::optional<int> status(const QString& command) const;
    // The kept answer {ok, value} or {ok: false, reason} of a query command, while current.
    std::optional<QJsonObject> value(const QString& command) const;
    QString selection() const { return m_snapshot.value(QLatin1String("selection")).toString(); }
    QString element() const { return m_snapshot.value(QLatin1String("element")).toString(); }

private:
    QJsonObject m_snapshot;
    double m_origin = -1;
    double m_seq = -1;
    bool m_current = false;
};

}  // namespace orvane
