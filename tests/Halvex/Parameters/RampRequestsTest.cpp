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
