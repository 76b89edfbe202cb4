#include "KeyClock.h"

#include "Seam.h"

namespace Platform {

qint64 keyTime()
{
    return Seam<KeyClock, SteadyKeyClock>::get().now();
}

void setKeyClock(KeyClock *clock)
{
    Seam<KeyClock, SteadyKeyClock>::set(clock);
}

} // namespace Platform
