#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

/// A bounded first-in, first-out queue that hands items from one thread to another: Push waits
/// while the queue is full, Pop while it is empty. Close ends the hand-over on both sides: a
/// waiting or later Push gives up (answering false) and Pop answers false once the queue is
/// drained. Any number of threads may call any operation.
template <typename T>
class BlockQueue {
public:
    explicit BlockQueue(std::size_t capacity)
        : capacity(capacity > 0 ? capacity : 1)
    {
    }

    /// Answers false, and drops the item, when the queue is closed.
    bool Push(T item)
    {
        std::unique_lock<std::mutex> lock(mutex);
        notFull.wait(lock, [this] { return closed || items.size() < capacity; });
        if (closed)
            return false;
        items.push_back(std::move(item));
        notEmpty.notify_one();
        return true;
    }

    /// Answers false when the queue is closed and empty.
    bool Pop(T& item)
    {
        std::unique_lock<std::mutex> lock(mutex);
        notEmpty.wait(lock, [this] { return closed || !items.empty(); });
        if (items.empty())
            return false;
        item = std::move(items.front());
        items.pop_front();
        notFull.notify_one();
        return true;
    }

    void Close()
    {
        std::lock_guard<std::mutex> lock(mutex);
        closed = true;
        notEmpty.notify_all();
        notFull.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable notEmpty;
    std::condition_variable notFull;
    std::deque<T> items;
    std::size_t capacity;
    bool closed = false;
};
