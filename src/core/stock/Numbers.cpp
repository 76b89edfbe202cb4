#include "Numbers.h"

#include <QString>

#include <cmath>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isDropped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

} // namespace

double numericValue(QStringView text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isDropped(c))
            s.append(c);
    }

    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    const qsizetype intStart = i;
    while (i < n && isDigit(s[i]))
        ++i;
    qsizetype digits = i - intStart;
    if (i < n && s[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        while (j < n && isDigit(s[j]))
            ++j;
        digits += j - i - 1;
        if (digits > 0)
            i = j;
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isDigit(s[j]))
            ++j;
        if (j > expStart)
            end = j;
    }
    bool ok = false;
    const double value = QStringView(s).left(end).toDouble(&ok);
    if (ok)
        return value;
    // Out of range for a double: the sign of the mantissa and of the exponent decide.
    const bool negative = s.startsWith(QLatin1Char('-'));
    const bool tiny = s.mid(0, end).contains(QLatin1String("e-"), Qt::CaseInsensitive);
    if (tiny)
        return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

std::optional<short> toInt16(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode: half to even
    if (rounded < std::numeric_limits<short>::min() || rounded > std::numeric_limits<short>::max())
        return std::nullopt;
    return static_cast<short>(rounded);
}
