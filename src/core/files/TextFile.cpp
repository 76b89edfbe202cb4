#include "TextFile.h"

#include "Cp1252.h"
#include "DurableFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/file.h>

namespace {

using DurableFile::FileLabel;

QString writeFailure(const QString &path, const QString &why, const FileLabel &label)
{
    return DurableFile::writeFailure(path, why, QFileInfo::exists(path), label);
}

// "Le fichier", or the label's noun: "La liste".
QString unchangedSubject(const FileLabel &label)
{
    return label.name.isEmpty() ? QStringLiteral("Le fichier") : QStringLiteral("La liste");
}

// Text typed by the user may hold characters the file cannot store; say which one
// rather than letting it turn into a substitute byte.
bool encodeLines(const QString &path, const QStringList &lines, QByteArray *bytes, QString *error,
                 const FileLabel &label)
{
    // Every line straight into one buffer: a save of the whole stock encodes megabytes.
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QByteArray out(total, Qt::Uninitialized);
    char *at = out.data();
    for (const QString &line : lines) {
        // A line end inside a line would make two records of one: said first, as it is the
        // bigger fault.
        const bool encoded = Cp1252::encodeInto(line, at);
        if (encoded ? std::memchr(at, '\n', size_t(line.size())) != nullptr
                    : line.contains(QLatin1Char('\n'))) {
            *error = QStringLiteral("Le texte « %1 » contient un saut de ligne, que %2 ne peut pas "
                                    "enregistrer dans une ligne.\r\n\r\n%3 n'est pas modifié%4.")
                         .arg(line.left(line.indexOf(QLatin1Char('\n'))).trimmed(),
                              DurableFile::shownName(path, label), unchangedSubject(label),
                              label.feminine ? QStringLiteral("e") : QString());
            return false;
        }
        if (!encoded) {
            const QChar bad = line.at(Cp1252::firstUnencodable(line));
            *error = QStringLiteral("Le texte « %1 » contient le caractère « %2 », que %3 "
                                    "ne peut pas enregistrer.\r\n\r\n%4 n'est pas modifié%5.")
                         .arg(line.trimmed(), QString(bad), DurableFile::shownName(path, label),
                              unchangedSubject(label), label.feminine ? QStringLiteral("e") : QString());
            return false;
        }
        at += line.size();
        *at++ = '\r';
        *at++ = '\n';
    }
    *bytes = std::move(out);
    return true;
}

// Another program that holds a lock on the file is working on it: leave it alone.
bool lockedByAnother(const QString &path)
{
    QFile file;
    bool missing = false;
    QString ignored;
    if (!DurableFile::openForReading(path, &file, &missing, &ignored))
        return false;
    if (::flock(file.handle(), LOCK_EX | LOCK_NB) == 0) {
        ::flock(file.handle(), LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

bool checkWritable(const QString &path, QString *error, const FileLabel &label)
{
    const QFileInfo info(path);
    // The write bits, not only access(): a file the user made read-only stays so even for
    // an administrator.
    // (The "User" bits follow access(), which grants an administrator everything.)
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!QFileInfo(info.absolutePath()).isWritable()) {
        *error = writeFailure(path, QStringLiteral("le dossier du programme est en lecture seule"), label);
        return false;
    }
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite))) {
        *error = writeFailure(path, QStringLiteral("le fichier est en lecture seule"), label);
        return false;
    }
    if (info.exists() && lockedByAnother(path)) {
        *error = writeFailure(path,
                              QStringLiteral("un autre programme l'utilise en ce moment ; "
                                             "réessayez quand il l'aura libéré"),
                              label);
        return false;
    }
    return true;
}

DurableFile::Options withLabel(const FileLabel &label)
{
    DurableFile::Options options;
    options.label = label;
    return options;
}

} // namespace

namespace TextFile {

QStringList splitLines(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool lastLine = end < 0;
        if (lastLine)
            end = bytes.size();
        qsizetype stop = end;
        if (!lastLine && stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines.append(Cp1252::decode(bytes.sliced(start, stop - start)));
        start = end + 1;
    }
    return lines;
}

bool readLines(const QString &path, QStringList *lines, QString *error)
{
    lines->clear();
    QFile file;
    bool missing = false;
    QString why;
    if (!DurableFile::openForReading(path, &file, &missing, &why)) {
        if (!missing)
            *error = DurableFile::readFailure(path, why);
        return missing;
    }
    // Mapped rather than read: each line is decoded straight from the file's pages into its
    // own string, with no copy of the whole file in between.
    QByteArray buffer;
    QByteArrayView bytes;
    if (file.size() > 0) {
        if (const uchar *mapped = file.map(0, file.size()))
            bytes = QByteArrayView(mapped, file.size());
        else {
            buffer = file.readAll();
            bytes = buffer;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        *error = DurableFile::readFailure(path, DurableFile::cause(EIO));
        return false;
    }
    *lines = splitLines(bytes);
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error, const FileLabel &label,
                const RewriteGuard &guard)
{
    QByteArray bytes;
    if (!encodeLines(path, lines, &bytes, error, label) || !checkWritable(path, error, label))
        return false;
    if (guard.before) {
        QByteArray present;
        bool missing = false;
        QString why;
        if (!DurableFile::read(path, &present, &missing, &why)) {
            *error = DurableFile::readFailure(path, why, label);
            return false;
        }
        if (!guard.before(present, error))
            return false;
    }
    if (!DurableFile::write(path, bytes, withLabel(label), error))
        return false;
    if (guard.after)
        guard.after();
    return true;
}

bool appendLine(const QString &path, const QString &line, QString *error, const FileLabel &label,
                const RewriteGuard &guard)
{
    QByteArray added;
    if (!encodeLines(path, {line}, &added, error, label) || !checkWritable(path, error, label))
        return false;
    // The whole file is written anew with the line at its end: an append that fails half-way
    // could not be undone with certainty, a replaced file can.
    QByteArray bytes;
    bool missing = false;
    QString why;
    if (!DurableFile::read(path, &bytes, &missing, &why)) {
        *error = DurableFile::readFailure(path, why);
        return false;
    }
    if (guard.before && !guard.before(bytes, error))
        return false;
    // A last line left without its line end by another program must not be glued
    // to the new one.
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes.append("\r\n");
    bytes.append(added);
    if (!DurableFile::write(path, bytes, withLabel(label), error))
        return false;
    if (guard.after)
        guard.after();
    return true;
}

} // namespace TextFile
