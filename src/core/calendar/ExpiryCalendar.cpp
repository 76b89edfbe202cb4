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
    QString date; // "15/03/2027", as the stock holds it
    int quantity = 0;
    int threshold = 0;
    bool indispensable = false;
};

// Strings put together by appending: done for every medicine of the stock.
QString shownName(const MedicineRecordView &record)
{
    QString shown = record.name.toString();
    if (record.route.isEmpty() && record.presentation.isEmpty())
        return shown;
    shown += QLatin1String(" (");
    shown += record.route;
    if (!record.route.isEmpty() && !record.presentation.isEmpty())
        shown += QLatin1String(", ");
    shown += record.presentation;
    shown += u')';
    return shown;
}

// "-<hash>@vellorin", after the kind of event.
QString uidTail(const QString &key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
    return u'-' + QString::fromLatin1(hash) + QStringLiteral("@vellorin");
}

QString description(const DatedMedicine &medicine, QString text)
{
    text += QStringLiteral("\nQuantité en stock : ");
    text += QString::number(medicine.quantity);
    text += QStringLiteral(", seuil critique : ");
    text += QString::number(medicine.threshold);
    text += u'.';
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
        QString key;
        for (const QStringView part : {record.name, record.route, record.presentation, record.expiry}) {
            key += part;
            key += QChar(0x1F);
        }
        const qsizetype known = byKey.value(key, -1);
        if (known >= 0) {
            dated[known].quantity += fieldNumber(record.quantity);
            dated[known].indispensable = dated[known].indispensable || StockRules::isIndispensable(record);
            continue;
        }
        byKey.insert(key, dated.size());
        dated.append({shownName(record), key, *day, record.expiry.toString(), fieldNumber(record.quantity),
                      fieldNumber(record.threshold), StockRules::isIndispensable(record)});
    }

    calendar.dated = int(dated.size());
    calendar.events.reserve(2 * dated.size());
    const int leadDays = StockRules::horizonDays(leadTime);
    const QString reminder = QStringLiteral("Péremption dans ") + leadTime.toString() + QStringLiteral(" : ");
    for (const DatedMedicine &medicine : dated) {
        const QString tail = uidTail(medicine.key);
        calendar.events.append(
            {CalendarEvent::Kind::Expiry, QStringLiteral("peremption") + tail, medicine.day,
             QStringLiteral("Péremption : ") + medicine.shown,
             description(medicine,
                         medicine.shown + QStringLiteral(" périme ce jour, le ") + medicine.date + u'.')});
        calendar.events.append(
            {CalendarEvent::Kind::Reminder, QStringLiteral("rappel") + tail,
             medicine.day.addDays(1 - leadDays), reminder + medicine.shown,
             description(medicine, medicine.shown + QStringLiteral(" périme le ") + medicine.date +
                                       QStringLiteral(" : prévoir son renouvellement."))});
    }
    return calendar;
}
