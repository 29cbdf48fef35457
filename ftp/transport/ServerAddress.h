#pragma once
// The server address the user typed ("host", "host:port", "ftp://host",
// "ftpes://", "ftps://", "sftp://") and the libcurl URLs derived from it.

#include <QByteArray>
#include <QString>

namespace orvane::ftp {

struct ServerAddress {
    enum class Security {
        TlsIfOffered,   // ftp:// or no scheme: explicit TLS when the server offers it
        TlsRequired,    // ftpes://: explicit TLS or nothing
        ImplicitTls,    // ftps://
        Ssh,            // sftp://
    };

    QString host;
    int port = 0;                  // the default of the scheme when none was given
    Security security = Security::TlsIfOffered;
    QString error;                 // why the text is not a usable address; empty if it is

    bool isValid() const { return error.isEmpty(); }
    bool isSsh() const { return security == Security::Ssh; }

    // The URL of the login folder: "ftp://host:port/" or "sftp://host:port/~/".
    QByteArray loginFolderUrl() const;
    // The URL of path relative to the login folder (an absolute path when it
    // starts with "/"), each part percent-encoded; folder adds a trailing "/".
    QByteArray urlOf(const QString& path, bool folder) const;
    // The same for a path given as the bytes the server knows it by.
    QByteArray urlOfBytes(const QByteArray& path, bool folder) const;
};

// Without a scheme, a word that cannot be a host on its own ("fileserver") is
// refused; "fileserver:21", "localhost", "10.0.0.1" and "fe80::1" are hosts.
ServerAddress parseServerAddress(const QString& text);

}  // namespace orvane::ftp
