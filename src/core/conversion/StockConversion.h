#pragma once

#include "FieldMap.h"

#include <QStringList>

// The files of one conversion of the stock file, all in the program's directory: the
// dated copy of the old file ("Pharmacie" + ddmmyyyy + ".sav", never written over), the
// work files "Pharmacie.new" (old fields at their new widths) and "Pharmacie.def" (the
// added fields appended), and at last "Pharmacie.dat" replaced in one rename, only once
// the new file is complete. Whatever fails, the stock file stays as it was and the work
// files go.
class StockConversion
{
public:
    StockConversion();
    ~StockConversion();
    StockConversion(const StockConversion &) = delete;
    StockConversion &operator=(const StockConversion &) = delete;

    // Reads the old stock file once; a missing file is an error here: nothing to convert.
    bool readOld(QString *error);

    // Empty when every record's old fields fit their new widths; otherwise which field and
    // which record do not.
    QString checkFit(const QList<OldField> &fields, const QStringList &fieldTitles) const;

    // The dated copy, then "Pharmacie.new".
    bool pass1(const QList<OldField> &fields, QString *error);
    // "Pharmacie.def" is created before the added fields are asked for.
    bool openPass2(QString *error);
    bool pass2(const QString &suffix, QString *error);
    // "Pharmacie.new" removed, then "Pharmacie.def" takes the place of "Pharmacie.dat", once
    // read back whole with as many records as the old file.
    bool replace(QString *error);
    // Removes the work files; the stock file and the dated copy stay.
    void abandon();

private:
    QString file(const QString &name) const;
    QString datedCopyPath() const;

    QByteArray m_oldBytes;
    QStringList m_old;
    QStringList m_new;
    bool m_done = false;
};
