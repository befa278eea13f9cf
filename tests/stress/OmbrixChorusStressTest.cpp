// Host threads on one chorus instance at once, the way hosts use a plug-in.
// Three threads: the audio thread sends events and processes blocks; an
// automation thread sets parameters, programs, program names and chunks; a
// project thread saves chunks (getChunk, then copying the bytes) and reads
// names and display texts. Two threads: one changes parameters, programs and
// chunks while the other processes, and afterwards the sound must be that of
// the values the parameters show. Built under ThreadSanitizer by the
// linux-tsan preset, where any data race fails the run; in the other builds
// it checks the answers.

#include "AEffect.h"
#include "OmbrixChorusDescription.h"
#include "PluginEntry.h"
#include "Assert.h"
#include "MidiEvents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstddef>
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

VstIntPtr DispatchTo(
    AEffect* target, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
{
    return target->dispatcher(target, opcode, index, value, ptr, opt);
}

// A copy of the chunk the instance hands out, taken at once.
std::vector<char> CopyChunkOf(AEffect* target, bool isPreset)
{
    void* data = nullptr;
    const VstIntPtr size = DispatchTo(target, effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return std::vector<char>(static_cast<char*>(data), static_cast<char*>(data) + size);
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
        return DispatchTo(effect, opcode, index, value, ptr, opt);
    }

    std::vector<char> CopyChunk(bool isPreset) { return CopyChunkOf(effect, isPreset); }

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

// One block of noise, the same for every instance at the same block number.
void ProcessNoiseBlock(AEffect* target, int block, std::vector<float>& outLeft, std::vector<float>& outRight)
{
    std::mt19937 random(static_cast<unsigned>(block));
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    std::vector<float> left(BlockSize), right(BlockSize);
    for (int i = 0; i < BlockSize; ++i) {
        left[i] = sample(random);
        right[i] = sample(random);
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    target->processReplacing(target, inputs, outputs, BlockSize);
}

// Delay time, depth and mix.
constexpr int Smoothed[] = {1, 2, 4};

// A program chunk of the instance with these values.
std::vector<char> ProgramWith(AEffect* target, const float (&values)[OmbrixChorusDescription.ParameterCount])
{
    std::vector<char> program = CopyChunkOf(target, true);
    std::memcpy(program.data() + offsetof(ProgramChunk<OmbrixChorusDescription.ParameterCount>, values), values, sizeof values);
    return program;
}

// One thread changes parameters, programs and chunks while another processes;
// the changer ends by loading a program and moving the three smoothed values
// in small steps, one per block, so that their short glides keep arriving
// while changes come in. Once the glides finish, every smoother
// must hold its parameter's value: the output equals, bit for bit, that of a
// fresh instance given the same values as a program. Both instances' delay
// lines are cleared by switching the chorus off for a block, and the program
// stops the oscillator at phase 0 (frequency 0), so that the smoothers are
// all that could differ. Final values below 0.5 make every glide end exactly
// on its target.
TEST_F(OmbrixChorusStressTest, ChangesFromAnotherThreadAllReachTheSound)
{
    constexpr float SampleRate = 4000.0f;
    Dispatch(effSetSampleRate, 0, 0, nullptr, SampleRate);
    const std::vector<char> bank = CopyChunk(false);
    ASSERT_EQ(bank.size(), static_cast<std::size_t>(BankSize));
    for (unsigned round = 0; round < 3; ++round) {
        std::mt19937 random(round);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        std::uniform_real_distribution<float> belowHalf(0.0f, 0.49f);
        float finalValues[OmbrixChorusDescription.ParameterCount]
            = {1.0f, unit(random), belowHalf(random), 0.0f, belowHalf(random), 0.0f, 1.0f, 0.0f};
        float programValues[OmbrixChorusDescription.ParameterCount];
        std::memcpy(programValues, finalValues, sizeof finalValues);
        for (const int smoothed : Smoothed) {
            programValues[smoothed] = unit(random);
        }
        std::vector<char> program = ProgramWith(effect, programValues);

        std::atomic<int> blocks {0};
        std::atomic<bool> changerDone {false};
        std::thread audio([&] {
            std::vector<float> outLeft(BlockSize), outRight(BlockSize);
            while (!changerDone.load()) {
                ProcessNoiseBlock(effect, blocks.load(), outLeft, outRight);
                blocks.fetch_add(1);
            }
        });
        std::thread changer([&] {
            // Starts once blocks run, so that every change meets them.
            while (blocks.load() == 0) {
                std::this_thread::yield();
            }
            std::vector<char> bankCopy = bank;
            std::vector<char> programCopy = program;
            for (int change = 0; change < 3000; ++change) {
                const int action = static_cast<int>(random() % 16);
                if (action < 12) {
                    effect->setParameter(effect, static_cast<VstInt32>(random() % 8), unit(random));
                } else if (action < 14) {
                    Dispatch(effSetProgram, 0, static_cast<VstIntPtr>(random() % 32));
                } else if (action < 15) {
                    Dispatch(effSetChunk, 1, ProgramSize, programCopy.data());
                } else {
                    Dispatch(effSetChunk, 0, BankSize, bankCopy.data());
                }
            }
            programCopy = program;
            Dispatch(effSetChunk, 1, ProgramSize, programCopy.data());
            // Each smoothed value in turn moves by a step so small that its
            // glide arrives in the block that takes it, once per block and at
            // some point inside the block: the next change comes in while the
            // last one arrives.
            for (const int smoothed : Smoothed) {
                for (int step = 0; step < 40; ++step) {
                    const int seen = blocks.load();
                    while (blocks.load() == seen) {
                        std::this_thread::yield();
                    }
                    for (volatile int spin = static_cast<int>(random() % 4000); spin > 0; spin = spin - 1) { }
                    const float offset = step % 2 == 0 ? 0.00001f : 0.0f;
                    effect->setParameter(effect, smoothed, finalValues[smoothed] + offset);
                }
            }
            changerDone.store(true);
        });
        changer.join();
        audio.join();
        EXPECT_GT(blocks.load(), 1) << "round " << round;
        for (int index = 0; index < OmbrixChorusDescription.ParameterCount; ++index) {
            ASSERT_EQ(effect->getParameter(effect, index), finalValues[index]) << "round " << round;
        }

        AEffect* fresh = VSTPluginMain(&HostCallback);
        ASSERT_NE(fresh, nullptr);
        DispatchTo(fresh, effOpen);
        DispatchTo(fresh, effSetSampleRate, 0, 0, nullptr, SampleRate);
        DispatchTo(fresh, effSetBlockSize, 0, BlockSize);
        DispatchTo(fresh, effMainsChanged, 0, 1);
        std::vector<char> freshProgram = ProgramWith(fresh, finalValues);
        DispatchTo(fresh, effSetChunk, 1, ProgramSize, freshProgram.data());

        // Two seconds for the last glides, then a bypassed block that clears
        // the delay lines, then the same audio through both.
        std::vector<float> out[2][2];
        for (auto& instance : out) {
            for (auto& channel : instance) {
                channel.assign(BlockSize, 0.0f);
            }
        }
        AEffect* instances[2] = {effect, fresh};
        for (int block = 0; block < 2 * static_cast<int>(SampleRate) / BlockSize; ++block) {
            ProcessNoiseBlock(effect, block, out[0][0], out[0][1]);
        }
        bool identical = true;
        for (int which = 0; which < 2; ++which) {
            AEffect* instance = instances[which];
            instance->setParameter(instance, 0, 0.0f);
            ProcessNoiseBlock(instance, 0, out[which][0], out[which][1]);
            instance->setParameter(instance, 0, 1.0f);
        }
        for (int block = 1; block < 40; ++block) {
            for (int which = 0; which < 2; ++which) {
                ProcessNoiseBlock(instances[which], block, out[which][0], out[which][1]);
            }
            for (int channel = 0; channel < 2; ++channel) {
                identical = identical
                    && std::memcmp(out[0][channel].data(), out[1][channel].data(), BlockSize * sizeof(float)) == 0;
            }
        }
        EXPECT_TRUE(identical) << "round " << round << ": the sound differs from the values shown";
        DispatchTo(fresh, effMainsChanged, 0, 0);
        DispatchTo(fresh, effClose);
    }
    EXPECT_EQ(reports.load(), 0) << "assertion reports";
}

} // namespace
