#include "StockRules.h"

#include "core/stock/StockFile.h"

namespace StockRules {

bool isExpired(std::optional<int> daysLeft)
{
    return daysLeft && *daysLeft <= 0;
}

bool runsLow(const MedicineRecordView &record)
{
    return fieldNumber(record.quantity) <= fieldNumber(record.threshold);
}

bool isIndispensable(const MedicineRecordView &record)
{
    return record.indispensable == QLatin1String("1");
}

const QStringList &horizonNames()
{
    static const QStringList names{QStringLiteral("1 mois"), QStringLiteral("2 mois"),
                                   QStringLiteral("3 mois"), QStringLiteral("6 mois")};
    return names;
}

int horizonDays(QStringView horizon)
{
    if (horizon == u"1 mois")
        return 31;
    if (horizon == u"2 mois")
        return 62;
    if (horizon == u"3 mois")
        return 93;
    if (horizon == u"6 mois")
        return 186;
    return 0;
}

bool withinHorizon(std::optional<int> daysLeft, int horizonDays)
{
    return daysLeft && *daysLeft < horizonDays;
}

const QStringList &filterNames()
{
    static const QStringList names{QStringLiteral("Complète"), QStringLiteral("Périmés"),
                                   QStringLiteral("Seuil critique"),
                                   QStringLiteral("Périmés et/ou Seuil critique")};
    return names;
}

Filter filterNamed(QStringView name)
{
    const qsizetype index = filterNames().indexOf(name.toString());
    return index < 0 ? Filter::None : static_cast<Filter>(index);
}

bool passes(const MedicineRecordView &record, Filter filter, bool indispensableOnly, QDate today)
{
    if (indispensableOnly && !isIndispensable(record))
        return false;
    switch (filter) {
    case Filter::Complete:
        return true;
    case Filter::Expired:
        return isExpired(daysToExpiry(record.expiry, today));
    case Filter::LowStock:
        return runsLow(record);
    case Filter::ExpiredOrLowStock:
        return isExpired(daysToExpiry(record.expiry, today)) || runsLow(record);
    case Filter::None:
        break;
    }
    return false;
}

} // namespace StockRules
