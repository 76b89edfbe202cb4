#include "Today.h"

QDate SystemToday::today() const
{
    return QDate::currentDate();
}

namespace {

const TodaySource *g_source = nullptr;

const TodaySource &source()
{
    static const SystemToday system;
    return g_source ? *g_source : system;
}

} // namespace

namespace Platform {

QDate today()
{
    return source().today();
}

void setTodaySource(const TodaySource *source)
{
    g_source = source;
}

} // namespace Platform
