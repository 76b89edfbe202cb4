#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct ExpiryCalendar;
class QWidget;

// The events as an iCalendar file that calendar programs import: each an all-day event
// with an alarm, stamped `stamp`.
QByteArray icsBytes(const ExpiryCalendar &calendar, const QDateTime &stamp);

// "Exporter vers l'agenda...": asks the reminder's lead time (`leadTime` offered first, else
// "1 mois") and where to save, writes the whole stock's expiry dates, and says what the file
// holds and how many medicines were left out.
void exportToCalendar(QWidget *parent, const QString &leadTime = {});
