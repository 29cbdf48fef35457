#pragma once
#include <QString>

namespace orvane::ftp {

// Whether a text typed as the server to connect to can name one: a text with a
// dot (a domain or an IPv4 address), "localhost", an IP address (IPv6 in
// brackets when a port follows), or a text with a scheme ("sftp://box") or a
// port ("box:2121").
bool isAcceptableServerAddress(const QString& text);

}  // namespace orvane::ftp
