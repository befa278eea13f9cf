#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One MIDI message waiting for its audio block: the sample position inside
// the host block it came with and the three message bytes.
struct MidiEvent {
    int32_t deltaFrames;
    char status;
    char data1;
    char data2;
};

// First-in, first-out queue of MIDI events, filled by processEvents and
// drained by processReplacing, both on the host's audio thread. Its
// operations read like a standard container's. Its storage is
// reserved up front for the traffic of a busy block and grows only beyond
// that; it is released when the queue is destroyed.
class MidiEventQueue {
public:
    explicit MidiEventQueue(std::size_t reservedEvents) { events.reserve(reservedEvents); }

    bool empty() const { return head == events.size(); }
    const MidiEvent& front() const { return events[head]; }
    void push(const MidiEvent& event) { events.push_back(event); }
    MidiEvent pop()
    {
        MidiEvent event = events[head++];
        if (head == events.size()) {
            events.clear(); // keeps the capacity
            head = 0;
        }
        return event;
    }
    std::size_t capacity() const { return events.capacity(); }

private:
    std::vector<MidiEvent> events;
    std::size_t head = 0;
};
