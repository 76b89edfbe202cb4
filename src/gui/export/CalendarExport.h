#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDialog>
#include <QString>

struct ExpiryCalendar;
class QComboBox;

// The reminder's lead time, one of the forecast's horizons, `leadTime` offered first.
class LeadTimeDialog final : public QDialog
{
    Q_OBJECT

public:
    LeadTimeDialog(QWidget *parent, const QString &leadTime);
    QString leadTime() const;

private:
    QComboBox *m_lead = nullptr;
};

// The events as an iCalendar file that calendar programs import: each an all-day event
// with an alarm, stamped `stamp`.
QByteArray icsBytes(const ExpiryCalendar &calendar, const QDateTime &stamp);

// "Exporter vers l'agenda...": asks the reminder's lead time (`leadTime` offered first, else
// "1 mois") and where to save, writes the whole stock's expiry dates, and says what the file
// holds and how many medicines were left out.
void exportToCalendar(QWidget *parent, const QString &leadTime = {});
