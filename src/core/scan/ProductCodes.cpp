#include "ProductCodes.h"

#include "core/files/TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/stock/MedicineRecord.h"

namespace {

constexpr qsizetype kGtinWidth = 14;
constexpr qsizetype kDateWidth = 10;

QString field(const QString &line, qsizetype start, qsizetype width)
{
    return RecordLayout::trimBlanks(QStringView(line).mid(start, width)).toString();
}

} // namespace

std::optional<KnownMedicine> knownMedicine(const QString &gtin, QString *error)
{
    QStringList lines;
    if (!TextFile::readLines(Platform::programFile(kCodesFileName), &lines, error))
        return std::nullopt;
    for (const QString &line : lines) {
        if (QStringView(line).left(kGtinWidth) == gtin) {
            const qsizetype at = kGtinWidth;
            return KnownMedicine{
                field(line, at + RecordLayout::kName.start, RecordLayout::kName.width),
                field(line, at + RecordLayout::kRoute.start, RecordLayout::kRoute.width),
                field(line, at + RecordLayout::kPresentation.start, RecordLayout::kPresentation.width),
                field(line, at + RecordLayout::kPresentation.start + RecordLayout::kPresentation.width,
                      kDateWidth)};
        }
    }
    return std::nullopt;
}

QStringList codesOf(const KnownMedicine &medicine, QString *error)
{
    QStringList lines, codes;
    if (!TextFile::readLines(Platform::programFile(kCodesFileName), &lines, error))
        return codes;
    const qsizetype at = kGtinWidth;
    for (const QString &line : std::as_const(lines)) {
        if (field(line, at + RecordLayout::kName.start, RecordLayout::kName.width) == medicine.name &&
            field(line, at + RecordLayout::kRoute.start, RecordLayout::kRoute.width) == medicine.route &&
            field(line, at + RecordLayout::kPresentation.start, RecordLayout::kPresentation.width) ==
                medicine.presentation)
            codes.prepend(line.left(kGtinWidth).trimmed());
    }
    return codes;
}

bool rememberMedicine(const QString &gtin, const KnownMedicine &medicine, QString *error)
{
    const QString path = Platform::programFile(kCodesFileName);
    QStringList lines;
    if (!TextFile::readLines(path, &lines, error))
        return false;
    const QString line =
        gtin.leftJustified(kGtinWidth, QLatin1Char(' '), true) +
        medicine.name.leftJustified(RecordLayout::kName.width, QLatin1Char(' '), true) +
        medicine.route.leftJustified(RecordLayout::kRoute.width, QLatin1Char(' '), true) +
        medicine.presentation.leftJustified(RecordLayout::kPresentation.width, QLatin1Char(' '), true) +
        medicine.expiry.leftJustified(kDateWidth, QLatin1Char(' '), true);
    // Lines of other codes are kept byte for byte; the code's own line is replaced.
    lines.removeIf([&](const QString &old) { return QStringView(old).left(kGtinWidth) == gtin; });
    lines << line;
    return TextFile::writeLines(path, lines, error);
}
