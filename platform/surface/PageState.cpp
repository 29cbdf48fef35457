#include "PageState.h"

namespace orvane {

bool PageState::accept(const QJsonObject& snapshot)
{
    const double origin = snapshot.value(QLatin1String("origin")).toDouble(-1);
    const double seq = snapshot.value(QLatin1String("seq")).toDouble(-1);
    const bool newer = origin > m_origin || (origin == m_origin && seq > m_seq);
    if (!newer || seq < 0 || !snapshot.value(QLatin1String("status")).isObject())
        return false;
    m_origin = origin;
    m_seq = seq;
    m_snapshot = snapshot;
    m_current = true;
    return true;
}

std::optional<int> PageState::status(const QString& command) const
{
    const QJsonValue v = m_snapshot.value(QLatin1String("status")).toObject().value(command);
    if (!m_current || !v.isDouble())
        return std::nullopt;
    return v.toInt();
}

std::optional<QJsonObject> PageState::value(const QString& command) const
{
    const QJsonValue v = m_snapshot.value(QLatin1String("values")).toObject().value(command);
    if (!m_current || !v.isObject())
        return std::nullopt;
    return v.toObject();
}

}  // namespace orvane
