#include "Backups.h"

#include "core/files/DurableFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace Backups {

namespace {

constexpr int kLastKept = 20;
constexpr int kDaysKept = 60;
const QString kStamp = QStringLiteral("yyyy-MM-dd HH-mm-ss");

QString pathOf(DataFile file)
{
    return Platform::programFile(fileNameOf(file));
}

QString folder()
{
    return Platform::programFile(kFolderName);
}

QRegularExpression namePattern(const QString &fileName)
{
    const QFileInfo info(fileName);
    return QRegularExpression(
        QStringLiteral("^%1 (\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)(?: (\\d+))? n(\\d+)\\.%2$")
            .arg(QRegularExpression::escape(info.completeBaseName()),
                 QRegularExpression::escape(info.suffix())));
}

// Removes what is neither among the last 20 nor the last of one of the last 60 days.
void rotate(const QList<Backup> &all)
{
    const QDate firstKeptDay = Platform::today().addDays(1 - kDaysKept);
    QSet<QDate> daysKept;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QDate day = all.at(i).when.date();
        const bool lastOfItsDay = day >= firstKeptDay && !daysKept.contains(day);
        if (lastOfItsDay)
            daysKept.insert(day);
        if (i >= kLastKept && !lastOfItsDay)
            QFile::remove(all.at(i).path);
    }
}

} // namespace

QList<Backup> of(DataFile file)
{
    const QRegularExpression pattern = namePattern(fileNameOf(file));
    QList<Backup> found;
    const QFileInfoList entries = QDir(folder()).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QRegularExpressionMatch m = pattern.match(entry.fileName());
        if (!m.hasMatch())
            continue;
        const QDateTime when = QDateTime::fromString(m.captured(1), kStamp);
        if (!when.isValid()) // a name made by hand, with a day or an hour that never was
            continue;
        found.append({entry.filePath(), when, m.captured(3).toLongLong(), entry.size()});
        // Within one second, the number after the time orders them.
        found.back().when = found.back().when.addMSecs(m.captured(2).toInt());
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) { return a.when > b.when; });
    return found;
}

namespace {

// Keeps `bytes`, the file's present content, in the folder of copies.
bool keepCopy(DataFile file, const QByteArray &bytes, QString *error, const DurableFile::FileLabel &label)
{
    if (bytes.isEmpty())
        return true;
    const QString path = pathOf(file);
    const auto refuse = [&](QString cause) {
        *error = DurableFile::writeFailure(
            path,
            QStringLiteral("sa copie de sauvegarde n'a pas pu être faite dans le dossier %1 : %2")
                .arg(kFolderName, cause.remove(QRegularExpression(QStringLiteral("\\.$")))),
            true, label);
        return false;
    };
    if (!QFileInfo(folder()).isDir() && ::mkdir(QFile::encodeName(folder()).constData(), 0777) != 0)
        return refuse(DurableFile::cause(errno)); // EEXIST: a file has the folder's name
    const qsizetype lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
    const QString stamp = Platform::now().toString(kStamp);
    // Copies made within the same second are told apart by their rank.
    int rank = -1;
    for (const Backup &other : of(file)) {
        if (other.when.toString(kStamp) == stamp)
            rank = std::max(rank, other.when.time().msec());
    }
    const QFileInfo info(fileNameOf(file));
    const QString name =
        QStringLiteral("%1 %2%3 n%4.%5")
            .arg(info.completeBaseName(), stamp, rank >= 0 ? QStringLiteral(" %1").arg(rank + 1) : QString())
            .arg(lines)
            .arg(info.suffix());
    QString failure;
    if (!DurableFile::write(QDir(folder()).filePath(name), bytes, DurableFile::newFileOnly(path, label),
                            &failure))
        return refuse(failure.section(QStringLiteral("\r\n"), 1, 1)); // the cause, after the file's name
    return true;
}

} // namespace

bool keepBeforeRewrite(DataFile file, QString *error, const DurableFile::FileLabel &label)
{
    const QString path = pathOf(file);
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(path, &bytes, &missing, &why)) {
        *error = DurableFile::readFailure(path, why, label);
        return false;
    }
    return missing || keepCopy(file, bytes, error, label);
}

void rewritten(DataFile file)
{
    rotate(of(file));
}

TextFile::RewriteGuard guardOf(DataFile file, const DurableFile::FileLabel &label)
{
    return {[file, label](const QByteArray &present, QString *error) {
                return keepCopy(file, present, error, label);
            },
            [file] {
                rewritten(file);
            }};
}

bool restore(const Backup &backup, DataFile file, QString *error)
{
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(backup.path, &bytes, &missing, &why) || missing) {
        *error = DurableFile::readFailure(backup.path, missing ? QStringLiteral("il n'existe plus") : why);
        return false;
    }
    const QString path = pathOf(file);
    QString failure;
    if (!keepBeforeRewrite(file, &failure) || !DurableFile::write(path, bytes, {}, &failure)) {
        // Said as what the user asked for: the cause, after the file's name.
        *error = QStringLiteral("La sauvegarde du %1 n'a pas pu être restaurée :\r\n%2\r\n\r\n"
                                "Le fichier %3 est resté tel qu'il était.")
                     .arg(backup.when.toString(QStringLiteral("dd/MM/yyyy à HH:mm")),
                          failure.section(QStringLiteral("\r\n"), 1, 1), fileNameOf(file));
        return false;
    }
    rewritten(file);
    return true;
}

} // namespace Backups
