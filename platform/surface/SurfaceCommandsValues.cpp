#include "SurfaceCommandsValues.h"

#include "SurfaceTypes.h"

#include <QColor>
#include <QRegularExpression>

namespace orvane::commands {

namespace {

[[noreturn]] void invalid(const QString& what)
{
    throw SurfaceError(SurfaceErrorNumber::InvalidArgument, what);
}

// The largest table INSERTTABLE builds; beyond it the page would stall.
constexpr int MaxTableCells = 100000;

}  // namespace

QString htmlColor(const QVariant& value)
{
    const QString text = value.toString().trimmed();
    const QColor color = QColor::fromString(text);
    if (text.isEmpty() || !color.isValid() || color.alpha() != 255)
        invalid(QStringLiteral("not a colour: %1").arg(text));
    return color.name(QColor::HexRgb).toUpper();
}

int htmlFontSize(const QVariant& value)
{
    bool ok = false;
    const int size = value.toString().trimmed().toInt(&ok);
    if (!ok || size < 1 || size > 7)
        invalid(QStringLiteral("font size must be 1 to 7: %1").arg(value.toString()));
    return size;
}

QString fontName(const QVariant& value)
{
    const QString name = value.toString().trimmed();
    if (name.isEmpty())
        invalid(QStringLiteral("no font name"));
    return name;
}

QJsonObject tableEntry(const QVariant& value)
{
    if (!value.canConvert<TableParam>() || value.metaType() != QMetaType::fromType<TableParam>())
        invalid(QStringLiteral("INSERTTABLE needs a TableParam"));
    const TableParam p = value.value<TableParam>();
    if (p.NumRows < 1 || p.NumCols < 1)
        invalid(QStringLiteral("a table needs at least one row and one column"));
    if (qint64(p.NumRows) * p.NumCols > MaxTableCells)
        invalid(QStringLiteral("a table of %1 by %2 cells is too big").arg(p.NumRows).arg(p.NumCols));
    return QJsonObject{{QStringLiteral("rows"), p.NumRows},
                       {QStringLiteral("cols"), p.NumCols},
                       {QStringLiteral("tableAttrs"), p.TableAttrs},
                       {QStringLiteral("cellAttrs"), p.CellAttrs},
                       {QStringLiteral("caption"), p.Caption}};
}

QString fragmentFromClipboardHtml(const QString& html)
{
    static const QRegularExpression marks(
        QStringLiteral("<!--\\s*StartFragment\\s*-->(.*)<!--\\s*EndFragment\\s*-->"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = marks.match(html);
    if (m.hasMatch())
        return m.captured(1);
    static const QRegularExpression body(
        QStringLiteral("<body\\b[^>]*>(.*?)(</body\\s*>|$)"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch b = body.match(html);
    if (b.hasMatch())
        return b.captured(1);
    // A bare fragment, perhaps after a charset meta that copying added.
    static const QRegularExpression lead(
        QStringLiteral("^\\s*(<meta\\b[^>]*>\\s*)+"), QRegularExpression::CaseInsensitiveOption);
    QString out = html;
    out.remove(lead);
    return out;
}

QString htmlFromPlainText(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1Char('\n'), QLatin1String("<BR>"));
    return out;
}

}  // namespace orvane::commands
