#include "ServedPage.h"

#include "PageFiles.h"
#include "SurfaceTypes.h"
#include "FidelityTokens.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>

namespace orvane {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Whether page holds the start tag <name (any case) at i.
bool startTagAt(QByteArrayView page, qsizetype i, QByteArrayView name)
{
    if (i + 1 + name.size() >= page.size() || page[i] != '<')
        return false;
    for (qsizetype k = 0; k < name.size(); ++k)
        if ((page[i + 1 + k] | 0x20) != name[k])
            return false;
    const char after = page[i + 1 + name.size()];
    return isSpace(after) || after == '>' || after == '/';
}

// Just after the tag starting at i; a quoted attribute value may hold '>'.
qsizetype tagEnd(QByteArrayView page, qsizetype i)
{
    char previous = 0;
    for (; i < page.size(); ++i) {
        const char c = page[i];
        if ((c == '"' || c == '\'') && previous == '=') {
            const qsizetype close = page.indexOf(c, i + 1);
            if (close < 0)
                return page.size();
            i = close;
        } else if (c == '>') {
            return i + 1;
        }
        if (!isSpace(c))
            previous = c;
    }
    return page.size();
}

// Past white space, comments, a doctype and processing instructions at i.
qsizetype skipPreamble(QByteArrayView page, qsizetype i)
{
    while (i < page.size()) {
        if (isSpace(page[i])) {
            ++i;
        } else if (page.sliced(i).startsWith("<!--")) {
            const qsizetype end = page.indexOf("-->", i + 4);
            i = end < 0 ? page.size() : end + 3;
        } else if (page.sliced(i).startsWith("<!") || page.sliced(i).startsWith("<?")) {
            const qsizetype end = page.indexOf('>', i);
            i = end < 0 ? page.size() : end + 1;
        } else {
            break;
        }
    }
    return i;
}

QByteArray escapedAttribute(const QString& value)
{
    return value.toHtmlEscaped().toUtf8();
}

QString servedFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo fi(runtime);
    return !runtime.isEmpty() && fi.isDir() && fi.isWritable() ? runtime : QDir::tempPath();
}

}  // namespace

qsizetype servedHeadPosition(QByteArrayView page)
{
    qsizetype i = skipPreamble(page, 0);
    if (startTagAt(page, i, "html"))
        i = skipPreamble(page, tagEnd(page, i));
    if (startTagAt(page, i, "head"))
        i = tagEnd(page, i);
    return i;
}

QUrl linkBase(const QString& text, const QUrl& real)
{
    static const QRegularExpression href(
        QStringLiteral("\\G<base\\b[^>]*?\\shref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    for (qsizetype at = text.indexOf(u"<base", 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(u"<base", at + 5, Qt::CaseInsensitive)) {
        const QRegularExpressionMatch m = href.match(text, at);
        if (!m.hasMatch())
            continue;
        const QString value = m.captured(1) + m.captured(2) + m.captured(3);
        return real.resolved(QUrl(value.trimmed().replace(QLatin1String("&amp;"), QLatin1String("&"))));
    }
    return real;
}

QByteArray servedHead(const QUrl& base)
{
    const QByteArray served = "data-orv-served";
    return "<base href=\"" + escapedAttribute(base.toString(QUrl::FullyEncoded)) + "\" " + served
           + "><style " + served + ">span[" + fidelity::serverAttribute + "],div[" + fidelity::serverAttribute
           + "]{width:1.4em;height:0.9em;background:#ffe08a;border:1px solid #b8860b}span["
           + fidelity::serverAttribute + "]{display:inline-block;vertical-align:middle}</style>";
}

ServedPage::ServedPage() = default;
ServedPage::~ServedPage() = default;

QUrl ServedPage::write(QByteArrayView page, const QUrl& base)
{
    auto file = std::make_unique<QTemporaryFile>(servedFolder() + QStringLiteral("/orvane-page-XXXXXX.htm"));
    errno = 0;
    if (!file->open())
        throw SurfaceError(fileErrorNumber(errno ? errno : EACCES),
                           QStringLiteral("cannot write the page for the browser: %1").arg(file->errorString()));
    const qsizetype at = servedHeadPosition(page);
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray head = servedHead(base);
    errno = 0;
    const bool written = file->write(bom) == bom.size()
                         && file->write(page.data(), at) == at
                         && file->write(head) == head.size()
                         && file->write(page.data() + at, page.size() - at) == page.size() - at
                         && file->flush();
    if (!written)
        throw SurfaceError(fileErrorNumber(errno ? errno : EIO),
                           QStringLiteral("cannot write the page for the browser: %1").arg(file->errorString()));
    file->close();
    m_file = std::move(file);
    return QUrl::fromLocalFile(m_file->fileName());
}

}  // namespace orvane
