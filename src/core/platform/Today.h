#pragma once

#include <QDate>

// Today's date, without time of day. The program asks this seam rather than the clock,
// so that tests can fix the day.
class TodaySource
{
public:
    virtual ~TodaySource() = default;
    virtual QDate today() const = 0;
};

class SystemToday final : public TodaySource
{
public:
    QDate today() const override;
};

namespace Platform {

QDate today();

// The source stays owned by the caller; nullptr goes back to the system clock.
void setTodaySource(const TodaySource *source);

} // namespace Platform
