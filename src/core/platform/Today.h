#pragma once

#include <QDate>
#include <QDateTime>

// Today's date, without time of day. The program asks this seam rather than the clock,
// so that tests can fix the day.
class TodaySource
{
public:
    virtual ~TodaySource() = default;
    virtual QDate today() const = 0;
    // The date and the time of day, for what is stamped with both.
    virtual QDateTime now() const { return QDateTime(today(), QTime::currentTime()); }
};

class SystemToday final : public TodaySource
{
public:
    QDate today() const override;
};

namespace Platform {

QDate today();
QDateTime now();

// The source stays owned by the caller; nullptr goes back to the system clock.
void setTodaySource(const TodaySource *source);

} // namespace Platform
