#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The data files are 8-bit windows-1252 text: one byte per character, so a column
// counted in characters is a column counted in bytes. Decoding maps every one of the
// 256 byte values to a character and encoding maps it back, so a file read and written
// again keeps every byte, including the five values the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D), which travel as U+0081... like the control codes.
namespace Cp1252 {

QString decode(QByteArrayView bytes);

// Returns false when some character has no windows-1252 form; `bytes` is then left empty.
bool encode(QStringView text, QByteArray *bytes);
// Writes the text's bytes at `out`, which has room for one a character; false at the first
// character without a byte (what was written before it stays).
bool encodeInto(QStringView text, char *out);

// The first character of `text` that windows-1252 cannot hold, or -1 when there is none.
qsizetype firstUnencodable(QStringView text);

} // namespace Cp1252
