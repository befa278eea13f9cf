#include "BlockQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

TEST(BlockQueue, HandsItemsAcrossThreadsInOrderWhileFull)
{
    // A capacity far below the item count keeps the producer waiting on a
    // full queue most of the time.
    BlockQueue<std::unique_ptr<int>> queue(2);
    constexpr int Count = 20000;
    std::thread producer([&queue] {
        for (int i = 0; i < Count; ++i) {
            ASSERT_TRUE(queue.Push(std::make_unique<int>(i)));
        }
        queue.Close();
    });
    std::vector<int> received;
    std::unique_ptr<int> item;
    while (queue.Pop(item)) {
        received.push_back(*item);
    }
    producer.join();
    ASSERT_EQ(received.size(), static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        ASSERT_EQ(received[static_cast<std::size_t>(i)], i);
    }
}

TEST(BlockQueue, CloseDrainsWhatWasQueuedAndReleasesWaitingThreads)
{
    BlockQueue<int> queue(1);
    ASSERT_TRUE(queue.Push(7));
    std::atomic<bool> pushed {true};
    std::thread blockedProducer([&] { pushed = queue.Push(8); });
    queue.Close();
    blockedProducer.join();
    EXPECT_FALSE(pushed) << "a Push waiting on a full queue gives up when it is closed";

    int item = 0;
    ASSERT_TRUE(queue.Pop(item));
    EXPECT_EQ(item, 7) << "items queued before Close still arrive";
    EXPECT_FALSE(queue.Pop(item));
    EXPECT_FALSE(queue.Push(9));

    BlockQueue<int> idle(1);
    std::atomic<bool> popped {true};
    std::thread blockedConsumer([&] {
        int value = 0;
        popped = idle.Pop(value);
    });
    idle.Close();
    blockedConsumer.join();
    EXPECT_FALSE(popped) << "a Pop waiting on an empty queue ends when it is closed";
}

} // namespace
