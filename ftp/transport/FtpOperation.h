#pragma once
// Operations of the transfer control as structured values: a verb and its
// arguments, rendered to the operation text ("dir", "ls pub/", "PUT a b" ...)
// without ever being split on blanks.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace orvane::ftp {

class Operation {
public:
    enum class Verb { Dir, Ls, Mkdir, Delete, Rename, Rmdir, Get, Put, Close };

    Operation() = default;  // "dir"
    static Operation dir(const QString& path = QString(), bool withBlank = false);
    static Operation ls(const QString& path = QString(), bool withBlank = true);
    static Operation mkdir(const QString& path);
    static Operation remove(const QString& path);           // "DELETE "
    static Operation rename(const QString& from, const QString& to);
    static Operation rmdir(const QString& path);
    static Operation get(const QString& remote, const QString& local);
    static Operation put(const QString& local, const QString& remote);
    static Operation close();

    Verb verb() const { return m_verb; }
    const QStringList& args() const { return m_args; }
    // The operation text, e.g. "ls " + path or "rename " + a + " " + b.
    QString text() const;

private:
    Operation(Verb verb, QStringList args = {}, bool blank = false);

    Verb m_verb = Verb::Dir;
    QStringList m_args;
    bool m_blank = false;   // "dir " / "ls " with an empty path keep their blank
};

class InetBusy : public std::runtime_error {
public:
    InetBusy() : std::runtime_error("Still executing last request") {}
};

class InetRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orvane::ftp
