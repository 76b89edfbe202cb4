#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class QFile;

// Files written so that a failure or a crash at any moment leaves either the whole former
// file or the whole new one, never a mix: the new content is written and synced beside the
// old file under a work name, then takes its place in one rename, and the directory is
// synced. Every failure comes back as a French sentence that names the file and the cause.
namespace DurableFile {

// How messages name a file: "le fichier Pharmacie.dat", or what the user knows it as.
struct FileLabel
{
    QString name; // "la liste des voies d'administration"; empty: the file by its name
    bool feminine = false;
};

// "le fichier Pharmacie.dat", or the label's name.
QString shownName(const QString &path, const FileLabel &label);

enum class Existing
{
    Replace,     // the file is replaced when there is one
    MustNotExist // the write fails rather than take the place of a file
};

enum class WorkFile
{
    Named,   // beside the target from the start, removed at the program's next start
    Unnamed, // nameless until complete, where the file system allows: for a user's folder,
             // which no start of the program clears
};

struct Options
{
    Existing existing = Existing::Replace;
    // Whose permissions and group the new file takes; the file itself when it exists.
    QString permissionsFrom;
    WorkFile work = WorkFile::Named;
    FileLabel label;
};

// A new file, never one in the place of another: a copy, a dated file.
inline Options newFileOnly(const QString &permissionsFrom = {}, const FileLabel &label = {})
{
    Options options;
    options.existing = Existing::MustNotExist;
    options.permissionsFrom = permissionsFrom;
    options.label = label;
    return options;
}

// Opens a regular file for reading; anything else (a folder, a pipe, a device) is refused
// at once instead of being waited on, with the cause in `why`. A missing file sets
// `missing` and is no failure.
bool openForReading(const QString &path, QFile *file, bool *missing, QString *why);

// The whole content of a regular file; nothing for a missing one.
bool read(const QString &path, QByteArray *bytes, bool *missing, QString *why);

bool write(const QString &path, QByteArrayView bytes, const Options &options, QString *error);

// A file written into a folder of the user's (an export, a PDF), which no start of the
// program clears: the new content has no name until it is complete, and the work files that
// earlier writes of files of its kind (its extension) left there are removed first.
bool writeIntoUserFolder(const QString &path, QByteArrayView bytes, Existing existing, QString *error);

// Puts `work`, a complete file in the same folder, in the place of `target`, keeping
// the target's permissions and group. `work` is gone afterwards, whatever happens.
bool replace(const QString &work, const QString &target, QString *error);

// Removes the files of `directory` that `isWorkFile` tells are work files a copy of the
// program that stopped in the middle of a write left there. Returns how many were removed.
int removeWorkFiles(const QString &directory, const std::function<bool(const QString &name)> &isWorkFile);
// The same for the work files of the files `targets` names ("*.csv"), in a folder that is
// not the program's.
int removeWorkFiles(const QString &directory, const QStringList &targets);

// Not an errno value: a pipe, a device or a socket where a file of the program belongs.
inline constexpr int kNotRegularFile = -1;

// The cause of a failed system call (an errno value, or kNotRegularFile), in French,
// without final stop.
QString cause(int errnum);

QString readFailure(const QString &path, const QString &why, const FileLabel &label = {});
QString writeFailure(const QString &path, const QString &why, bool existed, const FileLabel &label = {});

} // namespace DurableFile
