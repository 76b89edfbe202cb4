#pragma once

#include "MedicinesDatabase.h"

// The copy of the public medicines database the program uses: one file of the program's
// directory, read the first time it is needed, replaced whole by an import.
namespace MedicinesCopy {

inline const QString kFileName = QStringLiteral("Base des médicaments.txt");

// The copy in use, or nothing when none was imported (or it cannot be read: `error` says why).
const MedicinesDatabase *current(QString *error = nullptr);

// The speciality of the box whose GTIN or CIP13 this is, in the copy in use.
const Speciality *specialityOfBox(QStringView code);

// Reads the release the user downloaded into `folder` and makes it the copy in use, its file
// written durably; on any fault the copy in use stays as it was, and `error` says why.
bool importFolder(const QString &folder, QString *error);

} // namespace MedicinesCopy
