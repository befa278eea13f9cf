// Three host threads on one chorus instance at once, the way hosts use a
// plug-in: the audio thread sends events and processes blocks; an automation
// thread sets parameters, programs, program names and chunks; a project
// thread saves chunks (getChunk, then copying the bytes) and reads names and
// display texts. Built under ThreadSanitizer by the linux-tsan preset, where
// any data race fails the run; in the other builds it checks the answers.

#include "AEffect.h"
#include "OmbrixChorusDescription.h"
#include "PluginEntry.h"
#include "Assert.h"
#include "MidiEvents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int BlockSize = 256;
constexpr int AudioBlocks = 3000;
constexpr int BankSize = sizeof(ChorusBank);
constexpr int ProgramSize = sizeof(ProgramChunk<OmbrixChorusDescription.ParameterCount>);

std::atomic<long> reports {0};
std::atomic<long> automations {0};

void CountReport(const char*, const char*, int)
{
    reports.fetch_add(1, std::memory_order_relaxed);
}

// The host's answers are read-only or atomic, so any thread may call back.
VstIntPtr VSTCALL HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    static const VstTimeInfo time {
        0.0, 44100.0, 0.0, 8.0, 120.0, 0.0, 0.0, 0.0, 4, 4, 0, 0, 0, kVstPpqPosValid | kVstTempoValid};
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&time);
    case audioMasterAutomate:
        automations.fetch_add(1, std::memory_order_relaxed);
        return 0;
    default:
        return 0;
    }
}

class OmbrixChorusStressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousHandler = SetAssertionHandler(&CountReport);
        reports.store(0);
        effect = VSTPluginMain(&HostCallback);
        ASSERT_NE(effect, nullptr);
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        Dispatch(effSetBlockSize, 0, BlockSize);
        Dispatch(effMainsChanged, 0, 1);
    }

    void TearDown() override
    {
        if (effect != nullptr) {
            Dispatch(effMainsChanged, 0, 0);
            Dispatch(effClose);
        }
        SetAssertionHandler(previousHandler);
    }

    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    std::vector<char> CopyChunk(bool isPreset)
    {
        void* data = nullptr;
        const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
        if (data == nullptr || size <= 0) {
            return {};
        }
        return std::vector<char>(static_cast<char*>(data), static_cast<char*>(data) + size);
    }

    AEffect* effect = nullptr;
    AssertionHandler previousHandler = nullptr;
};

// Control changes on mapped controllers and the modulation wheel, spread
// over the block.
struct EventList {
    explicit EventList(int block)
    {
        for (int i = 0; i < Count; ++i) {
            midi[i]
                = MakeControlChange((i * BlockSize) / Count, Controllers[(block + i) % 5], (block * 7 + i * 31) % 128);
        }
        list.numEvents = Count;
        for (int i = 0; i < Count; ++i) {
            list.entries[i] = reinterpret_cast<VstEvent*>(&midi[i]);
        }
    }

    static constexpr int Count = 4;
    static constexpr int Controllers[5] = {93, 16, 17, 1, 19};
    VstMidiEvent midi[Count] = {};
    // VstEvents with room for Count entries, laid out as hosts allocate it.
    struct {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* entries[Count];
    } list = {};
};

TEST_F(OmbrixChorusStressTest, AudioAutomationAndProjectThreadsRunTogether)
{
    const std::vector<char> bank = CopyChunk(false);
    const std::vector<char> program = CopyChunk(true);
    ASSERT_EQ(bank.size(), static_cast<std::size_t>(BankSize));
    ASSERT_EQ(program.size(), static_cast<std::size_t>(ProgramSize));

    std::atomic<bool> audioDone {false};
    std::atomic<long> badSamples {0};
    std::atomic<long> badValues {0};
    std::atomic<long> badChunks {0};
    std::atomic<long> reads {0};
    std::atomic<long> writes {0};

    std::thread audio([&] {
        std::vector<float> left(BlockSize), right(BlockSize), outLeft(BlockSize), outRight(BlockSize);
        for (int block = 0; block < AudioBlocks; ++block) {
            for (int i = 0; i < BlockSize; ++i) {
                left[i] = std::sin(0.01f * static_cast<float>(block * BlockSize + i));
                right[i] = -left[i];
            }
            EventList events(block);
            Dispatch(effProcessEvents, 0, 0, &events.list);
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            effect->processReplacing(effect, inputs, outputs, BlockSize);
            for (int i = 0; i < BlockSize; ++i) {
                if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i])) {
                    badSamples.fetch_add(1, std::memory_order_relaxed);
                }
            }
        }
        audioDone.store(true);
    });

    std::thread automation([&] {
        std::mt19937 random(1);
        std::vector<char> bankCopy = bank;
        std::vector<char> programCopy = program;
        char name[24] = "Stress";
        while (!audioDone.load()) {
            const int action = static_cast<int>(random() % 16);
            if (action < 10) {
                effect->setParameter(
                    effect, static_cast<VstInt32>(random() % 8), static_cast<float>(random() % 1001) / 1000.0f);
            } else if (action < 12) {
                Dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 32));
            } else if (action < 13) {
                name[6] = static_cast<char>('A' + random() % 26);
                Dispatch(effSetProgramName, 0, 0, name);
            } else if (action < 14) {
                Dispatch(effSetChunk, 1, ProgramSize, programCopy.data());
            } else {
                Dispatch(effSetChunk, 0, BankSize, bankCopy.data());
            }
            writes.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::thread project([&] {
        char text[256];
        while (!audioDone.load()) {
            const std::vector<char> savedBank = CopyChunk(false);
            const std::vector<char> savedProgram = CopyChunk(true);
            if (savedBank.size() != static_cast<std::size_t>(BankSize)
                || savedProgram.size() != static_cast<std::size_t>(ProgramSize)) {
                badChunks.fetch_add(1, std::memory_order_relaxed);
            }
            for (VstInt32 index = 0; index < 8; ++index) {
                Dispatch(effGetParamName, index, 0, text);
                Dispatch(effGetParamDisplay, index, 0, text);
                Dispatch(effGetParamLabel, index, 0, text);
                const float value = effect->getParameter(effect, index);
                if (!(value >= 0.0f && value <= 1.0f)) {
                    badValues.fetch_add(1, std::memory_order_relaxed);
                }
            }
            Dispatch(effGetProgramName, 0, 0, text);
            Dispatch(effGetProgramNameIndexed, static_cast<VstInt32>(reads.load() % 32), 0, text);
            Dispatch(effGetProgram);
            reads.fetch_add(1, std::memory_order_relaxed);
        }
    });

    audio.join();
    automation.join();
    project.join();

    EXPECT_EQ(badSamples.load(), 0) << "samples that are not finite";
    EXPECT_EQ(badValues.load(), 0) << "parameter values outside [0, 1]";
    EXPECT_EQ(badChunks.load(), 0) << "chunks of the wrong size";
    EXPECT_EQ(reports.load(), 0) << "assertion reports";
    EXPECT_GT(reads.load(), 0);
    EXPECT_GT(writes.load(), 0);
    EXPECT_GT(automations.load(), 0) << "mapped controllers tell the host";
}

} // namespace
