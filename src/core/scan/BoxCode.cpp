#include "BoxCode.h"

#include "core/stock/Numbers.h"

#include <QMap>
#include <QStringList>

namespace {

const QString kSymbologyPrefix = QStringLiteral("]d2");

// How an application identifier starting with two digits is written: its own length, and
// its data's: a fixed length, or at most `maxLength` characters ended by a separator.
struct AiShape
{
    int aiLength = 0; // 0: no such identifier
    int fixedLength = 0;
    int maxLength = 0;
};

AiShape shapeOf(int twoDigits)
{
    switch (twoDigits) {
    case 0:
        return {2, 18, 18};
    case 1:
    case 2:
    case 3:
        return {2, 14, 14};
    case 4:
        return {2, 16, 16};
    case 11:
    case 12:
    case 13:
    case 15:
    case 16:
    case 17:
        return {2, 6, 6};
    case 20:
        return {2, 2, 2};
    case 10:
    case 21:
    case 22:
        return {2, 0, 20};
    case 23:
    case 24:
    case 25:
    case 40:
    case 42:
        return {3, 0, 30};
    case 30:
    case 37:
        return {2, 0, 8};
    case 31:
    case 32:
    case 33:
    case 34:
    case 35:
    case 36:
        return {4, 6, 6};
    case 41:
        return {3, 13, 13};
    case 70:
    case 72:
        return {4, 0, 30};
    case 71:
        return {3, 0, 20};
    case 80:
    case 81:
    case 82:
        return {4, 0, 70};
    default:
        if (twoDigits >= 90)
            return {2, 0, 90};
        return {};
    }
}

QStringView withoutPrefix(QStringView text)
{
    if (text.startsWith(kSymbologyPrefix))
        text = text.mid(kSymbologyPrefix.size());
    while (text.startsWith(kGroupSeparator))
        text = text.mid(1);
    return text;
}

// The GTIN's last digit, computed from the others: weights 3 and 1 from the right.
int checkDigit(QStringView digits)
{
    int sum = 0;
    for (qsizetype i = digits.size() - 1, weight = 3; i >= 0; --i, weight = 4 - weight)
        sum += (digits[i].unicode() - '0') * int(weight);
    return (10 - sum % 10) % 10;
}

QDate expiryOf(QStringView yymmdd, const QDate &today)
{
    const int yy = yymmdd.left(2).toInt();
    const int month = yymmdd.mid(2, 2).toInt();
    const int day = yymmdd.mid(4, 2).toInt();
    int year = today.year() / 100 * 100 + yy;
    const int ahead = yy - today.year() % 100;
    if (ahead >= 51)
        year -= 100;
    else if (ahead <= -50)
        year += 100;
    if (month < 1 || month > 12)
        return {};
    // Day 00: the month's last day.
    return day == 0 ? QDate(year, month, 1).addMonths(1).addDays(-1) : QDate(year, month, day);
}

} // namespace

BoxCodeReading readBoxCode(QStringView text, const QDate &today)
{
    const QStringView code = withoutPrefix(text);
    QMap<QString, QString> fields;
    QStringList read; // "(01)03400930000010", as the box prints it
    const auto refuse = [&](const QString &why) {
        BoxCodeReading reading;
        reading.problem =
            read.isEmpty() ? why : QStringLiteral("%1 (lu : %2)").arg(why, read.join(QLatin1Char(' ')));
        return reading;
    };
    qsizetype at = 0;
    while (at < code.size()) {
        if (code[at] == kGroupSeparator) {
            ++at;
            continue;
        }
        const QStringView start = code.mid(at, 2);
        const AiShape shape = allDigits(start) && start.size() == 2 ? shapeOf(start.toInt()) : AiShape{};
        if (shape.aiLength == 0)
            return refuse(QStringLiteral("Le code contient « %1 » là où un identifiant GS1 est attendu")
                              .arg(code.mid(at, 4).toString().replace(kGroupSeparator, QLatin1Char(' '))));
        const QStringView ai = code.mid(at, shape.aiLength);
        at += ai.size();
        if (ai.size() < shape.aiLength || !allDigits(ai))
            return refuse(
                QStringLiteral("Le code est incomplet : il s'arrête dans l'identifiant (%1)").arg(ai));
        QStringView data;
        if (shape.fixedLength > 0) {
            data = code.mid(at, shape.fixedLength);
            at += data.size();
            if (data.size() < shape.fixedLength)
                return refuse(
                    QStringLiteral("Le code est incomplet : le champ (%1) n'a que %2 caractères sur %3")
                        .arg(ai)
                        .arg(data.size())
                        .arg(shape.fixedLength));
        } else {
            const qsizetype end = code.indexOf(kGroupSeparator, at);
            data = code.mid(at, end < 0 ? -1 : end - at);
            at += data.size();
            if (data.size() > shape.maxLength)
                return refuse(QStringLiteral("Le champ (%1) dépasse %2 caractères : le lecteur n'envoie "
                                             "sans doute pas le séparateur de groupe")
                                  .arg(ai)
                                  .arg(shape.maxLength));
        }
        read << QStringLiteral("(%1)%2").arg(ai, data);
        if (fields.contains(ai.toString()))
            return refuse(QStringLiteral("Le code contient deux fois le champ (%1)").arg(ai));
        fields.insert(ai.toString(), data.toString());
    }

    const QString gtin = fields.value(QStringLiteral("01"));
    if (gtin.isEmpty())
        return refuse(QStringLiteral("Le code ne contient pas de code produit (01)"));
    if (!allDigits(gtin))
        return refuse(QStringLiteral("Le code produit %1 n'est pas fait de chiffres").arg(gtin));
    const int expected = checkDigit(QStringView(gtin).left(13));
    if (gtin.back().unicode() - '0' != expected)
        return refuse(QStringLiteral("La clé de contrôle du code produit %1 est fausse (%2 au lieu de %3)")
                          .arg(gtin, gtin.back())
                          .arg(expected));
    if (!fields.contains(QStringLiteral("17")))
        return refuse(QStringLiteral("Le code ne contient pas de date de péremption (17)"));
    const QString yymmdd = fields.value(QStringLiteral("17"));
    const QDate expiry = allDigits(yymmdd) ? expiryOf(yymmdd, today) : QDate();
    if (!expiry.isValid())
        return refuse(QStringLiteral("La date de péremption (17)%1 est impossible").arg(yymmdd));
    BoxCodeReading reading;
    reading.code =
        BoxCode{gtin, expiry, fields.value(QStringLiteral("10")), fields.value(QStringLiteral("21"))};
    return reading;
}

bool mayStartBoxCode(QStringView text)
{
    // "]d2" or the part of it typed so far.
    if (kSymbologyPrefix.startsWith(text))
        return true;
    const QStringView code = withoutPrefix(text);
    const QString product = QStringLiteral("01");
    for (qsizetype i = 0; i < code.size() && i < 16; ++i) {
        const QChar c = code[i];
        if (i < 2 ? c != product[i] : (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    return true;
}
