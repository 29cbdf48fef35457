#include "AddressCheck.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace orvane::ftp {

bool isAcceptableServerAddress(const QString& text)
{
    const QString t = text.trimmed();
    if (t.contains(QLatin1Char('.')))
        return true;

    // scheme://[user@]host[:port][/path]
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    QString rest = t;
    if (const auto m = scheme.match(rest); m.hasMatch())
        rest = rest.mid(m.capturedLength());
    const bool hadScheme = rest.size() != t.size();
    rest = rest.section(QLatin1Char('/'), 0, 0);
    rest = rest.section(QLatin1Char('@'), -1);
    if (rest.isEmpty())
        return false;
    if (hadScheme)
        return true;

    static const QRegularExpression bracketed(QStringLiteral(R"(^\[([^\]]+)\](:\d+)?$)"));
    if (const auto m = bracketed.match(rest); m.hasMatch())
        return QHostAddress(m.captured(1)).protocol() == QAbstractSocket::IPv6Protocol;

    if (QHostAddress(rest).protocol() == QAbstractSocket::IPv6Protocol)
        return true;   // a bare IPv6 address such as "::1"

    static const QRegularExpression withPort(QStringLiteral(R"(^[^:\s]+:\d{1,5}$)"));
    if (withPort.match(rest).hasMatch())
        return true;

    return rest.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
}

}  // namespace orvane::ftp
