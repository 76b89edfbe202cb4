#pragma once

#include "DurableFile.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

// Whole-file access to the program's windows-1252 text files, one entry per line.
// Every failure comes back as a complete French sentence for the user, naming the file
// as `label` says.
namespace TextFile {

// The lines of a file's bytes, as readLines gives them.
QStringList splitLines(QByteArrayView bytes);

// Every line without its line end (CR LF, or LF alone), with trailing blanks kept.
// A last line without a line end is a line too. A missing file reads as no lines; anything
// but a regular file is refused.
bool readLines(const QString &path, QStringList *lines, QString *error);

// What the owner of a file does around each rewrite of it: `before` sees the present content
// once the new one is ready (false, with the reason, stops the rewrite: a backup that could
// not be made), `after` runs once the new content is in place.
struct RewriteGuard
{
    std::function<bool(const QByteArray &present, QString *error)> before;
    std::function<void()> after;
};

// Replaces the file by the lines, each ended by CR LF: the whole new file or, on failure,
// the whole former one.
bool writeLines(const QString &path, const QStringList &lines, QString *error,
                const DurableFile::FileLabel &label = {}, const RewriteGuard &guard = {});

// Adds one line and its CR LF at the end, creating the file when missing. A failure
// leaves the file as it was.
bool appendLine(const QString &path, const QString &line, QString *error,
                const DurableFile::FileLabel &label = {}, const RewriteGuard &guard = {});

} // namespace TextFile
