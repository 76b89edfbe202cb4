#pragma once

#include <QString>

// The program's data files, beside it: the stock, one medicine a line, and the two value
// lists the editor offers, one entry a line.
inline const QString kStockFileName = QStringLiteral("Pharmacie.dat");
inline const QString kRoutesFileName = QStringLiteral("Pharma_Forme.dat");       // routes ("Forme")
inline const QString kPresentationsFileName = QStringLiteral("Pharma_Type.dat"); // presentations ("Type")

// Which of them a backup, a message or a write is about.
enum class DataFile
{
    Stock,
    Routes,
    Presentations
};

inline QString fileNameOf(DataFile file)
{
    switch (file) {
    case DataFile::Stock:
        return kStockFileName;
    case DataFile::Routes:
        return kRoutesFileName;
    case DataFile::Presentations:
        break;
    }
    return kPresentationsFileName;
}
