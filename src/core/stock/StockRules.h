#pragma once

#include "core/stock/MedicineRecord.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// What the lists, the forecast and the reports ask of a medicine, each answered here once.
// A blank date, or one that is not a calendar date, never counts as expired nor as
// expiring within a horizon.
namespace StockRules {

// Days to expiry of 0 or fewer: expired.
bool isExpired(std::optional<int> daysLeft);
// At or below its critical threshold, both read as numbers.
bool runsLow(const MedicineRecordView &record);
bool isIndispensable(const MedicineRecordView &record);

// The days of a forecast horizon: "1 mois" 31, "2 mois" 62, "3 mois" 93, "6 mois" 186,
// any other text 0. A medicine is within it when its days to expiry are fewer.
int horizonDays(QStringView horizon);
// The four horizons, shortest first.
const QStringList &horizonNames();
bool withinHorizon(std::optional<int> daysLeft, int horizonDays);

// The four lists of the medicine list window, by the names the user picks them by.
enum class Filter
{
    Complete,
    Expired,
    LowStock,
    ExpiredOrLowStock,
    None
};
const QStringList &filterNames();
Filter filterNamed(QStringView name);
bool passes(const MedicineRecordView &record, Filter filter, bool indispensableOnly, QDate today);

} // namespace StockRules
