// The write path, on real files: the lines of the input are written, a last one is added
// at the end, and the file read back holds exactly those lines, each ended by CR LF, the
// bytes of every line unchanged; no work file is left beside it.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/files/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory where the machine has it: every write is synced.
    static QTemporaryDir dir(
        (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/fuzz_write-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("Pharmacie.dat"));
    QStringList lines = TextFile::splitLines(bytesOf(data, size));
    const QString added = lines.isEmpty() ? QString() : lines.takeFirst();

    QString error;
    FUZZ_REQUIRE(TextFile::writeLines(path, lines, &error));
    FUZZ_REQUIRE(TextFile::appendLine(path, added, &error));
    lines.append(added);

    QStringList read;
    FUZZ_REQUIRE(TextFile::readLines(path, &read, &error));
    FUZZ_REQUIRE(read == lines);
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString &line : lines) {
        QByteArray encoded;
        FUZZ_REQUIRE(Cp1252::encode(line, &encoded));
        expected += encoded + "\r\n";
    }
    FUZZ_REQUIRE(file.readAll() == expected);
    FUZZ_REQUIRE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 1);
    return 0;
}
