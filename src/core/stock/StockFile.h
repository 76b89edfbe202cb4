#pragma once

#include "DataFiles.h"
#include "MedicineRecord.h"

#include <QDate>
#include <QStringList>

#include <optional>

// The stock file "Pharmacie.dat" in the program's directory: one medicine per line.

QString stockFilePath();

// Every line in file order, without its line end, trailing blanks kept. A missing file
// is an empty stock; a file that cannot be read gives no lines and a message in `error`.
QStringList readStock(QString *error);

// Cuts the seven fields from their columns; `indispensable` is the last ten characters,
// so the line must not lose its trailing blanks before it gets here. Short lines give
// blank or partial fields.
MedicineRecord parseRecord(QStringView line);
MedicineRecordView recordView(QStringView line);

// One line of exactly 111 characters: each text without its outer blanks, left-justified,
// padded with blanks or cut to its field's width.
QString composeRecord(QStringView name, QStringView route, QStringView presentation, QStringView quantity,
                      QStringView expiry, QStringView threshold, QStringView indispensable);

// Appends one line (the file is created when missing). False and a message on failure.
bool appendToStock(const QString &line, QString *error);

// Replaces the whole file by the lines; a failure leaves the previous file whole.
bool writeStock(const QStringList &lines, QString *error);

// A quantity or threshold field as a number; blank gives 0.
int fieldNumber(QStringView field);

// Days from today to the expiry date: 0 on the expiry day, negative once past.
// Nothing for a blank date or one that is not a calendar date (00/05/2020, 29/02/2100):
// such a medicine never counts as expired nor as expiring.
std::optional<int> daysToExpiry(const MedicineRecord &record);
// The expiry date on the calendar; nothing for a blank date or one that is not a calendar date.
std::optional<QDate> expiryDate(QStringView expiry);
std::optional<int> daysToExpiry(QStringView expiry, QDate today);
