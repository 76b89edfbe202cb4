#include "StockFile.h"

#include "Numbers.h"
#include "TextFile.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Today.h"

#include <cmath>
#include <limits>

namespace Enreg {

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

} // namespace Enreg

namespace {

QStringView cut(QStringView line, Enreg::Field field)
{
    if (field.start >= line.size())
        return {};
    return Enreg::trimBlanks(line.sliced(field.start, std::min(field.width, line.size() - field.start)));
}

void appendField(QString &line, QStringView text, qsizetype width)
{
    const QStringView trimmed = Enreg::trimBlanks(text).left(width);
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

QStringList lit_pharmacie(QString *error)
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

EnregView recordView(QStringView line)
{
    EnregView v;
    v.nom = cut(line, Enreg::kNom);
    v.formemedic = cut(line, Enreg::kFormemedic);
    v.typemedic = cut(line, Enreg::kTypemedic);
    v.qte = cut(line, Enreg::kQte);
    v.dat = cut(line, Enreg::kDat);
    v.critique = cut(line, Enreg::kCritique);
    v.indispensable = Enreg::trimBlanks(line.right(Enreg::kIndispensableWidth));
    return v;
}

EnregMedic decompose_enreg(QStringView line)
{
    const EnregView v = recordView(line);
    return {v.nom.toString(), v.formemedic.toString(), v.typemedic.toString(),    v.qte.toString(),
            v.dat.toString(), v.critique.toString(),   v.indispensable.toString()};
}

QString compose_enreg(QStringView nom, QStringView formemedic, QStringView typemedic, QStringView qte,
                      QStringView dat, QStringView critique, QStringView indispensable)
{
    QString line;
    line.reserve(Enreg::kLineLength);
    appendField(line, nom, Enreg::kNom.width);
    appendField(line, formemedic, Enreg::kFormemedic.width);
    appendField(line, typemedic, Enreg::kTypemedic.width);
    appendField(line, qte, Enreg::kQte.width);
    appendField(line, dat, Enreg::kDat.width);
    appendField(line, critique, Enreg::kCritique.width);
    appendField(line, indispensable, Enreg::kIndispensableWidth);
    return line;
}

bool ajoute_pharmacie(const QString &line, QString *error)
{
    return TextFile::appendLine(stockFilePath(), line, error);
}

bool ecrit_pharmacie(const QStringList &lines, QString *error)
{
    return TextFile::writeLines(stockFilePath(), lines, error);
}

int valeur_nombre(QStringView field)
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

std::optional<int> jours_restants(QStringView dat, QDate today)
{
    // "dd/mm/yyyy", the form the date box produces; read by hand because it is done
    // for every line of the stock at every refill.
    const QStringView d = Enreg::trimBlanks(dat);
    if (d.size() != 10 || d[2] != QLatin1Char('/') || d[5] != QLatin1Char('/'))
        return std::nullopt;
    const int day = twoDigits(d, 0);
    const int month = twoDigits(d, 3);
    const int hi = twoDigits(d, 6);
    const int lo = twoDigits(d, 8);
    if (day < 0 || month < 0 || hi < 0 || lo < 0)
        return std::nullopt;
    const QDate expiry(hi * 100 + lo, month, day);
    if (!expiry.isValid() || !today.isValid())
        return std::nullopt;
    return static_cast<int>(today.daysTo(expiry));
}

std::optional<int> jours_restants(const EnregMedic &record)
{
    return jours_restants(record.dat, Platform::today());
}
