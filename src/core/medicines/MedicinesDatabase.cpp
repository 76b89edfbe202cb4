#include "MedicinesDatabase.h"

#include "core/files/Cp1252.h"
#include "core/files/DurableFile.h"
#include "core/stock/Numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

namespace {

const QString kSpecialitiesFile = QStringLiteral("CIS_bdpm.txt");
const QString kPacksFile = QStringLiteral("CIS_CIP_bdpm.txt");
const QString kConditionsFile = QStringLiteral("CIS_CPD_bdpm.txt");
const QString kAvailabilityFile = QStringLiteral("CIS_CIP_Dispo_Spec.txt");

// The first line of the program's copy: what it is, its form, and the copy's date.
const QByteArray kCopyHeader = "Base des médicaments\t1\t";

// Each file of a release is UTF-8 or Windows-1252, whichever its bytes are.
QString decoded(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? Cp1252::decode(bytes) : text;
}

// The lines of a text, LF or CR LF ended, empty ones left out, with their line numbers.
QList<std::pair<int, QStringView>> linesOf(QStringView text)
{
    QList<std::pair<int, QStringView>> lines;
    int number = 0;
    for (QStringView line : text.tokenize(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines.append({number, line});
    }
    return lines;
}

QString formFault(const QString &file, int line, const QString &what)
{
    return QStringLiteral("Le fichier %1 n'a pas la forme attendue à la ligne %2 : %3.")
        .arg(file)
        .arg(line)
        .arg(what);
}

bool isCip13(QStringView code)
{
    return code.size() == 13 && allDigits(code);
}

// The `wanted` fields of each line of one file of the folder, trimmed; a line has at least
// `fields` of them. An optional file may be missing or empty.
struct DownloadedFile
{
    QList<QStringList> rows;
    QList<int> lineNumbers; // of each row, in the file
};

bool readDownloaded(const QString &folder, const QString &name, int fields, std::initializer_list<int> wanted,
                    bool optional, DownloadedFile *file, QDate *newest, QString *error)
{
    const QString path = QDir(folder).filePath(name);
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(path, &bytes, &missing, &why)) {
        *error = QStringLiteral("Le fichier %1 ne peut pas être lu : %2.").arg(name, why);
        return false;
    }
    if (missing || bytes.isEmpty()) {
        if (optional)
            return true;
        *error = missing ? QStringLiteral("Le dossier choisi ne contient pas le fichier %1.").arg(name)
                         : QStringLiteral("Le fichier %1 est vide.").arg(name);
        return false;
    }
    *newest = std::max(*newest, QFileInfo(path).lastModified().date());
    const QString text = decoded(bytes);
    const auto lines = linesOf(text);
    file->rows.reserve(lines.size());
    std::array<QStringView, 32> parts;
    for (const auto &[number, line] : lines) {
        int count = 0;
        for (QStringView part : line.tokenize(u'\t'))
            parts[std::size_t(std::min(count++, 31))] = part;
        if (count < fields) {
            *error =
                formFault(name, number, QStringLiteral("%1 champs au lieu de %2").arg(count).arg(fields));
            return false;
        }
        QStringList row;
        row.reserve(qsizetype(wanted.size()));
        for (const int field : wanted)
            row.append(parts[std::size_t(field)].trimmed().toString());
        file->rows.append(std::move(row));
        file->lineNumbers.append(number);
    }
    return true;
}

// Each Latin-1 character in lower case and without its accent.
const std::array<char16_t, 256> &latin1Folding()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> folding{};
        for (char16_t c = 0; c < 256; ++c) {
            const QString letter = QString(QChar(c)).normalized(QString::NormalizationForm_D).toLower();
            folding[c] = letter.isEmpty() ? c : letter.at(0).unicode();
        }
        return folding;
    }();
    return table;
}

QString withoutAccents(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : QString::fromRawData(text.data(), text.size()).normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out.append(c.toLower());
    }
    return out;
}

} // namespace

QString folded(QStringView text)
{
    const std::array<char16_t, 256> &table = latin1Folding();
    QString out(text.size(), Qt::Uninitialized);
    QChar *at = out.data();
    for (QChar c : text) {
        if (c.unicode() >= 256)
            return withoutAccents(text);
        *at++ = QChar(table[c.unicode()]);
    }
    return out;
}

QString shortenedAtWord(const QString &text, qsizetype width)
{
    if (text.size() <= width)
        return text;
    const qsizetype blank = text.left(width + 1).lastIndexOf(u' ');
    return (blank > 0 ? text.left(blank) : text.left(width)).trimmed();
}

QString stockName(const QString &specialityName, qsizetype width)
{
    return shortenedAtWord(specialityName.section(u',', 0, 0).trimmed(), width);
}

std::optional<MedicinesDatabase> MedicinesDatabase::readFolder(const QString &folder, QString *error)
{
    MedicinesDatabase db;
    DownloadedFile specialities, packs, conditions, availability;
    QDate newest;
    // A speciality's code, name, form, routes and holder; a box's speciality, description and
    // product code; a condition; an availability's speciality, box and text.
    if (!readDownloaded(folder, kSpecialitiesFile, 12, {0, 1, 2, 3, 10}, false, &specialities, &newest,
                        error) ||
        !readDownloaded(folder, kPacksFile, 13, {0, 2, 6}, false, &packs, &newest, error) ||
        !readDownloaded(folder, kConditionsFile, 2, {0, 1}, true, &conditions, &newest, error) ||
        !readDownloaded(folder, kAvailabilityFile, 4, {0, 1, 3}, true, &availability, &newest, error))
        return std::nullopt;
    db.m_copyDate = newest;
    db.m_specialities.reserve(specialities.rows.size());
    for (const QStringList &f : std::as_const(specialities.rows))
        db.m_specialities.append({f[0], f[1], f[2], f[3], f[4], {}, {}});
    db.m_packs.reserve(packs.rows.size());
    for (qsizetype i = 0; i < packs.rows.size(); ++i) {
        const QStringList &f = packs.rows.at(i);
        if (!isCip13(f[2])) {
            *error = formFault(kPacksFile, packs.lineNumbers.at(i),
                               QStringLiteral("« %1 » n'est pas un code de 13 chiffres").arg(f[2]));
            return std::nullopt;
        }
        db.m_packs.append({f[2], f[0], f[1], {}});
    }
    db.index();
    for (const QStringList &f : std::as_const(conditions.rows)) {
        if (const auto found = db.m_byCis.constFind(f[0]); found != db.m_byCis.cend())
            db.m_specialities[*found].conditions.append(f[1]);
    }
    // An empty product code: every box of the speciality.
    for (const QStringList &f : std::as_const(availability.rows)) {
        if (f[1].isEmpty()) {
            if (const auto found = db.m_byCis.constFind(f[0]); found != db.m_byCis.cend())
                db.m_specialities[*found].availability = f[2];
        } else if (const auto found = db.m_byCip13.constFind(f[1]); found != db.m_byCip13.cend()) {
            db.m_packs[*found].availability = f[2];
        }
    }
    return db;
}

QByteArray MedicinesDatabase::serialized() const
{
    QString text;
    for (const Speciality &s : m_specialities) {
        text += QLatin1String("S\t") + s.cis + u'\t' + s.name + u'\t' + s.form + u'\t' + s.routes + u'\t' +
                s.holder + u'\t' + s.availability + u'\n';
        for (const QString &condition : s.conditions)
            text += QLatin1String("C\t") + s.cis + u'\t' + condition + u'\n';
    }
    for (const Pack &p : m_packs)
        text += QLatin1String("P\t") + p.cip13 + u'\t' + p.cis + u'\t' + p.description + u'\t' +
                p.availability + u'\n';
    return kCopyHeader + m_copyDate.toString(Qt::ISODate).toLatin1() + '\n' + text.toUtf8();
}

std::optional<MedicinesDatabase> MedicinesDatabase::load(const QString &path, QString *error)
{
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(path, &bytes, &missing, &why) || missing) {
        *error = missing ? QString() : why;
        return std::nullopt;
    }
    const QString text = QString::fromUtf8(bytes);
    const auto lines = linesOf(text);
    MedicinesDatabase db;
    if (!bytes.startsWith(kCopyHeader) || lines.isEmpty()) {
        *error = QStringLiteral("ce n'est pas une copie de la base des médicaments");
        return std::nullopt;
    }
    db.m_copyDate = QDate::fromString(lines.first().second.split(u'\t').value(2).toString(), Qt::ISODate);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QStringView> f = lines.at(i).second.split(u'\t');
        if (f[0] == u"S" && f.size() == 7) {
            db.m_specialities.append({f[1].toString(),
                                      f[2].toString(),
                                      f[3].toString(),
                                      f[4].toString(),
                                      f[5].toString(),
                                      {},
                                      f[6].toString()});
        } else if (f[0] == u"C" && f.size() == 3 && !db.m_specialities.isEmpty()) {
            db.m_specialities.last().conditions.append(f[2].toString());
        } else if (f[0] == u"P" && f.size() == 5) {
            db.m_packs.append({f[1].toString(), f[2].toString(), f[3].toString(), f[4].toString()});
        } else {
            *error = QStringLiteral("la ligne %1 est illisible").arg(lines.at(i).first);
            return std::nullopt;
        }
    }
    db.index();
    return db;
}

void MedicinesDatabase::index()
{
    m_byCis.clear();
    m_byCip13.clear();
    m_foldedNames.clear();
    m_byCis.reserve(m_specialities.size());
    m_foldedNames.reserve(m_specialities.size());
    for (qsizetype i = 0; i < m_specialities.size(); ++i) {
        m_byCis.insert(m_specialities.at(i).cis, i);
        m_foldedNames.append(folded(m_specialities.at(i).name));
    }
    m_byCip13.reserve(m_packs.size());
    for (qsizetype i = 0; i < m_packs.size(); ++i)
        m_byCip13.insert(m_packs.at(i).cip13, i);
}

const Pack *MedicinesDatabase::pack(QStringView code) const
{
    if (code.size() == 14 && code.startsWith(u'0'))
        code = code.mid(1);
    const auto found = m_byCip13.constFind(code.toString());
    return found == m_byCip13.cend() ? nullptr : &m_packs.at(*found);
}

const Speciality *MedicinesDatabase::speciality(const QString &cis) const
{
    const auto found = m_byCis.constFind(cis);
    return found == m_byCis.cend() ? nullptr : &m_specialities.at(*found);
}

const Speciality *MedicinesDatabase::byName(QStringView name) const
{
    const QString wanted = folded(name.trimmed());
    for (qsizetype i = 0; i < m_foldedNames.size(); ++i) {
        const QString &candidate = m_foldedNames.at(i);
        const qsizetype comma = candidate.indexOf(u',');
        if (QStringView(candidate).left(comma < 0 ? candidate.size() : comma).trimmed() == wanted)
            return &m_specialities.at(i);
    }
    return nullptr;
}

QList<const Speciality *> MedicinesDatabase::completions(QStringView typed, qsizetype most) const
{
    const QString wanted = folded(typed.trimmed());
    QList<const Speciality *> starting, holding;
    if (wanted.isEmpty())
        return starting;
    for (qsizetype i = 0; i < m_foldedNames.size() && starting.size() < most; ++i) {
        const QString &name = m_foldedNames.at(i);
        if (name.startsWith(wanted))
            starting.append(&m_specialities.at(i));
        else if (holding.size() < most && name.contains(wanted))
            holding.append(&m_specialities.at(i));
    }
    starting += holding;
    starting.resize(std::min(starting.size(), most));
    return starting;
}
