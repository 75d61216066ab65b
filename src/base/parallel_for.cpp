#include "base/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kerfline {

void parallelFor(std::size_t count, const std::function<void(std::size_t)>& body, std::size_t grain)
{
    grain = std::max<std::size_t>(grain, 1);
    const std::size_t chunks = (count + grain - 1) / grain;
    const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), chunks);
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            body(i);
        return;
    }

    // Chunks go to whichever thread is free: figures differ a lot in size.
    std::atomic<std::size_t> nextChunk{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        while (!failed.load(std::memory_order_relaxed)) {
            const std::size_t chunk = nextChunk.fetch_add(1, std::memory_order_relaxed);
            if (chunk >= chunks)
                return;
            try {
                for (std::size_t i = chunk * grain; i < std::min(count, (chunk + 1) * grain); ++i)
                    body(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                failed = true;
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(threads - 1);
        try {
            for (std::size_t t = 1; t < threads; ++t)
                helpers.emplace_back(work);
        } catch (const std::system_error&) {
            // No thread to be had: those that started and this one do the work.
        }
        work();
    }
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace kerfline
