#include "Parameters/RampRequests.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The value the owner ends at after applying everything taken.
float EndValue(const RampRequests::Taken& taken)
{
    return taken.hasTarget ? taken.target : taken.snap;
}

} // namespace

// Two threads posting targets and snaps at once, while the owner takes now
// and then: when they stop, what the owner ends at is the latest target the
// display shows.
TEST(RampRequests, ConcurrentPostsLeaveTheDisplayAndTheRampAgreeing)
{
    for (int round = 0; round < 20; ++round) {
        RampRequests requests(0.0f);
        std::atomic<int> ready {0};
        const auto poster = [&](float base, bool snaps) {
            ready.fetch_add(1);
            while (ready.load() < 2) {
                std::this_thread::yield();
            }
            for (int i = 0; i < 2000; ++i) {
                requests.PostTarget(base + static_cast<float>(i) / 8192.0f);
                if (snaps && i % 3 == 0) {
                    requests.PostSnapToLatest();
                }
            }
        };
        std::thread first(poster, 0.0f, false);
        std::thread second(poster, 0.5f, true);
        float end = 0.0f;
        RampRequests::Taken taken;
        while (ready.load() < 2) {
            std::this_thread::yield();
        }
        for (int takes = 0; takes < 200; ++takes) {
            if (requests.Take(taken)) {
                end = EndValue(taken);
            }
        }
        first.join();
        second.join();
        if (requests.Take(taken)) {
            end = EndValue(taken);
        }
        ASSERT_EQ(end, requests.LatestTarget()) << "round " << round;
    }
}

// What one thread posts, taken at different moments: a snap comes before the
// targets posted after it, a target posted before it is not ramped to again,
// a snap to where the value already is asks nothing, and posting the same
// target twice is news both times.
TEST(RampRequests, TakesKeepTheOrderOfThePosts)
{
    RampRequests requests(0.25f);
    RampRequests::Taken taken;
    EXPECT_FALSE(requests.Take(taken)) << "nothing asked yet";

    requests.PostTarget(0.5f);
    requests.PostSnapToLatest();
    requests.PostTarget(0.75f);
    ASSERT_TRUE(requests.Take(taken));
    EXPECT_TRUE(taken.hasSnap);
    EXPECT_EQ(taken.snap, 0.5f);
    EXPECT_TRUE(taken.hasTarget);
    EXPECT_EQ(taken.target, 0.75f);
    EXPECT_FALSE(requests.Take(taken)) << "taken once";

    requests.PostTarget(0.125f);
    requests.PostSnapToLatest();
    ASSERT_TRUE(requests.Take(taken));
    EXPECT_TRUE(taken.hasSnap);
    EXPECT_EQ(taken.snap, 0.125f);
    EXPECT_FALSE(taken.hasTarget) << "the snap already ends where the ramp was going";

    requests.PostSnapToLatest();
    EXPECT_FALSE(requests.Take(taken)) << "a second snap to the same target changes nothing";

    requests.PostTarget(0.625f);
    requests.PostSnapToLatest();
    ASSERT_TRUE(requests.Take(taken));
    requests.PostTarget(0.875f);
    ASSERT_TRUE(requests.Take(taken)) << "a target posted after a snap that was already taken";
    EXPECT_FALSE(taken.hasSnap);
    EXPECT_EQ(taken.target, 0.875f);

    requests.PostTarget(0.875f);
    ASSERT_TRUE(requests.Take(taken)) << "the same target again restarts the ramp";
    EXPECT_TRUE(taken.hasTarget);
    EXPECT_EQ(requests.LatestTarget(), 0.875f);
}
