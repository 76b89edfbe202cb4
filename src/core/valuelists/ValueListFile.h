#pragma once

#include "core/stock/DataFiles.h"
#include "core/stock/MedicineRecord.h"

#include <QString>
#include <QStringList>

// The two value lists offered by the medicine editor, one entry per line: the routes of
// administration ("Forme") and the presentations ("Type"). An entry is the whole line,
// as read: nothing is trimmed, an empty line is an empty entry.

// The two lists: routes of administration ("Forme") and presentations ("Type").
enum class ValueList
{
    Routes,
    Presentations
};

// Entries are at most this long; the editor's entry box stops there.
inline constexpr int kValueListEntryLength = int(RecordLayout::kRoute.width);

// How an entry shows in a list: a line of a file edited by hand can be of any length, and
// laying out megabytes of text would freeze the window; the entry itself stays whole.
QString shownEntry(const QString &entry);

QString valueListPath(const QString &fileName);
QString valueListFileName(ValueList list);
// How messages name a list: "la liste des voies d'administration".
QString valueListLabel(ValueList list);

// A missing file is an empty list.
bool readValueList(const QString &fileName, QStringList *entries, QString *error);
bool writeValueList(const QString &fileName, const QStringList &entries, QString *error);
bool appendToValueList(const QString &fileName, const QString &entry, QString *error);
