#include "ValueListFile.h"

#include "core/files/TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/stock/Backups.h"

QString shownEntry(const QString &entry)
{
    // Well beyond an entry's length, so that the first characters, which a record keeps,
    // are all there.
    constexpr qsizetype kShownLength = 64;
    if (entry.size() <= kShownLength)
        return entry;
    return entry.left(kShownLength) + QChar(0x2026);
}

QString valueListPath(const QString &fileName)
{
    return Platform::programFile(fileName);
}

bool readValueList(const QString &fileName, QStringList *entries, QString *error)
{
    return TextFile::readLines(valueListPath(fileName), entries, error);
}

namespace {

DataFile dataFileOf(const QString &fileName)
{
    return fileName == kRoutesFileName ? DataFile::Routes : DataFile::Presentations;
}

DurableFile::FileLabel labelOf(DataFile list)
{
    return {valueListLabel(list == DataFile::Routes ? ValueList::Routes : ValueList::Presentations), true};
}

} // namespace

QString valueListFileName(ValueList list)
{
    return list == ValueList::Routes ? kRoutesFileName : kPresentationsFileName;
}

QString valueListLabel(ValueList list)
{
    return list == ValueList::Routes ? QStringLiteral("la liste des voies d'administration")
                                     : QStringLiteral("la liste des présentations");
}

bool writeValueList(const QString &fileName, const QStringList &entries, QString *error)
{
    const DataFile list = dataFileOf(fileName);
    return TextFile::writeLines(valueListPath(fileName), entries, error, labelOf(list),
                                Backups::guardOf(list, labelOf(list)));
}

bool appendToValueList(const QString &fileName, const QString &entry, QString *error)
{
    const DataFile list = dataFileOf(fileName);
    return TextFile::appendLine(valueListPath(fileName), entry, error, labelOf(list),
                                Backups::guardOf(list, labelOf(list)));
}
