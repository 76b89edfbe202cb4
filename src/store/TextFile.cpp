#include "TextFile.h"

#include "Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <sys/file.h>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString displayName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString reason(const QString &path, const QFileDevice &file)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("c'est un dossier, pas un fichier");
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return QStringLiteral("accès refusé");
    case QFileDevice::ResourceError:
        return QStringLiteral("plus de place sur le disque");
    case QFileDevice::WriteError:
        return QStringLiteral("l'écriture a échoué (disque plein ?)");
    case QFileDevice::ReadError:
        return QStringLiteral("la lecture a échoué");
    default:
        break;
    }
    if (info.exists() && !info.isReadable())
        return QStringLiteral("accès refusé");
    return QStringLiteral("erreur du système (%1)").arg(file.errorString());
}

QString readFailure(const QString &path, const QString &why)
{
    return QStringLiteral("Le fichier %1 ne peut pas être lu :\r\n%2.").arg(displayName(path), why);
}

QString writeFailure(const QString &path, const QString &why)
{
    return QStringLiteral("Le fichier %1 n'a pas pu être enregistré :\r\n%2.\r\n\r\n"
                          "Son contenu précédent est conservé.")
        .arg(displayName(path), why);
}

// Text typed by the user may hold characters the file cannot store; say which one
// rather than letting it turn into a substitute byte.
bool encodeLines(const QString &path, const QStringList &lines, QByteArray *bytes, QString *error)
{
    bytes->clear();
    for (const QString &line : lines) {
        QByteArray encoded;
        if (!Cp1252::encode(line, &encoded)) {
            const QChar bad = line.at(Cp1252::firstUnencodable(line));
            *error = QStringLiteral("Le texte « %1 » contient le caractère « %2 », que le fichier %3 "
                                    "ne peut pas enregistrer.\r\n\r\nLe fichier n'est pas modifié.")
                         .arg(line.trimmed(), QString(bad), displayName(path));
            return false;
        }
        bytes->append(encoded);
        bytes->append("\r\n");
    }
    return true;
}

// Another program that holds a lock on the file is working on it: leave it alone.
bool lockedByAnother(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (::flock(file.handle(), LOCK_EX | LOCK_NB) == 0) {
        ::flock(file.handle(), LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

bool checkWritable(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = writeFailure(path, QStringLiteral("c'est un dossier, pas un fichier"));
        return false;
    }
    // The write bits, not only access(): a file the user made read-only stays so even for
    // an administrator.
    // (The "User" bits follow access(), which grants an administrator everything.)
    constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!QFileInfo(info.absolutePath()).isWritable()) {
        *error = writeFailure(path, QStringLiteral("le dossier du programme est en lecture seule"));
        return false;
    }
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite))) {
        *error = writeFailure(path, QStringLiteral("le fichier est en lecture seule"));
        return false;
    }
    if (info.exists() && lockedByAnother(path)) {
        *error = writeFailure(path, QStringLiteral("un autre programme l'utilise en ce moment ; "
                                                   "réessayez quand il l'aura libéré"));
        return false;
    }
    return true;
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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir()) {
        *error = readFailure(path, QStringLiteral("c'est un dossier, pas un fichier"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = readFailure(path, reason(path, file));
        return false;
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
        *error = readFailure(path, reason(path, file));
        return false;
    }
    *lines = splitLines(bytes);
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    QByteArray bytes;
    if (!encodeLines(path, lines, &bytes, error) || !checkWritable(path, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = writeFailure(path, reason(path, file));
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = writeFailure(path, reason(path, file));
        file.cancelWriting();
        return false;
    }
    return true;
}

bool appendLine(const QString &path, const QString &line, QString *error)
{
    QByteArray bytes;
    if (!encodeLines(path, {line}, &bytes, error) || !checkWritable(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        *error = writeFailure(path, reason(path, file));
        return false;
    }
    const qint64 formerSize = file.size();
    // A last line left without its line end by another program must not be glued
    // to the new one.
    if (formerSize > 0) {
        file.seek(formerSize - 1);
        char last = 0;
        if (file.getChar(&last) && last != '\n')
            bytes.prepend(kLineEnd.toLatin1());
    }
    file.seek(formerSize);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        *error = writeFailure(path, reason(path, file));
        file.resize(formerSize);
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *error = writeFailure(path, reason(path, file));
        return false;
    }
    return true;
}

} // namespace TextFile
