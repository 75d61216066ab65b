#pragma once

#include "base/host.h"

#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <utility>

namespace kerfline::model3d {

// One background job at a time. The work runs on its own thread with a stop token and owns
// everything it makes; the result is handed over to the completion, which runs on the user-
// interface thread through Host::post. Stopping always joins, so nothing a run uses is freed or
// reused while it still runs, and a completion of a stopped run (or of a destroyed worker) is
// dropped.
class WorkerThread {
public:
    explicit WorkerThread(Host& host) : m_host(host), m_alive(std::make_shared<char>()) {}
    ~WorkerThread() { stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Stops and joins an earlier run first.
    template <typename Result>
    void start(std::function<Result(std::stop_token)> work, std::function<void(Result)> complete)
    {
        stop();
        const unsigned run = ++m_run;
        m_busy = true;
        std::weak_ptr<char> alive = m_alive;
        m_thread = std::jthread([this, run, alive, work = std::move(work),
                                 complete = std::move(complete)](std::stop_token token) mutable {
            auto result = std::make_shared<Result>(work(token));
            if (token.stop_requested())
                return;
            m_host.post([this, run, alive, result, complete = std::move(complete)]() mutable {
                // The worker may be gone, or a newer run may have started since.
                if (alive.expired() || run != m_run)
                    return;
                m_busy = false;
                if (m_thread.joinable())
                    m_thread.join();
                complete(std::move(*result));
            });
        });
    }

    // Asks the run to stop and waits for it; its completion will not run.
    void stop()
    {
        ++m_run;
        m_busy = false;
        if (m_thread.joinable()) {
            m_thread.request_stop();
            m_thread.join();
        }
    }

    // Waits for the run to end without stopping it; its completion is still to be run by the
    // host (tests and the command-line tool).
    void wait()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // From start until the completion ran or the run was stopped (user-interface thread).
    bool busy() const { return m_busy; }

private:
    Host& m_host;
    std::shared_ptr<char> m_alive;
    std::jthread m_thread;
    unsigned m_run = 0;
    bool m_busy = false;
};

}  // namespace kerfline::model3d
