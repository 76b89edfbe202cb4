#include "Today.h"

#include "Seam.h"

QDate SystemToday::today() const
{
    return QDate::currentDate();
}

namespace Platform {

QDate today()
{
    return Seam<const TodaySource, const SystemToday>::get().today();
}

QDateTime now()
{
    return Seam<const TodaySource, const SystemToday>::get().now();
}

void setTodaySource(const TodaySource *source)
{
    Seam<const TodaySource, const SystemToday>::set(source);
}

} // namespace Platform
