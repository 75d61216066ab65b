// Work spread over the cores: every index exactly once, and a failure reaches the caller.
#include "base/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace kerfline {
namespace {

TEST(ParallelFor, CallsTheBodyOnceForEveryIndex)
{
    struct Case {
        std::size_t count;
        std::size_t grain;
    };
    for (const Case c : {Case{0, 64}, Case{1, 64}, Case{64, 64}, Case{65, 64}, Case{1000, 64}, Case{999, 1}, Case{5, 0}}) {
        SCOPED_TRACE(testing::Message() << c.count << " items, grain " << c.grain);
        std::vector<std::atomic<int>> calls(c.count);
        parallelFor(c.count, [&](std::size_t i) { ++calls[i]; }, c.grain);
        for (std::size_t i = 0; i < c.count; ++i)
            ASSERT_EQ(calls[i].load(), 1) << "index " << i;
    }
}

TEST(ParallelFor, RethrowsWhatABodyThrowsAfterEveryThreadStopped)
{
    std::atomic<int> running{0};
    const auto body = [&](std::size_t i) {
        ++running;
        if (i == 700)
            throw std::runtime_error("item 700");
        --running;
    };
    try {
        parallelFor(1000, body, 8);
        FAIL() << "the failure was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "item 700");
    }
    // Only the failed call is left counted: no other call was still running on return.
    EXPECT_EQ(running.load(), 1);
}

}  // namespace
}  // namespace kerfline
