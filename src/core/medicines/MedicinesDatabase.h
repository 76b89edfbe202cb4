#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The public medicines database ("base de données publique des médicaments"), as France
// publishes it: plain text files, one line a speciality or a box, tab-separated fields. The
// program keeps a copy of what it uses in one file of its directory, replaced whole by each
// import.

// A medicine as sold: its name ("DOLIPRANE 1000 mg, comprimé"), pharmaceutical form, routes
// ("orale;rectale"), holder(s), prescription conditions and availability.
struct Speciality
{
    QString cis;
    QString name;
    QString form;
    QString routes;
    QString holder;
    QStringList conditions;
    QString availability; // for every box of the speciality
};

// A box: its product code (CIP13, 13 digits), the speciality, what it holds.
struct Pack
{
    QString cip13;
    QString cis;
    QString description;
    QString availability; // for this box alone
};

class MedicinesDatabase
{
public:
    // The files the user downloaded, read from `folder`: CIS_bdpm.txt and CIS_CIP_bdpm.txt,
    // and CIS_CPD_bdpm.txt and CIS_CIP_Dispo_Spec.txt when they are there. Nothing when a
    // file is missing or malformed; `error` then names the file and the line.
    static std::optional<MedicinesDatabase> readFolder(const QString &folder, QString *error);

    // The program's own copy, as `save` wrote it.
    static std::optional<MedicinesDatabase> load(const QString &path, QString *error);
    QByteArray serialized() const;

    QDate copyDate() const { return m_copyDate; } // when the files were downloaded
    qsizetype specialityCount() const { return m_specialities.size(); }
    qsizetype packCount() const { return m_packs.size(); }

    // The box whose GTIN ("0" and the CIP13) or CIP13 this is.
    const Pack *pack(QStringView code) const;
    const Speciality *speciality(const QString &cis) const;
    // The speciality whose name, before its first comma, is this one, case and accents aside.
    const Speciality *byName(QStringView name) const;
    // Specialities whose name holds the typed text, case and accents aside: those whose name
    // starts with it first, each group in the database's order; at most `most`.
    QList<const Speciality *> completions(QStringView typed, qsizetype most) const;

private:
    void index();

    QDate m_copyDate;
    QList<Speciality> m_specialities;
    QList<Pack> m_packs;
    QHash<QString, qsizetype> m_byCis;
    QHash<QString, qsizetype> m_byCip13;
    QStringList m_foldedNames; // as compared: lower case, accents removed
};

// The text, or its first words that hold in `width` characters (its first `width` characters
// when the first word is longer).
QString shortenedAtWord(const QString &text, qsizetype width);

// The name a medicine is given in the stock: the speciality's name before its first comma,
// at most `width` characters, cut at a word boundary when it must be.
QString stockName(const QString &specialityName, qsizetype width);

// Lower case and without accents, for comparisons that ignore both.
QString folded(QStringView text);
