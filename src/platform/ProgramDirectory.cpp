#include "ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

QString ExecutableDirectory::path() const
{
    return QCoreApplication::applicationDirPath();
}

namespace {

const ProgramDirectory *g_directory = nullptr;

const ProgramDirectory &directory()
{
    static const ExecutableDirectory executable;
    return g_directory ? *g_directory : executable;
}

} // namespace

namespace Platform {

QString programDirectory()
{
    return directory().path();
}

QString programFile(const QString &fileName)
{
    return QDir(programDirectory()).filePath(fileName);
}

void setProgramDirectory(const ProgramDirectory *dir)
{
    g_directory = dir;
}

} // namespace Platform
