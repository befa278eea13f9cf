#include "ParameterEditQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

TEST(ParameterEditQueue, FirstInFirstOutAndDropsWhenFull)
{
    ParameterEditQueue<4> queue;
    ParameterEdit edit {};
    EXPECT_FALSE(queue.Pop(edit));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(queue.Push({ParameterEdit::Kind::Value, i, 0.25f * i}));
    }
    EXPECT_FALSE(queue.Push({ParameterEdit::Kind::End, 9, 0.0f})) << "full";
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(queue.Pop(edit));
        EXPECT_EQ(edit.parameterId, i);
        EXPECT_EQ(edit.value, 0.25f * i);
    }
    EXPECT_FALSE(queue.Pop(edit));
    EXPECT_TRUE(queue.Push({ParameterEdit::Kind::Begin, 3, 0.0f})) << "room again, across the wrap";
    ASSERT_TRUE(queue.Pop(edit));
    EXPECT_EQ(edit.kind, ParameterEdit::Kind::Begin);
}

// An editor thread pushes while an audio thread pops: every edit arrives
// once, whole and in order. The producer waits for room (within a bounded
// time), so that the edits must pass through the small queue many times.
TEST(ParameterEditQueue, OneProducerAndOneConsumerOnTwoThreads)
{
    constexpr int Edits = 20000;
    ParameterEditQueue<64> queue;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::atomic<bool> done {false};
    int pushed = 0;
    std::thread producer([&] {
        for (; pushed < Edits && std::chrono::steady_clock::now() < deadline; ++pushed) {
            while (!queue.Push({ParameterEdit::Kind::Value, pushed, static_cast<float>(pushed)})
                && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::yield();
            }
        }
        done = true;
    });
    std::vector<int> popped;
    popped.reserve(Edits);
    bool whole = true;
    ParameterEdit edit {};
    const auto takeAll = [&] {
        while (queue.Pop(edit)) {
            whole = whole && edit.value == static_cast<float>(edit.parameterId);
            popped.push_back(edit.parameterId);
        }
    };
    while (!done) {
        takeAll();
    }
    producer.join();
    takeAll();
    ASSERT_EQ(pushed, Edits) << "within the time allowed";
    EXPECT_TRUE(whole);
    std::vector<int> expected(Edits);
    for (int i = 0; i < Edits; ++i) {
        expected[static_cast<size_t>(i)] = i;
    }
    EXPECT_EQ(popped, expected);
}
