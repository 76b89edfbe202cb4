#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// How the records of an older stock file become records of the current layout: each old
// field, found at its start and length, padded to its new width, in the old order; then
// the added fields, the same text in every record.
struct OldField
{
    short start = 1;  // 1-based position in the old record
    short length = 0; // characters taken from there, fewer where the record is shorter
    short newLength = 0;
};

struct AddedField
{
    short length = 0;
    QString value; // as typed, blanks included
};

struct FieldMap
{
    QList<OldField> oldFields;
    QList<AddedField> addedFields;
};

// The position (1-based) of the last ":" of an answer; nothing when it holds none.
std::optional<qsizetype> verif_saisie(const QString &answer);

// "start:length", split at the last colon, each side read by the numeric value rule.
struct StartLength
{
    double start = 0;
    double length = 0;
};
std::optional<StartLength> readStartLength(const QString &answer);

// The old fields of one record at their new widths. Text longer than its new width may
// lose only blanks; otherwise the 0-based index of the first field that does not fit is
// given and nothing is returned.
std::optional<QString> convertFields(QStringView record, const QList<OldField> &fields,
                                     int *fieldThatDoesNotFit);

// What every record gets at its end: each added value padded to its length.
QString addedSuffix(const QList<AddedField> &fields);
