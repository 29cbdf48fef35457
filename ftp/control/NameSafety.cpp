#include "NameSafety.h"

#include <QFile>

#include <unistd.h>

namespace orvane::ftp {

QString unsafeLocalNameReason(const QString& name, long maxNameBytes)
{
    if (name.isEmpty())
        return QStringLiteral("the name is empty");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("it names a folder, not a file");
    if (name.contains(u'/'))
        return QStringLiteral("it contains \"/\"");
    if (name.contains(u'\\'))
        return QStringLiteral("it contains \"\\\"");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("it contains a control character");
    }
    if (QFile::encodeName(name).size() > maxNameBytes)
        return QStringLiteral("it is longer than the local file system allows (%1 bytes)")
            .arg(maxNameBytes);
    return QString();
}

long maxLocalNameBytes(const QString& folder)
{
    const long max = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return max > 0 ? max : 255;
}

}  // namespace orvane::ftp

namespace orvane::ftp {

QString shownName(const QString& name)
{
    // A name of any length gives a message of one readable line.
    constexpr int kShown = 60;
    QString out;
    for (const QChar c : name.left(kShown)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (name.size() > kShown)
        out += QChar(0x2026);
    return out;
}

}  // namespace orvane::ftp
