#pragma once

// A test host: loads a VST 2.4 plug-in binary with the platform's loader and
// drives it only through its exported entry point and effect record, the way
// a sequencer does. Host callbacks are recorded; time information can be
// answered. One HostedPlugin hosts one effect instance.

#include "AEffect.h"

#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

class HostedPlugin {
public:
    struct HostCall {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        float opt;
    };

    explicit HostedPlugin(const std::string& path, const char* entryName = "VSTPluginMain")
    {
#if defined(_WIN32)
        library = LoadLibraryA(ToWindowsPath(path).c_str());
        void* entry = library != nullptr ? reinterpret_cast<void*>(GetProcAddress(library, entryName)) : nullptr;
#else
        library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        void* entry = library != nullptr ? dlsym(library, entryName) : nullptr;
#endif
        if (entry != nullptr) {
            current = this;
            effect = reinterpret_cast<AEffect*(VSTCALL*)(audioMasterCallback)>(entry)(&Callback);
            if (effect != nullptr) {
                effect->user = this;
            }
        }
    }

    ~HostedPlugin()
    {
        Close();
#if defined(_WIN32)
        if (library != nullptr) {
            FreeLibrary(library);
        }
#else
        if (library != nullptr) {
            dlclose(library);
        }
#endif
    }

    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    bool Loaded() const { return effect != nullptr; }
    AEffect* Effect() const { return effect; }

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    // What a host does after loading: open, rate, block size, resume.
    void Start(float sampleRate = 44100.0f, VstInt32 blockSize = 512)
    {
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        Dispatch(effSetBlockSize, 0, blockSize);
        Dispatch(effMainsChanged, 0, 1);
    }

    // Suspend and close; the effect is gone afterwards.
    void Close()
    {
        if (effect != nullptr) {
            Dispatch(effMainsChanged, 0, 0);
            Dispatch(effClose);
            effect = nullptr;
        }
    }

    std::string Text(VstInt32 opcode, VstInt32 index = 0)
    {
        char text[256] = {};
        Dispatch(opcode, index, 0, text);
        return text;
    }

    void SetParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    float GetParameter(VstInt32 index) { return effect->getParameter(effect, index); }

    void SendMidi(const std::vector<VstMidiEvent>& events)
    {
        midiEvents = events;
        eventList.assign(sizeof(VstEvents) + events.size() * sizeof(VstEvent*), 0);
        auto* list = reinterpret_cast<VstEvents*>(eventList.data());
        list->numEvents = static_cast<VstInt32>(events.size());
        for (std::size_t i = 0; i < midiEvents.size(); ++i) {
            list->events[i] = reinterpret_cast<VstEvent*>(&midiEvents[i]);
        }
        Dispatch(effProcessEvents, 0, 0, list);
    }

    static VstMidiEvent ControlChange(VstInt32 deltaFrames, int controller, int value, int channel = 0)
    {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = deltaFrames;
        event.midiData[0] = static_cast<char>(0xB0 | channel);
        event.midiData[1] = static_cast<char>(controller);
        event.midiData[2] = static_cast<char>(value);
        return event;
    }

    void Process(float* left, float* right, float* outLeft, float* outRight, VstInt32 frames)
    {
        float* inputs[2] = {left, right};
        float* outputs[2] = {outLeft, outRight};
        effect->processReplacing(effect, inputs, outputs, frames);
    }

    int CountCalls(VstInt32 opcode) const
    {
        int count = 0;
        for (const HostCall& call : calls) {
            count += call.opcode == opcode ? 1 : 0;
        }
        return count;
    }

    std::vector<HostCall> calls;
    VstTimeInfo* timeInfo = nullptr;

private:
    static VstIntPtr VSTCALL Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
        void* /*ptr*/, float opt)
    {
        HostedPlugin* host = effect != nullptr && effect->user != nullptr ? static_cast<HostedPlugin*>(effect->user)
                                                                           : current;
        if (host != nullptr) {
            host->calls.push_back({opcode, index, value, opt});
            if (opcode == audioMasterGetTime) {
                return reinterpret_cast<VstIntPtr>(host->timeInfo);
            }
        }
        return opcode == audioMasterVersion ? 2400 : 0;
    }

#if defined(_WIN32)
    // Build paths are Unix paths; Wine maps the root to drive Z:.
    static std::string ToWindowsPath(std::string path)
    {
        if (!path.empty() && path[0] == '/') {
            path = "Z:" + path;
        }
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        return path;
    }
    HMODULE library = nullptr;
#else
    void* library = nullptr;
#endif
    static inline HostedPlugin* current = nullptr;
    AEffect* effect = nullptr;
    std::vector<VstMidiEvent> midiEvents;
    std::vector<char> eventList;
};
