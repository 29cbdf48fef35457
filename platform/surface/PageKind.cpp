#include "PageKind.h"

#include <QRegularExpression>

namespace orvane {

namespace {

// Whether a <frameset> tag stands outside every comment.
bool holdsFrameset(QStringView text)
{
    const auto isFrameset = [&](qsizetype at) {
        const qsizetype after = at + 9;
        return after < text.size()
               && (text[after].isSpace() || text[after] == u'>' || text[after] == u'/');
    };
    qsizetype comment = text.indexOf(u"<!--");
    for (qsizetype at = text.indexOf(u"<frameset", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"<frameset", at + 1, Qt::CaseInsensitive)) {
        while (comment >= 0 && comment < at) {
            const qsizetype end = text.indexOf(u"-->", comment + 4);
            if (end < 0)
                return false;  // the rest of the page is a comment
            if (end + 3 > at) {
                at = end + 3;  // this one is inside the comment: look on after it
                break;
            }
            comment = text.indexOf(u"<!--", end + 3);
        }
        if (at >= text.size())
            return false;
        if (text.sliced(at).startsWith(u"<frameset", Qt::CaseInsensitive) && isFrameset(at))
            return true;
    }
    return false;
}

// Whether the text holds server blocks or server script elements and
// nothing else but white space.
bool onlyServerScript(QStringView text)
{
    static const QRegularExpression serverScript(
        QStringLiteral("\\G<script\\b[^>]*\\brunat\\s*=\\s*[\"']?server\\b[^>]*>.*?(</script\\s*>|$)"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    bool found = false;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at].isSpace()) {
            ++at;
        } else if (text.sliced(at).startsWith(u"<%")) {
            const qsizetype end = text.indexOf(u"%>", at + 2);
            at = end < 0 ? text.size() : end + 2;
            found = true;
        } else if (const auto m = serverScript.match(text, at); m.hasMatch()) {
            at = m.capturedEnd();
            found = true;
        } else {
            return false;
        }
    }
    return found;
}

}  // namespace

PageKind classifyPage(const QString& text)
{
    if (holdsFrameset(text))
        return PageKind::Frameset;
    if (onlyServerScript(text))
        return PageKind::ServerScriptOnly;
    return PageKind::Editable;
}

}  // namespace orvane
