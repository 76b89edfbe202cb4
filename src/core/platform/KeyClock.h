#pragma once

#include <QElapsedTimer>

// When a key arrives, in milliseconds from an arbitrary start: what tells a scanner's
// burst of keys from typing. Tests put the pace of their keys in its place.
class KeyClock
{
public:
    virtual ~KeyClock() = default;
    virtual qint64 now() = 0;
};

class SteadyKeyClock final : public KeyClock
{
public:
    SteadyKeyClock() { m_timer.start(); }
    qint64 now() override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};

namespace Platform {

qint64 keyTime();
// The clock stays owned by the caller; nullptr goes back to the steady clock.
void setKeyClock(KeyClock *clock);

} // namespace Platform
