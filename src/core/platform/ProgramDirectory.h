#pragma once

#include <QString>

// The directory that holds the program and all its data files.
class ProgramDirectory
{
public:
    virtual ~ProgramDirectory() = default;
    virtual QString path() const = 0;
};

// The directory of the running executable, where the program keeps its files. A program
// installed for the whole system (under /usr or /opt) cannot write there: its files then
// live in the user's data directory (~/.local/share/Vellorin), which receives the starting
// value lists and the report template from beside the executable the first time.
class ExecutableDirectory final : public ProgramDirectory
{
public:
    QString path() const override;

    static bool isSystemInstall(const QString &executableDir);
    // Copies the starting files that are missing into `dataDir`; never over a user's file.
    static void seed(const QString &executableDir, const QString &dataDir);
};

namespace Platform {

QString programDirectory();

// The full path of a data file of the program, such as "Pharmacie.dat": the file of that
// name, or when there is none, one whose name differs only in letter case.
QString programFile(const QString &fileName);

// The directory stays owned by the caller; nullptr goes back to the executable's directory.
void setProgramDirectory(const ProgramDirectory *directory);

} // namespace Platform
