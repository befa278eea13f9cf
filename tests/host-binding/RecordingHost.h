#pragma once

#include "AEffect.h"

#include <map>
#include <vector>

// One call the effect made to its host.
struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

inline bool operator==(const HostCall& left, const HostCall& right)
{
    return left.effect == right.effect && left.opcode == right.opcode && left.index == right.index
        && left.value == right.value && left.ptr == right.ptr && left.opt == right.opt;
}

// A host callback that records every call and answers what the test set per
// opcode (0 otherwise). One instance at a time; the callback reaches it
// through a static pointer because hosts hand out plain function pointers.
class RecordingHost {
public:
    RecordingHost() { current = this; }
    ~RecordingHost() { current = nullptr; }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    static VstIntPtr VSTCALL callback(
        AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
    {
        current->calls.push_back({effect, opcode, index, value, ptr, opt});
        auto answer = current->answers.find(opcode);
        return answer != current->answers.end() ? answer->second : 0;
    }

    std::vector<HostCall> calls;
    std::map<VstInt32, VstIntPtr> answers;

private:
    static inline RecordingHost* current = nullptr;
};
