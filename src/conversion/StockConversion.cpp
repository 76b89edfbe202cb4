#include "StockConversion.h"

#include "platform/ProgramDirectory.h"
#include "platform/Today.h"
#include "store/StockFile.h"
#include "store/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QString kNew = QStringLiteral("Pharmacie.new");
const QString kDef = QStringLiteral("Pharmacie.def");

} // namespace

StockConversion::StockConversion() = default;

StockConversion::~StockConversion()
{
    if (!m_done)
        abandon();
}

QString StockConversion::file(const QString &name) const
{
    return Platform::programFile(name);
}

QString StockConversion::datedCopyPath() const
{
    const QString base = QStringLiteral("Pharmacie") + Platform::today().toString(QStringLiteral("ddMMyyyy"));
    QString path = file(base + QStringLiteral(".sav"));
    // A second conversion the same day keeps the first day's copy.
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = file(QStringLiteral("%1_%2.sav").arg(base).arg(n));
    return path;
}

bool StockConversion::readOld(QString *error)
{
    if (!QFileInfo::exists(cheminPharmacie())) {
        *error = QStringLiteral("Le fichier Pharmacie.dat est introuvable dans le dossier du programme : "
                                "il n'y a rien à convertir.");
        return false;
    }
    QString failure;
    m_old = lit_pharmacie(&failure);
    if (!failure.isEmpty()) {
        *error = failure;
        return false;
    }
    return true;
}

QString StockConversion::checkFit(const QList<OldField> &fields, const QStringList &fieldTitles) const
{
    for (qsizetype r = 0; r < m_old.size(); ++r) {
        int field = -1;
        if (convertFields(m_old.at(r), fields, &field))
            continue;
        const OldField &f = fields.at(field);
        const QString text = m_old.at(r).mid(f.start - 1, f.length);
        return QStringLiteral("%1 : le texte « %2 » de l'enregistrement %3 ne tient pas dans sa nouvelle longueur (%4).")
            .arg(fieldTitles.value(field), text.trimmed())
            .arg(r + 1)
            .arg(f.newLength);
    }
    return QString();
}

bool StockConversion::pass1(const QList<OldField> &fields, QString *error)
{
    m_savPath = datedCopyPath();
    // The copy is the file itself, byte for byte: the user's way back.
    if (!QFile::copy(cheminPharmacie(), m_savPath)) {
        *error = QStringLiteral("la copie %1 n'a pas pu être écrite").arg(QFileInfo(m_savPath).fileName());
        m_savPath.clear();
        return false;
    }
    m_new.clear();
    m_new.reserve(m_old.size());
    for (const QString &line : m_old)
        m_new << convertFields(line, fields, nullptr).value_or(QString());
    return TextFile::writeLines(file(kNew), m_new, error);
}

bool StockConversion::openPass2(QString *error)
{
    return TextFile::writeLines(file(kDef), {}, error);
}

bool StockConversion::pass2(const QString &suffix, QString *error)
{
    QStringList lines;
    QString failure;
    if (!TextFile::readLines(file(kNew), &lines, &failure)) {
        *error = failure;
        return false;
    }
    for (QString &line : lines)
        line += suffix;
    return TextFile::writeLines(file(kDef), lines, error);
}

bool StockConversion::replace(QString *error)
{
    QFile::remove(file(kNew));
    // One rename puts the complete new file in place of the old one.
    if (std::rename(QFile::encodeName(file(kDef)).constData(), QFile::encodeName(cheminPharmacie()).constData()) != 0) {
        *error = QStringLiteral("Pharmacie.def n'a pas pu remplacer Pharmacie.dat (%1)")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_done = true;
    return true;
}

void StockConversion::abandon()
{
    QFile::remove(file(kNew));
    QFile::remove(file(kDef));
}
