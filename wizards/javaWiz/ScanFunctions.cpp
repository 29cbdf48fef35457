#include "ScanFunctions.h"

namespace orvane {

namespace {
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

qsizetype skipSpaces(const QString& s, qsizetype i)
{
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    return i;
}
}  // namespace

QStringList scanFunctions(const QString& source)
{
    static const QString keyword = QStringLiteral("function ");
    QStringList entries;
    for (qsizetype f = source.indexOf(keyword); f >= 0; f = source.indexOf(keyword, f + 1)) {
        // "myfunction x(" is not a declaration.
        if (f > 0 && isNameChar(source.at(f - 1)))
            continue;
        const qsizetype start = skipSpaces(source, f + keyword.size());
        qsizetype end = start;
        while (end < source.size() && isNameChar(source.at(end)))
            ++end;
        const qsizetype paren = skipSpaces(source, end);
        if (end > start && paren < source.size() && source.at(paren) == u'(')
            entries << source.mid(start, end - start) + QStringLiteral("()");
    }
    entries << QStringLiteral("Total Number of Functions:%1").arg(entries.size());
    return entries;
}

}  // namespace orvane
