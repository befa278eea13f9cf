#include "MidiEventQueue.h"

#include <gtest/gtest.h>

TEST(MidiEventQueue, FirstInFirstOutWithinItsReservedRoom)
{
    MidiEventQueue queue(512);
    const std::size_t reserved = queue.capacity();
    EXPECT_GE(reserved, 512u);
    EXPECT_TRUE(queue.empty());
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 512; ++i) {
            queue.push({i, static_cast<char>(0xB0), 1, static_cast<char>(i & 0x7F)});
        }
        for (int i = 0; i < 512; ++i) {
            ASSERT_FALSE(queue.empty());
            EXPECT_EQ(queue.front().deltaFrames, i);
            EXPECT_EQ(queue.pop().deltaFrames, i);
        }
        EXPECT_TRUE(queue.empty());
    }
    EXPECT_EQ(queue.capacity(), reserved) << "a drained queue reuses its storage";
}

TEST(MidiEventQueue, GrowsBeyondItsReservedRoom)
{
    MidiEventQueue queue(4);
    for (int i = 0; i < 100; ++i) {
        queue.push({i, 0, 0, 0});
    }
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(queue.pop().deltaFrames, i);
    }
    EXPECT_TRUE(queue.empty());
}
