#include "StockFile.h"

#include "Backups.h"
#include "Numbers.h"
#include "core/files/TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"

#include <cmath>
#include <limits>

namespace RecordLayout {

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace RecordLayout

namespace {

QStringView cut(QStringView line, RecordLayout::Field field)
{
    if (field.start >= line.size())
        return {};
    return RecordLayout::trimBlanks(
        line.sliced(field.start, std::min(field.width, line.size() - field.start)));
}

void appendField(QString &line, QStringView text, qsizetype width)
{
    const QStringView trimmed = RecordLayout::trimBlanks(text).left(width);
    line.append(trimmed);
    line.append(QString(width - trimmed.size(), QLatin1Char(' ')));
}

// Two digits at `pos` as a number, or -1.
int twoDigits(QStringView s, qsizetype pos)
{
    const QChar a = s[pos];
    const QChar b = s[pos + 1];
    if (!a.isDigit() || !b.isDigit() || a.unicode() > '9' || b.unicode() > '9')
        return -1;
    return (a.unicode() - '0') * 10 + (b.unicode() - '0');
}

} // namespace

QString stockFilePath()
{
    return Platform::programFile(kStockFileName);
}

QStringList readStock(QString *error)
{
    QStringList lines;
    QString failure;
    if (!TextFile::readLines(stockFilePath(), &lines, &failure)) {
        if (error)
            *error = failure;
        return {};
    }
    return lines;
}

MedicineRecordView recordView(QStringView line)
{
    MedicineRecordView v;
    v.name = cut(line, RecordLayout::kName);
    v.route = cut(line, RecordLayout::kRoute);
    v.presentation = cut(line, RecordLayout::kPresentation);
    v.quantity = cut(line, RecordLayout::kQuantity);
    v.expiry = cut(line, RecordLayout::kExpiry);
    v.threshold = cut(line, RecordLayout::kThreshold);
    v.indispensable = RecordLayout::trimBlanks(line.right(RecordLayout::kIndispensableWidth));
    return v;
}

MedicineRecord parseRecord(QStringView line)
{
    const MedicineRecordView v = recordView(line);
    return {v.name.toString(),   v.route.toString(),     v.presentation.toString(), v.quantity.toString(),
            v.expiry.toString(), v.threshold.toString(), v.indispensable.toString()};
}

QString composeRecord(QStringView name, QStringView route, QStringView presentation, QStringView quantity,
                      QStringView expiry, QStringView threshold, QStringView indispensable)
{
    QString line;
    line.reserve(RecordLayout::kLineLength);
    appendField(line, name, RecordLayout::kName.width);
    appendField(line, route, RecordLayout::kRoute.width);
    appendField(line, presentation, RecordLayout::kPresentation.width);
    appendField(line, quantity, RecordLayout::kQuantity.width);
    appendField(line, expiry, RecordLayout::kExpiry.width);
    appendField(line, threshold, RecordLayout::kThreshold.width);
    appendField(line, indispensable, RecordLayout::kIndispensableWidth);
    return line;
}

bool appendToStock(const QString &line, QString *error)
{
    return TextFile::appendLine(stockFilePath(), line, error, {}, Backups::guardOf(DataFile::Stock));
}

bool writeStock(const QStringList &lines, QString *error)
{
    return TextFile::writeLines(stockFilePath(), lines, error, {}, Backups::guardOf(DataFile::Stock));
}

int fieldNumber(QStringView field)
{
    const double value = std::nearbyint(numericValue(field));
    if (std::isnan(value))
        return 0;
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

std::optional<QDate> expiryDate(QStringView expiry)
{
    // "dd/mm/yyyy", the form the date box produces; read by hand because it is done
    // for every line of the stock at every refill.
    const QStringView d = RecordLayout::trimBlanks(expiry);
    if (d.size() != 10 || d[2] != QLatin1Char('/') || d[5] != QLatin1Char('/'))
        return std::nullopt;
    const int day = twoDigits(d, 0);
    const int month = twoDigits(d, 3);
    const int hi = twoDigits(d, 6);
    const int lo = twoDigits(d, 8);
    if (day < 0 || month < 0 || hi < 0 || lo < 0)
        return std::nullopt;
    const QDate date(hi * 100 + lo, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<int> daysToExpiry(QStringView expiry, QDate today)
{
    const std::optional<QDate> date = expiryDate(expiry);
    if (!date || !today.isValid())
        return std::nullopt;
    return static_cast<int>(today.daysTo(*date));
}

std::optional<int> daysToExpiry(const MedicineRecord &record)
{
    return daysToExpiry(record.expiry, Platform::today());
}
