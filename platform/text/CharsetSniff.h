#pragma once
// Finding the encoding a page declares for itself.

#include <QByteArray>

namespace orvane::text {

// The canonical name of an encoding label ("latin1" -> "windows-1252",
// "utf8" -> "UTF-8"), or an empty array when no codec knows the label.
QByteArray canonicalEncoding(const QByteArray& label);

// The encoding declared by an XML declaration at the very start or by a
// <meta charset> / <meta http-equiv="Content-Type"> element before the body,
// canonical; empty when there is none (or it names an unknown encoding).
// A declared UTF-16 means UTF-8 here, as in browsers: the bytes being read
// as ASCII already proves they are not UTF-16.
QByteArray declaredEncoding(const QByteArray& bytes);

}  // namespace orvane::text
