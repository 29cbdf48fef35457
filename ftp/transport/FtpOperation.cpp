#include "FtpOperation.h"

namespace orvane::ftp {

Operation::Operation(Verb verb, QStringList args, bool blank)
    : m_verb(verb), m_args(std::move(args)), m_blank(blank)
{
}

Operation Operation::dir(const QString& path, bool withBlank)
{
    return {Verb::Dir, path.isEmpty() ? QStringList() : QStringList{path}, withBlank};
}

Operation Operation::ls(const QString& path, bool withBlank)
{
    return {Verb::Ls, path.isEmpty() ? QStringList() : QStringList{path}, withBlank};
}

Operation Operation::mkdir(const QString& path) { return {Verb::Mkdir, {path}}; }
Operation Operation::remove(const QString& path) { return {Verb::Delete, {path}}; }
Operation Operation::rename(const QString& from, const QString& to) { return {Verb::Rename, {from, to}}; }
Operation Operation::rmdir(const QString& path) { return {Verb::Rmdir, {path}}; }
Operation Operation::get(const QString& remote, const QString& local) { return {Verb::Get, {remote, local}}; }
Operation Operation::put(const QString& local, const QString& remote) { return {Verb::Put, {local, remote}}; }
Operation Operation::close() { return {Verb::Close}; }

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
