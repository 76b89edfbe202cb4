#include "MedicinesCopy.h"

#include "core/files/DurableFile.h"
#include "core/platform/ProgramDirectory.h"

#include <memory>

namespace {

// The copy read, and the file it was read from: another program directory (a test's) reads
// its own.
struct Loaded
{
    QString path;
    std::unique_ptr<MedicinesDatabase> database;
    QString error;
};

Loaded &loaded()
{
    static Loaded copy;
    return copy;
}

} // namespace

namespace MedicinesCopy {

const MedicinesDatabase *current(QString *error)
{
    Loaded &copy = loaded();
    const QString path = Platform::programFile(kFileName);
    if (copy.path != path) {
        copy = {path, nullptr, {}};
        if (auto database = MedicinesDatabase::load(path, &copy.error))
            copy.database = std::make_unique<MedicinesDatabase>(std::move(*database));
    }
    if (error && !copy.error.isEmpty())
        *error =
            QStringLiteral("La copie de la base des médicaments ne peut pas être lue : %1.").arg(copy.error);
    return copy.database.get();
}

const Speciality *specialityOfBox(QStringView code)
{
    const MedicinesDatabase *database = current();
    const Pack *pack = database ? database->pack(code) : nullptr;
    return pack ? database->speciality(pack->cis) : nullptr;
}

bool importFolder(const QString &folder, QString *error)
{
    auto database = MedicinesDatabase::readFolder(folder, error);
    if (!database)
        return false;
    const QString path = Platform::programFile(kFileName);
    if (!DurableFile::write(path, database->serialized(), {}, error))
        return false;
    loaded() = {path, std::make_unique<MedicinesDatabase>(std::move(*database)), {}};
    return true;
}

} // namespace MedicinesCopy
