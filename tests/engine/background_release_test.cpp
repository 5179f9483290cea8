// Letting go of large structures on the side.
#include "engine/detail/background_release.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using engine::detail::releaseInBackground;
using engine::detail::waitForBackgroundReleases;

namespace {

// Notes the thread it ends on.
struct Tracked {
    std::atomic<std::thread::id>* endedOn;
    ~Tracked() { endedOn->store(std::this_thread::get_id()); }
};

TEST(BackgroundRelease, FreesWhatItIsGivenOnAnotherThreadInOrder) {
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<std::thread::id> endedOn{};
    auto owned = std::make_shared<Tracked>(Tracked{&endedOn});
    releaseInBackground([owned = std::move(owned)]() mutable { owned.reset(); });
    for (int i = 0; i < 50; ++i) {
        releaseInBackground([&, i] {
            std::lock_guard lock(mutex);
            order.push_back(i);
        });
    }
    waitForBackgroundReleases();
    EXPECT_NE(endedOn.load(), std::thread::id{});
    EXPECT_NE(endedOn.load(), std::this_thread::get_id());
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
}

}  // namespace
