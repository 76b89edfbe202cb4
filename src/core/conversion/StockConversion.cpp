#include "StockConversion.h"

#include "core/files/DurableFile.h"
#include "core/files/SystemCalls.h"
#include "core/files/TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"
#include "core/stock/Backups.h"
#include "core/stock/StockFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    bool missing = false;
    QString why;
    if (!DurableFile::read(stockFilePath(), &m_oldBytes, &missing, &why)) {
        *error = DurableFile::readFailure(stockFilePath(), why);
        return false;
    }
    if (missing) {
        *error = QStringLiteral("Le fichier Pharmacie.dat est introuvable dans le dossier du programme : "
                                "il n'y a rien à convertir.");
        return false;
    }
    m_old = TextFile::splitLines(m_oldBytes);
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
        return QStringLiteral(
                   "%1 : le texte « %2 » de l'enregistrement %3 ne tient pas dans sa nouvelle longueur (%4).")
            .arg(fieldTitles.value(field), text.trimmed())
            .arg(r + 1)
            .arg(f.newLength);
    }
    return QString();
}

bool StockConversion::pass1(const QList<OldField> &fields, QString *error)
{
    // The copy is the file itself as it was read, byte for byte: the user's way back. It
    // is as private as the stock.
    if (!DurableFile::write(datedCopyPath(), m_oldBytes, DurableFile::newFileOnly(stockFilePath()), error))
        return false;
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
    Platform::systemCalls().unlink(QFile::encodeName(file(kNew)).constData());
    // The new file, read back from the disk, must hold every record before it takes the
    // place of the stock.
    QStringList written;
    if (!TextFile::readLines(file(kDef), &written, error))
        return false;
    if (written.size() != m_old.size()) {
        *error = QStringLiteral("Pharmacie.def ne contient que %1 enregistrements sur %2")
                     .arg(written.size())
                     .arg(m_old.size());
        return false;
    }
    if (!Backups::keepBeforeRewrite(DataFile::Stock, error) ||
        !DurableFile::replace(file(kDef), stockFilePath(), error))
        return false;
    Backups::rewritten(DataFile::Stock);
    m_done = true;
    return true;
}

void StockConversion::abandon()
{
    SystemCalls &sys = Platform::systemCalls();
    sys.unlink(QFile::encodeName(file(kNew)).constData());
    sys.unlink(QFile::encodeName(file(kDef)).constData());
}
