#pragma once

#include <QString>
#include <QStringView>

// What may stand in a record or a value list entry: each is one line of the file, so no
// line break, and no control character (tabulation, NUL, BEL, DEL...) that the user
// could not see or that would move the fields.
namespace TypedText {

bool isLineBreak(QChar c);
bool isStorable(QChar c);

// The position of the first character that may not be stored, or -1.
qsizetype firstUnstorable(QStringView text);

// The character's name for the user, in French: "tabulation", "saut de ligne (LF)"...
QString nameOf(QChar c);

// Empty when `text` may be stored; else a sentence for the user naming the character,
// e.g. "Le nom « A\tB » contient le caractère « tabulation », qu'une ligne du fichier ne
// peut pas contenir." (`what` is "Le nom", "La voie d'administration"...).
QString refusal(const QString &what, QStringView text);

// Text as pasted, without the line end that copying a whole line brings along.
QStringView withoutTrailingLineEnd(QStringView text);

} // namespace TypedText
