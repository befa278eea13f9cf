#pragma once

// A host reduced to what timing a plug-in needs: it loads the library, enters
// it through VSTPluginMain and answers the plug-in's calls from a callback that
// costs next to nothing (the version, a fixed transport, nothing else), so
// that the time measured is the plug-in's. PluginHost, the tools' host, sends
// an event list before every block and advances a transport, which would be
// counted against small blocks. One BenchHost holds one effect; one thread
// drives it.

#include "AEffect.h"

#include <dlfcn.h>

#include <string>

class BenchHost {
public:
    explicit BenchHost(const std::string& path)
    {
        library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        using Entry = AEffect* (*)(audioMasterCallback);
        auto entry = library != nullptr ? reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain")) : nullptr;
        effect = entry != nullptr ? entry(&Callback) : nullptr;
        if (effect == nullptr) {
            error = library == nullptr ? std::string("cannot load ") + path + ": " + dlerror()
                                       : path + " did not create an effect";
        }
    }

    ~BenchHost()
    {
        if (effect != nullptr) {
            Dispatch(effMainsChanged, 0, 0);
            Dispatch(effClose);
        }
        if (library != nullptr) {
            dlclose(library);
        }
    }

    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    bool Loaded() const { return effect != nullptr; }
    const std::string& Error() const { return error; }

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    // Open, rate, block size, program, resume: what a host does before audio.
    void Start(VstInt32 blockSize, VstInt32 program = 0, float sampleRate = 44100.0f)
    {
        Dispatch(effOpen);
        Dispatch(effSetProgram, 0, program);
        Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        Dispatch(effSetBlockSize, 0, blockSize);
        Dispatch(effMainsChanged, 0, 1);
    }

    void SetParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

    void Process(float** inputs, float** outputs, VstInt32 frames)
    {
        effect->processReplacing(effect, inputs, outputs, frames);
    }

    // Answers the version and a fixed transport at 120 beats per minute;
    // nothing else. Also the host of effects the benchmarks make in process.
    static VstIntPtr VSTCALL Callback(
        AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/)
    {
        static VstTimeInfo transport = [] {
            VstTimeInfo info {};
            info.sampleRate = 44100.0;
            info.tempo = 120.0;
            info.flags = kVstPpqPosValid | kVstTempoValid;
            return info;
        }();
        switch (opcode) {
        case audioMasterVersion:
            return kVstVersion;
        case audioMasterGetTime:
            return reinterpret_cast<VstIntPtr>(&transport);
        default:
            return 0;
        }
    }

private:
    void* library = nullptr;
    AEffect* effect = nullptr;
    std::string error;
};
