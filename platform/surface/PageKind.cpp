#include "PageKind.h"

#include <QRegularExpression>

namespace orvane {

PageKind classifyPage(const QString& text)
{
    static const QRegularExpression comment(QStringLiteral("<!--.*?(-->|$)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression frameset(QStringLiteral("<frameset[\\s>/]"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression serverBlock(QStringLiteral("<%.*?(%>|$)"),
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression serverScript(
        QStringLiteral("<script\\b[^>]*\\brunat\\s*=\\s*[\"']?server\\b[^>]*>.*?(</script\\s*>|$)"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);

    if (QString(text).remove(comment).contains(frameset))
        return PageKind::Frameset;
    const QString rest = QString(text).remove(serverBlock).remove(serverScript);
    if (rest.size() != text.size() && rest.trimmed().isEmpty())
        return PageKind::ServerScriptOnly;
    return PageKind::Editable;
}

}  // namespace orvane
