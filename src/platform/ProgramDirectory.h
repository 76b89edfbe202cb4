#pragma once

#include <QString>

// The directory that holds the program and all its data files.
class ProgramDirectory
{
public:
    virtual ~ProgramDirectory() = default;
    virtual QString path() const = 0;
};

// The directory of the running executable.
class ExecutableDirectory final : public ProgramDirectory
{
public:
    QString path() const override;
};

namespace Platform {

QString programDirectory();

// The full path of a data file of the program, such as "Pharmacie.dat".
QString programFile(const QString &fileName);

// The directory stays owned by the caller; nullptr goes back to the executable's directory.
void setProgramDirectory(const ProgramDirectory *directory);

} // namespace Platform
