#include "FtpOperation.h"

namespace orvane::ftp {

Operation Operation::dir(const QString& path, bool withBlank)
{
    Operation op;
    op.m_verb = Verb::Dir;
    if (!path.isEmpty())
        op.m_args = {path};
    op.m_blank = withBlank;
    return op;
}

Operation Operation::ls(const QString& path, bool withBlank)
{
    Operation op = dir(path, withBlank);
    op.m_verb = Verb::Ls;
    return op;
}

Operation Operation::mkdir(const QString& path)
{
    Operation op;
    op.m_verb = Verb::Mkdir;
    op.m_args = {path};
    return op;
}

Operation Operation::remove(const QString& path)
{
    Operation op;
    op.m_verb = Verb::Delete;
    op.m_args = {path};
    return op;
}

Operation Operation::rename(const QString& from, const QString& to)
{
    Operation op;
    op.m_verb = Verb::Rename;
    op.m_args = {from, to};
    return op;
}

Operation Operation::rmdir(const QString& path)
{
    Operation op;
    op.m_verb = Verb::Rmdir;
    op.m_args = {path};
    return op;
}

Operation Operation::get(const QString& remote, const QString& local)
{
    Operation op;
    op.m_verb = Verb::Get;
    op.m_args = {remote, local};
    return op;
}

Operation Operation::put(const QString& local, const QString& remote)
{
    Operation op;
    op.m_verb = Verb::Put;
    op.m_args = {local, remote};
    return op;
}

Operation Operation::close()
{
    Operation op;
    op.m_verb = Verb::Close;
    return op;
}

QString Operation::text() const
{
    QString word;
    switch (m_verb) {
    case Verb::Dir: word = QStringLiteral("dir"); break;
    case Verb::Ls: word = QStringLiteral("ls"); break;
    case Verb::Mkdir: word = QStringLiteral("mkdir"); break;
    case Verb::Delete: word = QStringLiteral("DELETE"); break;
    case Verb::Rename: word = QStringLiteral("rename"); break;
    case Verb::Rmdir: word = QStringLiteral("rmdir"); break;
    case Verb::Get: word = QStringLiteral("GET"); break;
    case Verb::Put: word = QStringLiteral("PUT"); break;
    case Verb::Close: return QStringLiteral("close");
    }
    // Every argument follows one blank, empty ones too ("mkdir " with no
    // answer); a listing without a path has a blank only when asked for.
    if ((m_verb == Verb::Dir || m_verb == Verb::Ls) && m_args.isEmpty())
        return m_blank ? word + u' ' : word;
    QString out = word;
    for (const QString& a : m_args)
        out += u' ' + a;
    return out;
}

}  // namespace orvane::ftp
