#include "BlockQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto Patience = 10s;

// The scheduler's state of one of this process's threads: 'R' running, 'S'
// asleep (waiting), and so on.
char ThreadState(pid_t threadId)
{
    std::ifstream stat("/proc/self/task/" + std::to_string(threadId) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The state follows the command name, which is in parentheses.
    const std::string::size_type close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() ? text[close + 2] : '?';
}

// A queue call that is expected to wait, made on a thread of its own. The
// thread is detached and owns what it uses, so that a call that never
// returns fails the test after a bounded wait instead of hanging it.
class WaitingCall {
public:
    explicit WaitingCall(std::function<bool()> call)
        : shared(std::make_shared<Shared>())
        , answer(shared->answer.get_future())
    {
        std::thread([shared = shared, call = std::move(call)] {
            shared->threadId.store(gettid());
            shared->answer.set_value(call());
        }).detach();
    }

    // True once the thread sleeps inside the call: the call is waiting.
    bool WaitUntilWaiting()
    {
        const auto deadline = std::chrono::steady_clock::now() + Patience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (answer.wait_for(0s) == std::future_status::ready) {
                return false;
            }
            const pid_t threadId = shared->threadId.load();
            if (threadId != 0 && ThreadState(threadId) == 'S') {
                return true;
            }
            std::this_thread::yield();
        }
        return false;
    }

    // What the call answered, or nothing when it is still waiting.
    std::optional<bool> Answer()
    {
        if (answer.wait_for(Patience) != std::future_status::ready) {
            return std::nullopt;
        }
        return answer.get();
    }

private:
    struct Shared {
        std::atomic<pid_t> threadId {0};
        std::promise<bool> answer;
    };
    std::shared_ptr<Shared> shared;
    std::future<bool> answer;
};

TEST(BlockQueue, HandsItemsAcrossThreadsInOrderWhileFull)
{
    // A capacity far below the item count keeps the producer waiting on a
    // full queue most of the time.
    BlockQueue<std::unique_ptr<int>> queue(2);
    constexpr int Count = 20000;
    std::atomic<int> refused {0};
    std::thread producer([&queue, &refused] {
        for (int i = 0; i < Count; ++i) {
            if (!queue.Push(std::make_unique<int>(i))) {
                refused.fetch_add(1);
                break;
            }
        }
        // Always, so that the consumer below ends whatever happened.
        queue.Close();
    });
    std::vector<int> received;
    std::unique_ptr<int> item;
    while (queue.Pop(item)) {
        received.push_back(*item);
    }
    producer.join();
    EXPECT_EQ(refused.load(), 0) << "an open queue takes every item";
    ASSERT_EQ(received.size(), static_cast<std::size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        ASSERT_EQ(received[static_cast<std::size_t>(i)], i);
    }
}

TEST(BlockQueue, CloseReleasesAProducerWaitingOnAFullQueueAndDrainsWhatWasQueued)
{
    auto queue = std::make_shared<BlockQueue<int>>(1);
    ASSERT_TRUE(queue->Push(7));
    WaitingCall push([queue] { return queue->Push(8); });
    ASSERT_TRUE(push.WaitUntilWaiting()) << "Push waits while the queue is full";
    queue->Close();
    const std::optional<bool> pushed = push.Answer();
    ASSERT_TRUE(pushed.has_value()) << "Close must wake the waiting Push";
    EXPECT_FALSE(*pushed) << "a Push waiting on a full queue gives up when it is closed";

    int item = 0;
    ASSERT_TRUE(queue->Pop(item));
    EXPECT_EQ(item, 7) << "items queued before Close still arrive";
    EXPECT_FALSE(queue->Pop(item));
    EXPECT_FALSE(queue->Push(9));
}

TEST(BlockQueue, CloseReleasesAConsumerWaitingOnAnEmptyQueue)
{
    auto queue = std::make_shared<BlockQueue<int>>(1);
    WaitingCall pop([queue] {
        int value = 0;
        return queue->Pop(value);
    });
    ASSERT_TRUE(pop.WaitUntilWaiting()) << "Pop waits while the queue is empty";
    queue->Close();
    const std::optional<bool> popped = pop.Answer();
    ASSERT_TRUE(popped.has_value()) << "Close must wake the waiting Pop";
    EXPECT_FALSE(*popped);
}

TEST(BlockQueue, AnItemWakesAConsumerWaitingOnAnEmptyQueue)
{
    auto queue = std::make_shared<BlockQueue<int>>(1);
    auto received = std::make_shared<std::atomic<int>>(0);
    WaitingCall pop([queue, received] {
        int value = 0;
        const bool popped = queue->Pop(value);
        received->store(value);
        return popped;
    });
    ASSERT_TRUE(pop.WaitUntilWaiting());
    ASSERT_TRUE(queue->Push(5));
    const std::optional<bool> popped = pop.Answer();
    ASSERT_TRUE(popped.has_value()) << "a Push must wake the waiting Pop";
    EXPECT_TRUE(*popped);
    EXPECT_EQ(received->load(), 5);
}

} // namespace
