#include "WebAddress.h"

#include <QRegularExpression>

namespace orvane {

QString webAddressFromAnswer(const QString& answer)
{
    static const QRegularExpression withScheme(
        QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):[/\\\\]{2}(.*)$"));
    const QString text = answer.trimmed();
    if (text.isEmpty())
        return {};
    // A line break or other control character cannot be part of an address:
    // such an answer opens nothing rather than a mangled address.
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return {};
    const QRegularExpressionMatch m = withScheme.match(text);
    if (!m.hasMatch())
        return QStringLiteral("http://") + text;
    QString rest = m.captured(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (rest.isEmpty())
        return {};
    return m.captured(1).toLower() + QStringLiteral("://") + rest;
}

}  // namespace orvane
