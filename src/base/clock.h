#pragma once

#include <cstdint>
#include <functional>

namespace kerfline {

// Time as the core sees it. Nothing in the core sleeps except through a Clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(std::int64_t ms) = 0;
};

// Real time for the command-line tool; the desktop program's clock also keeps painting.
class SteadyClock : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(std::int64_t ms) override;
};

// Time that moves only when someone sleeps: tests and the command-line job runner use it, and
// whatever must run in that time (the virtual cutter) listens to the advance.
class SimulatedClock : public Clock {
public:
    using Listener = std::function<void(std::int64_t fromMs, std::int64_t toMs)>;

    std::int64_t nowMs() override { return m_now; }
    void sleepMs(std::int64_t ms) override { advance(ms); }

    void advance(std::int64_t ms);
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    std::int64_t m_now = 0;
    Listener m_listener;
};

}  // namespace kerfline
