#include "TableText.h"

namespace orvane {

QString tableText(int rows, int cols, const QString& tableAttrs, const QString& cellAttrs)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString cell = QStringLiteral("<TD ") + cellAttrs + QStringLiteral(">  </TD>") + crlf;
    QString text = QStringLiteral("<TABLE ") + tableAttrs + QLatin1Char('>') + crlf;
    for (int r = 0; r < rows; ++r) {
        text += QStringLiteral("<TR>") + crlf;
        for (int c = 0; c < cols; ++c)
            text += cell;
        text += QStringLiteral("</TR>") + crlf;
    }
    return text + QStringLiteral("</TABLE>");
}

std::optional<int> tableCount(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar ch : digits)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
    bool isNumber = false;
    const int count = digits.toInt(&isNumber);
    if (!isNumber || count > kMaxTableCount)
        return std::nullopt;
    return count;
}

}  // namespace orvane
