#pragma once

// The host side of the fuzz targets. It creates one chorus instance through
// the exported entry point and drives it only through the effect record,
// with arguments of the shapes a real host passes. After every step it
// checks what a host relies on: finite audio out of finite audio in, and
// every parameter value inside [0, 1]. A broken promise aborts, so libFuzzer
// keeps the input that caused it.
//
// Buffers are allocated at their exact sizes for every call, so the
// address sanitizer sees any access beyond what the host handed over.
// One thread; one instance per FuzzHost.

#include "AEffect.h"
#include "PluginEntry.h"
#include "Assert.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>


class FuzzHost {
public:
    // The largest block a fuzzed host hands over.
    static constexpr int MaxBlockSize = 40000;
    static constexpr int ChannelCount = 2;

    FuzzHost()
    {
        // Fuzzed hosts break preconditions on purpose; the reports are the
        // plug-in's documented answer and only slow the run down.
        SetAssertionHandler(&IgnoreReport);
        effect = VSTPluginMain(&Callback);
        Require(effect != nullptr, "the entry point made no effect");
        effect->user = this;
    }

    ~FuzzHost()
    {
        if (effect != nullptr) {
            Dispatch(effMainsChanged, 0, 0);
            Dispatch(effClose);
        }
    }

    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    static void Require(bool condition, const char* what)
    {
        if (!condition) {
            std::fprintf(stderr, "fuzz host: %s\n", what);
            std::abort();
        }
    }

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    // What every host does after loading.
    void Start(float sampleRate = 44100.0f, VstInt32 blockSize = 512)
    {
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        Dispatch(effSetBlockSize, 0, blockSize);
        Dispatch(effMainsChanged, 0, 1);
    }

    void SetParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }

    // The transport the host answers audioMasterGetTime with, or none.
    void SetTransport(FuzzedDataProvider& input)
    {
        answerTime = input.ConsumeBool();
        timeInfo.tempo = AnyDouble(input);
        timeInfo.ppqPos = AnyDouble(input);
        timeInfo.samplePos = AnyDouble(input);
        timeInfo.sampleRate = 44100.0;
        timeInfo.flags = input.ConsumeIntegral<VstInt32>();
    }

    // A list of up to 48 events of every kind a host may send: MIDI with any
    // bytes and positions, system exclusive with a real dump, and events of
    // other types. The list lives until the dispatcher returns.
    VstIntPtr SendEvents(FuzzedDataProvider& input, VstInt32 blockSize)
    {
        const int count = input.ConsumeIntegralInRange(0, 48);
        std::vector<VstMidiEvent> midi(count);
        std::vector<VstMidiSysexEvent> sysex(count);
        std::vector<std::vector<char>> dumps(count);
        std::vector<char> list(sizeof(VstEvents) + count * sizeof(VstEvent*));
        auto* events = reinterpret_cast<VstEvents*>(list.data());
        events->numEvents = count;
        // The list is declared with two entries and allocated with count.
        VstEvent** entries = events->events;
        for (int i = 0; i < count; ++i) {
            const int kind = input.ConsumeIntegralInRange(0, 9);
            if (kind == 8) {
                dumps[i] = input.ConsumeBytes<char>(input.ConsumeIntegralInRange(0, 64));
                VstMidiSysexEvent& event = sysex[i];
                event.type = kVstSysExType;
                event.byteSize = sizeof(VstMidiSysexEvent);
                event.deltaFrames = input.ConsumeIntegralInRange(0, blockSize);
                event.dumpBytes = static_cast<VstInt32>(dumps[i].size());
                event.sysexDump = dumps[i].data();
                entries[i] = reinterpret_cast<VstEvent*>(&event);
                continue;
            }
            VstMidiEvent& event = midi[i];
            event.type = kind == 9 ? input.ConsumeIntegral<VstInt32>() : kVstMidiType;
            event.byteSize = sizeof(VstMidiEvent);
            // Mostly inside the block, sometimes anywhere at all.
            event.deltaFrames
                = input.ConsumeBool() ? input.ConsumeIntegralInRange(0, blockSize) : input.ConsumeIntegral<VstInt32>();
            // Mostly control changes, as those are what the chorus reacts to.
            event.midiData[0] = static_cast<char>(
                kind < 6 ? 0xB0 | (input.ConsumeIntegral<uint8_t>() & 0x0F) : input.ConsumeIntegral<uint8_t>());
            event.midiData[1] = static_cast<char>(input.ConsumeIntegral<uint8_t>());
            event.midiData[2] = static_cast<char>(input.ConsumeIntegral<uint8_t>());
            event.midiData[3] = static_cast<char>(input.ConsumeIntegral<uint8_t>());
            entries[i] = reinterpret_cast<VstEvent*>(&event);
        }
        return Dispatch(effProcessEvents, 0, 0, events);
    }

    // One block of frames samples (0 to MaxBlockSize) of a finite test
    // signal, in place or into separate buffers, then the checks.
    void Process(FuzzedDataProvider& input, int frames)
    {
        Require(frames >= 0 && frames <= MaxBlockSize, "block size out of the fuzzed range");
        const bool inPlace = input.ConsumeBool();
        RunBlock(input.ConsumeIntegralInRange(0, 4), inPlace, frames);
        CheckParameters();
    }

    // What a user does when something went wrong: stop, set the session's
    // rate, start again and choose a program. Whatever came before, noise in
    // must then give sound out again on both channels.
    void CheckRecovers()
    {
        Dispatch(effMainsChanged, 0, 0);
        Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        Dispatch(effMainsChanged, 0, 1);
        Dispatch(effSetProgram, 0, 0);
        answerTime = false;
        constexpr int Blocks = 16;
        constexpr int Frames = 512;
        double energy[ChannelCount] = {};
        for (int block = 0; block < Blocks; ++block) {
            RunBlock(1, false, Frames);
            // The second half, after the longest delay has filled.
            for (int channel = 0; block >= Blocks / 2 && channel < ChannelCount; ++channel) {
                for (int i = 0; i < Frames; ++i) {
                    energy[channel] += static_cast<double>(written[channel][i]) * written[channel][i];
                }
            }
        }
        for (double channelEnergy : energy) {
            // Noise of power 1/3 in; even a fully wet, strongly filtered
            // signal keeps far more than this.
            Require(channelEnergy / (Blocks / 2 * Frames) > 1e-3, "the sound did not come back");
        }
    }

    // Every parameter the host can see answers a normalised value.
    void CheckParameters()
    {
        for (VstInt32 index = 0; index < effect->numParams; ++index) {
            const float value = effect->getParameter(effect, index);
            Require(value >= 0.0f && value <= 1.0f, "getParameter answered a value outside [0, 1]");
        }
    }

    // The longest text, terminator included, a text opcode may write; 0 for
    // other opcodes.
    static int TextLimit(VstInt32 opcode)
    {
        switch (opcode) {
        case effGetProgramName:
        case effGetProgramNameIndexed:
            return kVstProgramNameSize;
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
            return kVstParameterTextSize;
        case effGetEffectName:
            return kVstEffectNameSize;
        case effGetVendorString:
            return kVstVendorStringSize;
        case effGetProductString:
            return kVstProductStringSize;
        default:
            return 0;
        }
    }

    // A text the plug-in writes into a host buffer of 1024 bytes stays
    // within the text opcode's limit, terminator included.
    void CheckText(VstInt32 opcode, VstInt32 index)
    {
        char text[1024];
        std::memset(text, 0x55, sizeof text);
        Dispatch(opcode, index, 0, text);
        Require(std::memchr(text, 0, static_cast<std::size_t>(TextLimit(opcode))) != nullptr,
            "a text is longer than the host's buffer allows");
    }

    // Every float, NaN and infinities included, from four bytes.
    static float AnyFloat(FuzzedDataProvider& input)
    {
        const uint32_t bits = input.ConsumeIntegral<uint32_t>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    static double AnyDouble(FuzzedDataProvider& input)
    {
        const uint64_t bits = input.ConsumeIntegral<uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    AEffect* effect = nullptr;

private:
    static void IgnoreReport(const char*, const char*, int) { }

    static VstIntPtr VSTCALL Callback(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
    {
        FuzzHost* host = effect != nullptr ? static_cast<FuzzHost*>(effect->user) : nullptr;
        switch (opcode) {
        case audioMasterVersion:
            return kVstVersion;
        case audioMasterGetTime:
            return host != nullptr && host->answerTime ? reinterpret_cast<VstIntPtr>(&host->timeInfo) : 0;
        default:
            return 0;
        }
    }

    // One block of frames samples of test signal `signal` through
    // processReplacing, in place or into separate buffers, into `written`;
    // every sample written must be finite.
    void RunBlock(int signal, bool inPlace, int frames)
    {
        float* inputPointers[ChannelCount];
        for (int channel = 0; channel < ChannelCount; ++channel) {
            blockInputs[channel].resize(frames);
            FillSignal(blockInputs[channel], signal);
            blockOutputs[channel].assign(frames, 0.0f);
            inputPointers[channel] = blockInputs[channel].data();
            written[channel] = inPlace ? blockInputs[channel].data() : blockOutputs[channel].data();
        }
        effect->processReplacing(effect, inputPointers, written, frames);
        for (float* channel : written) {
            for (int i = 0; i < frames; ++i) {
                Require(std::isfinite(channel[i]), "processReplacing wrote a sample that is not finite");
            }
        }
    }

    // Silence, noise, a full-scale square wave, noise at subnormal level
    // and a loud impulse train: finite signals a host may deliver.
    void FillSignal(std::vector<float>& samples, int signal)
    {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            noise = noise * 1664525u + 1013904223u;
            const float random = static_cast<float>(static_cast<int32_t>(noise)) * (1.0f / 2147483648.0f);
            switch (signal) {
            case 0:
                samples[i] = 0.0f;
                break;
            case 1:
                samples[i] = random;
                break;
            case 2:
                samples[i] = (i / 50) % 2 == 0 ? 1.0f : -1.0f;
                break;
            case 3:
                samples[i] = random * 1e-39f;
                break;
            default:
                samples[i] = i % 997 == 0 ? 16.0f : 0.0f;
                break;
            }
        }
    }

    bool answerTime = true;
    VstTimeInfo timeInfo {
        0.0, 44100.0, 0.0, 0.0, 120.0, 0.0, 0.0, 0.0, 4, 4, 0, 0, 0, kVstPpqPosValid | kVstTempoValid};
    uint32_t noise = 1;
    std::vector<float> blockInputs[ChannelCount];
    std::vector<float> blockOutputs[ChannelCount];
    float* written[ChannelCount] = {};
};
