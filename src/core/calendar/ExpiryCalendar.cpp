#include "ExpiryCalendar.h"

#include "core/stock/StockFile.h"
#include "core/stock/StockRules.h"

#include <QCryptographicHash>
#include <QHash>

namespace {

struct DatedMedicine
{
    QString shown; // "Paracétamol 1 g (Orale, Sachet)"
    QString key;   // what tells one medicine and date from another
    QDate day;
    int quantity = 0;
    int threshold = 0;
    bool indispensable = false;
};

QString shownName(const MedicineRecordView &record)
{
    QStringList details;
    for (const QStringView field : {record.route, record.presentation}) {
        if (!field.isEmpty())
            details << field.toString();
    }
    QString shown = record.name.toString();
    if (!details.isEmpty())
        shown += QStringLiteral(" (%1)").arg(details.join(QStringLiteral(", ")));
    return shown;
}

QString uid(const QString &kind, const QString &key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
    return kind + u'-' + QString::fromLatin1(hash) + QStringLiteral("@vellorin");
}

QString description(const DatedMedicine &medicine, const QString &first)
{
    QString text = first + QStringLiteral("\nQuantité en stock : %1, seuil critique : %2.")
                               .arg(medicine.quantity)
                               .arg(medicine.threshold);
    if (medicine.indispensable)
        text += QStringLiteral("\nMédicament indispensable.");
    return text;
}

} // namespace

ExpiryCalendar expiryCalendar(const QStringList &stockLines, QStringView leadTime)
{
    ExpiryCalendar calendar;
    QList<DatedMedicine> dated;
    QHash<QString, qsizetype> byKey;
    for (const QString &line : stockLines) {
        const MedicineRecordView record = recordView(line);
        const std::optional<QDate> day = expiryDate(record.expiry);
        if (!day) {
            ++calendar.undated;
            continue;
        }
        const QString key = QStringList{record.name.toString(), record.route.toString(),
                                        record.presentation.toString(), day->toString(Qt::ISODate)}
                                .join(QChar(0x1F));
        const qsizetype known = byKey.value(key, -1);
        if (known >= 0) {
            dated[known].quantity += fieldNumber(record.quantity);
            dated[known].indispensable = dated[known].indispensable || StockRules::isIndispensable(record);
            continue;
        }
        byKey.insert(key, dated.size());
        dated.append({shownName(record), key, *day, fieldNumber(record.quantity),
                      fieldNumber(record.threshold), StockRules::isIndispensable(record)});
    }

    calendar.dated = int(dated.size());
    const int leadDays = StockRules::horizonDays(leadTime);
    for (const DatedMedicine &medicine : dated) {
        const QString date = medicine.day.toString(QStringLiteral("dd/MM/yyyy"));
        calendar.events.append(
            {CalendarEvent::Kind::Expiry, uid(QStringLiteral("peremption"), medicine.key), medicine.day,
             QStringLiteral("Péremption : ") + medicine.shown,
             description(medicine, QStringLiteral("%1 périme ce jour, le %2.").arg(medicine.shown, date))});
        calendar.events.append(
            {CalendarEvent::Kind::Reminder, uid(QStringLiteral("rappel"), medicine.key),
             medicine.day.addDays(1 - leadDays),
             QStringLiteral("Péremption dans %1 : %2").arg(leadTime.toString(), medicine.shown),
             description(
                 medicine,
                 QStringLiteral("%1 périme le %2 : prévoir son renouvellement.").arg(medicine.shown, date))});
    }
    return calendar;
}
