#pragma once
// The encoding labels browsers accept, and the encoding each names.

#include <QByteArray>
#include <QByteArrayView>

namespace orvane::text {

// The encoding a label names ("latin1" -> "windows-1252", " UTF8 " ->
// "UTF-8"), matched after trimming ASCII white space and ignoring ASCII case;
// empty for a label browsers do not know. "replacement" stands for the
// encodings browsers refuse to decode (ISO-2022-KR, HZ and the like).
QByteArray encodingForLabel(QByteArrayView label);

}  // namespace orvane::text
