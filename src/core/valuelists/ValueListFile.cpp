#include "ValueListFile.h"

#include "core/platform/ProgramDirectory.h"
#include "core/store/TextFile.h"

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

// The list as its window speaks of it, in messages.
DurableFile::FileLabel labelOf(const QString &fileName)
{
    if (fileName == kRoutesFileName)
        return {QStringLiteral("la liste des voies d'administration"), true};
    if (fileName == kPresentationsFileName)
        return {QStringLiteral("la liste des présentations"), true};
    return {};
}

} // namespace

bool writeValueList(const QString &fileName, const QStringList &entries, QString *error)
{
    return TextFile::writeLines(valueListPath(fileName), entries, error, labelOf(fileName));
}

bool appendToValueList(const QString &fileName, const QString &entry, QString *error)
{
    return TextFile::appendLine(valueListPath(fileName), entry, error, labelOf(fileName));
}
