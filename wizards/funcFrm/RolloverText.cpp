#include "RolloverText.h"

#include "HtmlTokenizer.h"
#include "HeadEnd.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {
const QString CRLF = QStringLiteral("\r\n");
const QString scriptEnd = QStringLiteral("</script>");
constexpr std::array<const char*, 7> kPairNames = {"one", "two", "three", "four", "five", "six",
                                                   "seven"};

// A file name inside the script's double-quoted string.
QString scriptString(QString name)
{
    return name.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
}

// A file name inside a single-quoted attribute value.
QString attributeValue(QString name)
{
    return name.replace(u'&', QLatin1String("&amp;"))
        .replace(u'\'', QLatin1String("&#39;"))
        .replace(u'<', QLatin1String("&lt;"));
}

QString slotStatements(int k, const QString& file)
{
    // Slots 3 and 4 have always been written without the leading space.
    const QString indent = (k == 3 || k == 4) ? QString() : QStringLiteral(" ");
    return QStringLiteral("isn%1 = new Image();").arg(k) + CRLF + indent
           + QStringLiteral("isn%1.src = \"").arg(k) + scriptString(file) + QStringLiteral("\";")
           + CRLF + u' ' + scriptEnd;
}

QString pairAnchor(int pair, const QString& shownFile)
{
    const QString name = QLatin1String(kPairNames[std::size_t(pair - 1)]);
    const int shown = 2 * pair - 1;
    return QStringLiteral("<a HREF='#' onmouseover='document.%1.src=isn%2.src; return true;' "
                          "onmouseout='document.%1.src=isn%3.src; return true;'>")
               .arg(name).arg(shown + 1).arg(shown)
           + CRLF + QStringLiteral("<img NAME='%1' SRC='").arg(name) + attributeValue(shownFile)
           + QStringLiteral("' border=0></a>");
}
}  // namespace

std::optional<QString> withScriptElement(const QString& source)
{
    const QList<fidelity::Span> blocks = fidelity::findServerBlocks(source);
    const auto inServerBlock = [&blocks](qsizetype at) {
        return std::any_of(blocks.cbegin(), blocks.cend(),
                           [at](const fidelity::Span& b) { return at >= b.begin && at < b.end; });
    };
    for (qsizetype at = source.indexOf(scriptEnd); at >= 0; at = source.indexOf(scriptEnd, at + 1))
        if (!inServerBlock(at))
            return source;
    const qsizetype head = headEndTag(source);
    if (head < 0)
        return std::nullopt;
    return QString(source).insert(head, QStringLiteral("<Script Language='Javascript'> ") + scriptEnd);
}

QList<RolloverStep> rolloverSteps(const QStringList& images)
{
    QList<RolloverStep> steps;
    for (int k = 1; k <= std::min(int(images.size()), kRolloverSlots); ++k)
        steps.append({scriptEnd, slotStatements(k, images.at(k - 1))});
    return steps;
}

QString anchorText(const QStringList& images)
{
    QStringList anchors;
    const int filled = std::min(int(images.size()), kRolloverSlots);
    if (filled >= 1)
        anchors << pairAnchor(1, images.at(0));
    for (int pair = 2; 2 * pair <= filled; ++pair)
        anchors << pairAnchor(pair, images.at(2 * pair - 2));
    return anchors.join(CRLF);
}

}  // namespace orvane
