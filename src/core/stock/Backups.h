#pragma once

#include "DataFiles.h"
#include "core/files/DurableFile.h"
#include "core/files/TextFile.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Copies of the data files kept before each rewrite, in the "Sauvegardes" folder beside
// them: "Pharmacie 2026-12-06 14-03-22 n1234.dat" (the file's name, the moment it was
// replaced, how many lines it held). Kept: the last 20 of each file, and the last one of
// each of the last 60 days; the others are removed as new ones come.
namespace Backups {

inline const QString kFolderName = QStringLiteral("Sauvegardes");

struct Backup
{
    QString path;
    QDateTime when;
    qsizetype lines = 0;
    qint64 size = 0;
};

// Keeps the present content of the file before it is rewritten, when it holds something.
// False, with the reason, when the copy could not be made: the rewrite must not go on then.
bool keepBeforeRewrite(DataFile file, QString *error, const DurableFile::FileLabel &label = {});
// Once the rewrite is done, the copies no longer kept are removed; never before, so that a
// save that fails on a nearly full disk has removed nothing.
void rewritten(DataFile file);
// Both, for the text writer's rewrites of the file.
TextFile::RewriteGuard guardOf(DataFile file, const DurableFile::FileLabel &label = {});

// The copies of a data file, the newest first.
QList<Backup> of(DataFile file);

// Puts a copy back in the place of its file, byte for byte, the present content kept first.
bool restore(const Backup &backup, DataFile file, QString *error);

} // namespace Backups
