// Reading a value list (or any of the program's text files). What must hold: the lines
// written back with CR LF, read again, are the same lines; every byte of the content
// survives; no line holds a line feed.
#include "FuzzSupport.h"
#include "core/files/Cp1252.h"
#include "core/files/TextFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const QStringList lines = TextFile::splitLines(bytes);
    QByteArray written;
    for (const QString &line : lines) {
        FUZZ_REQUIRE(!line.contains(QLatin1Char('\n')));
        QByteArray encoded;
        FUZZ_REQUIRE(Cp1252::encode(line, &encoded));
        written += encoded + "\r\n";
    }
    FUZZ_REQUIRE(TextFile::splitLines(written) == lines);
    // Nothing but line ends told apart: the same bytes once they are taken out.
    QByteArray content = bytes;
    content.replace("\r\n", "\n");
    QByteArray rewritten = written;
    rewritten.replace("\r\n", "\n");
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += '\n';
    FUZZ_REQUIRE(rewritten == content);
    return 0;
}
