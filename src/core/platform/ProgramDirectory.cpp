#include "ProgramDirectory.h"

#include "Seam.h"
#include "core/files/DurableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

bool ExecutableDirectory::isSystemInstall(const QString &executableDir)
{
#ifdef VELLORIN_SYSTEM_LAYOUT
    // Built for the Debian package: installed for the whole system, wherever it stands.
    Q_UNUSED(executableDir)
    return true;
#else
    const QString dir = QDir::cleanPath(executableDir);
    return dir.startsWith(QLatin1String("/usr/")) || dir.startsWith(QLatin1String("/opt/"));
#endif
}

void ExecutableDirectory::seed(const QString &executableDir, const QString &dataDir)
{
    QDir().mkpath(dataDir);
    for (const char *name : {"Pharma_Forme.dat", "Pharma_Type.dat", "Impression.json"}) {
        const QString target = QDir(dataDir).filePath(QLatin1String(name));
        const QString source = QDir(executableDir).filePath(QLatin1String(name));
        QByteArray bytes;
        bool missing = false;
        QString ignored;
        // Written whole or not at all; one that fails is laid out at the next start.
        if (!QFileInfo::exists(target) && DurableFile::read(source, &bytes, &missing, &ignored) && !missing)
            DurableFile::write(target, bytes, DurableFile::newFileOnly(), &ignored);
    }
}

QString ExecutableDirectory::path() const
{
    static const QString dir = [] {
        QString exe = QCoreApplication::applicationDirPath();
        if (!isSystemInstall(exe))
            return exe;
        QString data = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                           .filePath(QStringLiteral("Vellorin"));
        seed(exe, data);
        return data;
    }();
    return dir;
}

namespace {

using DirectorySeam = Seam<const ProgramDirectory, const ExecutableDirectory>;

} // namespace

namespace Platform {

QString programDirectory()
{
    return DirectorySeam::get().path();
}

QString programFile(const QString &fileName)
{
    // The program's files were named on a system whose file names ignore case: a file
    // copied from there as "PHARMACIE.DAT" is the stock, read and written under its name.
    const QDir dir(programDirectory());
    QString exact = dir.filePath(fileName);
    if (QFileInfo::exists(exact) || QFileInfo(exact).isSymLink())
        return exact;
    const QStringList other =
        dir.entryList({fileName}, QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
    return other.isEmpty() ? exact : dir.filePath(other.first());
}

void setProgramDirectory(const ProgramDirectory *dir)
{
    DirectorySeam::set(dir);
}

} // namespace Platform
