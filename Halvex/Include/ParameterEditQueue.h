#pragma once

#include <atomic>
#include <cstddef>

// One user edit of a parameter on its way from the editor's thread to the
// thread that reports it to the host: a gesture's start or end, or a new
// normalised value.
struct ParameterEdit {
    enum class Kind : unsigned char { Begin, Value, End };

    Kind kind;
    int parameterId;
    float value; // for Value
};

// A bounded first-in, first-out queue of edits between one producing thread
// and one consuming thread, without locks or allocation, so that the
// consumer may be the audio thread. The consuming role may pass from one
// thread to another only when the host orders the two (a plug-in's flush
// moves from the main thread to the audio thread at activation). When the
// queue is full an edit is dropped: its value has reached the plug-in
// already, only the host's record of it is lost.
template <std::size_t Capacity>
class ParameterEditQueue {
public:
    // Producer. False when the edit was dropped.
    bool Push(const ParameterEdit& edit)
    {
        const std::size_t tail = written.load(std::memory_order_relaxed);
        if (tail - read.load(std::memory_order_acquire) == Capacity) {
            return false;
        }
        slots[tail % Capacity] = edit;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer. False when there is nothing to take.
    bool Pop(ParameterEdit& edit)
    {
        const std::size_t head = read.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) {
            return false;
        }
        edit = slots[head % Capacity];
        read.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    ParameterEdit slots[Capacity] = {};
    // Counts of edits ever written and read; they only grow, so full and
    // empty are told apart without a spare slot.
    std::atomic<std::size_t> written {0};
    std::atomic<std::size_t> read {0};
};
