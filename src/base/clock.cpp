#include "base/clock.h"

#include <chrono>
#include <thread>

namespace kerfline {

std::int64_t SteadyClock::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(std::int64_t ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SimulatedClock::advance(std::int64_t ms)
{
    if (ms <= 0)
        return;
    const std::int64_t from = m_now;
    m_now += ms;
    if (m_listener)
        m_listener(from, m_now);
}

}  // namespace kerfline
