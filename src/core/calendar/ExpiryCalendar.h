#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The stock's expiry dates as events of the doctor's calendar: for each medicine with a
// calendar date, an all-day event on that day and a reminder a lead time before it.
struct CalendarEvent
{
    enum class Kind
    {
        Expiry,
        Reminder
    };
    Kind kind = Kind::Expiry;
    // The same for the same medicine and date in every export, whatever the lead time: a
    // calendar that imports a newer export updates its events instead of doubling them.
    QString uid;
    QDate day;
    QString summary;     // "Péremption : Paracétamol 1 g (Orale, Sachet)"
    QString description; // the date, the quantity, the threshold; lines end with LF
};

struct ExpiryCalendar
{
    QList<CalendarEvent> events;
    int dated = 0;   // medicines in the calendar, each with its date
    int undated = 0; // lines left out: a blank date, or one that is not a calendar date
};

// `leadTime` is one of the forecast's horizons ("1 mois"...): the reminder falls on the first
// day the forecast at that horizon lists the medicine. Two lines of the same medicine
// (name, route, presentation) expiring the same day make one pair of events, their
// quantities added.
ExpiryCalendar expiryCalendar(const QStringList &stockLines, QStringView leadTime);
