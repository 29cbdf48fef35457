#pragma once
// Finding the encoding a page declares for itself.

#include <QByteArray>

namespace orvane::text {

// The canonical name of an encoding label as browsers read it ("latin1" ->
// "windows-1252", "utf8" -> "UTF-8"); empty for a label browsers do not know,
// for the encodings they refuse to decode and for one no converter here has.
QByteArray canonicalEncoding(const QByteArray& label);

// The encoding declared by an XML declaration at the very start or by a
// <meta charset> / <meta http-equiv="Content-Type"> element before the body,
// canonical; empty when there is none (or it names an unknown encoding).
// A declared UTF-16 means UTF-8 here, as in browsers: the bytes being read
// as ASCII already proves they are not UTF-16.
QByteArray declaredEncoding(const QByteArray& bytes);

}  // namespace orvane::text
