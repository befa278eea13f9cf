#include "AudioEffect.h"

#include "RecordingEffect.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using Calls = std::vector<std::string>;

TEST(AudioEffect, ConstructorFillsTheRecord)
{
    RecordingEffect effect(nullptr);
    const AEffect* record = effect.getAeffect();

    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 4);
    EXPECT_EQ(record->numParams, 3);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsCanReplacing);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, static_cast<AudioEffect*>(&effect));
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    for (char byte : record->future) {
        EXPECT_EQ(byte, 0);
    }
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getEditor(), nullptr);
}

TEST(AudioEffect, FlagSettersSetAndClearOnlyTheirBit)
{
    struct Setter {
        std::function<void(RecordingEffect&, bool)> set;
        VstInt32 bit;
    };
    const std::vector<Setter> setters = {
        {[](RecordingEffect& e, bool s) { e.hasClip(s); }, 2},
        {[](RecordingEffect& e, bool s) { e.hasVu(s); }, 4},
        {[](RecordingEffect& e, bool s) { e.canMono(s); }, 8},
        {[](RecordingEffect& e, bool s) { e.programsAreChunks(s); }, 32},
        {[](RecordingEffect& e, bool s) { e.canDoubleReplacing(s); }, 0x1000},
        {[](RecordingEffect& e, bool s) { e.isSynth(s); }, 0x100},
        {[](RecordingEffect& e, bool s) { e.noTail(s); }, 0x200},
        {[](RecordingEffect& e, bool s) { e.wantAsyncOperation(s); }, 0x400},
        {[](RecordingEffect& e, bool s) { e.hasExternalBuffer(s); }, 0x800},
    };
    for (const Setter& setter : setters) {
        RecordingEffect effect(nullptr);
        setter.set(effect, true);
        EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing | setter.bit);
        setter.set(effect, false);
        EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing);
    }
    RecordingEffect effect(nullptr);
    effect.canProcessReplacing(false);
    EXPECT_EQ(effect.getAeffect()->flags, 0);
}

TEST(AudioEffect, SetEditorKeepsTheEditorFlagInStep)
{
    bool editorDestroyed = false;
    RecordingEffect effect(nullptr);
    RecordingEditor editor(&effect, &editorDestroyed);
    effect.setEditor(&editor);
    EXPECT_EQ(effect.getEditor(), &editor);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing | effFlagsHasEditor);
    effect.setEditor(nullptr);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing);
}

TEST(AudioEffectDispatcher, SetProgramIgnoresValuesFromTheProgramCountUp)
{
    RecordingEffect effect(nullptr);
    EXPECT_EQ(effect.dispatch(effSetProgram, 0, 3), 0);
    EXPECT_EQ(effect.dispatch(effGetProgram), 3);
    effect.dispatch(effSetProgram, 0, 4);
    effect.dispatch(effSetProgram, 0, 1000);
    EXPECT_EQ(effect.dispatch(effGetProgram), 3);
    // Negative values pass; the effect's own checks decide.
    effect.dispatch(effSetProgram, 0, -2);
    EXPECT_EQ(effect.dispatch(effGetProgram), -2);
    EXPECT_EQ(effect.calls, (Calls {"setProgram 3", "setProgram -2"}));
}

// Hosts set the program from one thread and ask for it from another; the
// linux-tsan preset runs this under ThreadSanitizer.
TEST(AudioEffectDispatcher, ProgramNumberMayBeSetAndReadOnDifferentThreads)
{
    struct PlainEffect : AudioEffect {
        PlainEffect()
            : AudioEffect(nullptr, 4, 1)
        {
        }
        void processReplacing(float**, float**, VstInt32) override { }
    } effect;
    AEffect* record = effect.getAeffect();
    std::thread setter([record] {
        for (int i = 0; i < 20000; ++i) {
            record->dispatcher(record, effSetProgram, 0, i % 4, nullptr, 0.0f);
        }
    });
    bool allValid = true;
    for (int i = 0; i < 20000; ++i) {
        const VstIntPtr program = record->dispatcher(record, effGetProgram, 0, 0, nullptr, 0.0f);
        allValid = allValid && program >= 0 && program < 4;
    }
    setter.join();
    EXPECT_TRUE(allValid);
    EXPECT_EQ(record->dispatcher(record, effGetProgram, 0, 0, nullptr, 0.0f), 3);
}

TEST(AudioEffectDispatcher, LifecycleOpcodesReachTheOperations)
{
    RecordingEffect effect(nullptr);
    effect.dispatch(effOpen);
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    effect.dispatch(effSetBlockSize, 0, 512);
    effect.dispatch(effMainsChanged, 0, 1);
    effect.dispatch(effMainsChanged, 0, 0);
    effect.dispatch(effMainsChanged, 0, 7);
    effect.dispatch(effMainsChanged, 0, -1);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 512);
    // canDo is asked by every resume (AudioEffectX), never by suspend.
    EXPECT_EQ(effect.calls,
        (Calls {"open", "resume", "canDo receiveVstMidiEvent", "suspend", "resume", "canDo receiveVstMidiEvent",
            "resume", "canDo receiveVstMidiEvent"}));
}

TEST(AudioEffectDispatcher, IdentifyAnswersNvEfWhateverTheArguments)
{
    RecordingEffect effect(nullptr);
    char text[8] = {};
    EXPECT_EQ(effect.dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(effect.dispatch(effIdentify, -1, 99, text, 3.5f), 0x4E764566);
    EXPECT_TRUE(effect.calls.empty());
}

TEST(AudioEffectDispatcher, ChunkOpcodesPassIsPresetForAnyNonZeroIndex)
{
    RecordingEffect effect(nullptr);
    void* data = nullptr;
    EXPECT_EQ(effect.dispatch(effGetChunk, 0, 0, &data), 7);
    EXPECT_EQ(data, effect.chunk);
    effect.dispatch(effGetChunk, 1, 0, &data);
    effect.dispatch(effGetChunk, -5, 0, &data);
    EXPECT_EQ(effect.dispatch(effSetChunk, 0, 220, effect.chunk), 1);
    effect.dispatch(effSetChunk, 2, 220, effect.chunk);
    EXPECT_EQ(effect.calls, (Calls {"getChunk 0", "getChunk 1", "getChunk 1", "setChunk 220 0", "setChunk 220 1"}));
}

TEST(AudioEffectDispatcher, TextOpcodesFillTheHostsBuffer)
{
    RecordingEffect effect(nullptr);
    char text[32] = {};
    effect.dispatch(effGetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "Program");
    effect.dispatch(effGetParamLabel, 1, 0, text);
    EXPECT_STREQ(text, "ms");
    effect.dispatch(effGetParamDisplay, 1, 0, text);
    EXPECT_STREQ(text, "12.5");
    effect.dispatch(effGetParamName, 1, 0, text);
    EXPECT_STREQ(text, "Delay");
    char name[] = "Lush";
    effect.dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(effect.calls, (Calls {"setProgramName Lush"}));
}

TEST(AudioEffectDispatcher, NullBuffersAnswerZeroAndReachNothing)
{
    RecordingEffect effect(nullptr);
    bool editorDestroyed = false;
    effect.setEditor(new RecordingEditor(&effect, &editorDestroyed));
    for (VstInt32 opcode : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
             effEditGetRect, effGetChunk, effSetChunk}) {
        EXPECT_EQ(effect.dispatch(opcode, 1, 220, nullptr), 0) << "opcode " << opcode;
    }
    EXPECT_TRUE(effect.calls.empty());
}

TEST(AudioEffectDispatcher, UnhandledOpcodesAnswerZeroAndReachNothing)
{
    RecordingEffect effect(nullptr);
    alignas(8) char buffer[64] = {};
    for (VstInt32 opcode : {9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 1000, -1}) {
        EXPECT_EQ(effect.dispatch(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
    }
    EXPECT_TRUE(effect.calls.empty());
}

TEST(AudioEffectDispatcher, EditorOpcodesWithoutEditorAnswerZero)
{
    RecordingEffect effect(nullptr);
    ERect* rect = nullptr;
    int parent = 0;
    EXPECT_EQ(effect.dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(effect.dispatch(effEditOpen, 0, 0, &parent), 0);
    EXPECT_EQ(effect.dispatch(effEditClose), 0);
    EXPECT_EQ(effect.dispatch(effEditIdle), 0);
    EXPECT_EQ(effect.dispatch(effEditKeyDown, 'a'), 0);
    EXPECT_EQ(effect.dispatch(effEditKeyUp, 'a'), 0);
    EXPECT_EQ(effect.dispatch(effSetEditKnobMode, 0, 2), 0);
}

TEST(AudioEffectDispatcher, EditorOpcodesReachTheEditor)
{
    RecordingEffect effect(nullptr);
    bool editorDestroyed = false;
    auto* editor = new RecordingEditor(&effect, &editorDestroyed);
    effect.setEditor(editor);
    ERect* rect = nullptr;
    int parent = 0;

    EXPECT_EQ(effect.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor->bounds);
    EXPECT_EQ(effect.dispatch(effEditOpen, 0, 0, &parent), 1);
    EXPECT_TRUE(editor->isOpen());
    effect.dispatch(effEditIdle);
    effect.dispatch(effEditIdle);
    EXPECT_EQ(editor->idleCount, 2);
    EXPECT_EQ(effect.dispatch(effEditClose), 0);
    EXPECT_FALSE(editor->isOpen());
}

TEST(AudioEffectDispatcher, CloseAnswersOneAndDestroysTheEffectAndItsEditor)
{
    bool effectDestroyed = false;
    bool editorDestroyed = false;
    auto* effect = new RecordingEffect(nullptr, &effectDestroyed);
    effect->setEditor(new RecordingEditor(effect, &editorDestroyed));
    AEffect* record = effect->getAeffect();

    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(effectDestroyed);
    EXPECT_TRUE(editorDestroyed);
}

TEST(AudioEffect, TrampolinesForwardToTheObject)
{
    RecordingEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    float left[4] = {};
    float* channels[] = {left, left};
    double wide[4] = {};
    double* wideChannels[] = {wide, wide};

    record->processReplacing(record, channels, channels, 4);
    record->process(record, channels, channels, 3);
    record->processDoubleReplacing(record, wideChannels, wideChannels, 2);
    record->setParameter(record, 2, 0.5f);
    EXPECT_EQ(record->getParameter(record, 2), 0.5f);
    EXPECT_EQ(effect.calls,
        (Calls {"processReplacing 4", "process 3", "processDoubleReplacing 2", "setParameter 2 0.500000"}));
    // A host that hands in no record gets nothing done.
    EXPECT_EQ(record->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(record->getParameter(nullptr, 2), 0.0f);
}

TEST(AudioEffectHostCalls, PassTheRecordAndTheirArguments)
{
    RecordingHost host;
    RecordingEffect effect(RecordingHost::callback);
    AEffect* record = effect.getAeffect();
    host.answers[audioMasterVersion] = 2400;
    host.answers[audioMasterCurrentId] = 0x4F6D4368;
    host.answers[audioMasterPinConnected] = 1;

    effect.setParameterAutomated(2, 0.75f);
    EXPECT_EQ(effect.getMasterVersion(), 2400);
    EXPECT_EQ(effect.getCurrentUniqueId(), 0x4F6D4368);
    effect.masterIdle();
    EXPECT_FALSE(effect.isInputConnected(1));
    EXPECT_FALSE(effect.isOutputConnected(0));

    const std::vector<HostCall> expected = {
        {record, audioMasterAutomate, 2, 0, nullptr, 0.75f},
        {record, audioMasterVersion, 0, 0, nullptr, 0.0f},
        {record, audioMasterCurrentId, 0, 0, nullptr, 0.0f},
        {record, audioMasterIdle, 0, 0, nullptr, 0.0f},
        {record, audioMasterPinConnected, 1, 0, nullptr, 0.0f},
        {record, audioMasterPinConnected, 0, 1, nullptr, 0.0f},
    };
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(effect.calls, (Calls {"setParameter 2 0.750000"}));
}

TEST(AudioEffectHostCalls, ZeroAnswersMeanVersionOneAndConnectedPins)
{
    RecordingHost host;
    RecordingEffect effect(RecordingHost::callback);
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(1));
}

TEST(AudioEffectHostCalls, WithoutHostAnswerTheirDefaults)
{
    RecordingEffect effect(nullptr);
    effect.setParameterAutomated(1, 0.5f);
    effect.masterIdle();
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_EQ(effect.getCurrentUniqueId(), 0);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(0));
    EXPECT_EQ(effect.calls, (Calls {"setParameter 1 0.500000"}));
}

namespace {

std::string float2string(float value, VstInt32 maxLen = 16)
{
    RecordingEffect effect(nullptr);
    char text[32];
    std::memset(text, 'x', sizeof text);
    effect.float2string(value, text, maxLen);
    return text;
}

std::string int2string(VstInt32 value)
{
    RecordingEffect effect(nullptr);
    char text[32];
    std::memset(text, 'x', sizeof text);
    effect.int2string(value, text, 16);
    return text;
}

} // namespace

TEST(AudioEffectText, Float2StringWritesEightCharacters)
{
    EXPECT_EQ(float2string(1.5f), "1.500000");
    EXPECT_EQ(float2string(-3.25f), "-3.25000");
    EXPECT_EQ(float2string(0.0f), "0.000000");
    EXPECT_EQ(float2string(-0.5f), "-0.50000");
    EXPECT_EQ(float2string(0.7f), "0.700000");
    EXPECT_EQ(float2string(441.0f), "441.0000");
    EXPECT_EQ(float2string(1234567.0f), "1234567.");
    EXPECT_EQ(float2string(-999999.5f), "-999999.");
    EXPECT_EQ(float2string(9999999.0f), "9999999.");
    EXPECT_EQ(float2string(-9999999.0f), "-9999999.");
}

TEST(AudioEffectText, Float2StringSaysHugeBeyondItsLimits)
{
    EXPECT_EQ(float2string(100000000.0f), "Huge!");
    EXPECT_EQ(float2string(-10000000.0f), "Huge!");
    EXPECT_EQ(float2string(1e30f), "Huge!");
    EXPECT_EQ(float2string(-1e30f), "Huge!");
    EXPECT_EQ(float2string(INFINITY), "Huge!");
    EXPECT_EQ(float2string(NAN), "NaN");
    // Integer parts too long for eight characters keep all their digits.
    EXPECT_EQ(float2string(12345678.0f), "12345678.");
    EXPECT_EQ(float2string(-1234567.0f), "-1234567.");
}

TEST(AudioEffectText, WritesAtMostMaxLenAndTerminatesAtMaxLen)
{
    char text[16];
    std::memset(text, 'x', sizeof text);
    RecordingEffect effect(nullptr);
    effect.float2string(1.5f, text, 3);
    EXPECT_EQ(std::string(text), "1.5");
    EXPECT_EQ(text[4], 'x');

    std::memset(text, 'x', sizeof text);
    effect.dB2string(0.0f, text, 6);
    EXPECT_EQ(std::string(text), "-oo");
    EXPECT_EQ(text[6], 0);
    EXPECT_EQ(text[7], 'x');

    std::memset(text, 'x', sizeof text);
    effect.int2string(42, text, 0);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(text[1], 'x');
}

TEST(AudioEffectText, DecibelsFrequenciesAndMilliseconds)
{
    RecordingEffect effect(nullptr);
    char text[16] = {};
    effect.dB2string(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    effect.dB2string(0.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    effect.dB2string(-1.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    effect.dB2string(10.0f, text, 8);
    EXPECT_STREQ(text, "20.00000");

    effect.Hz2string(100.0f, text, 8); // 44100 / 100
    EXPECT_STREQ(text, "441.0000");
    effect.Hz2string(0.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    effect.ms2string(441.0f, text, 8); // 441 * 1000 / 44100
    EXPECT_STREQ(text, "10.00000");
}

TEST(AudioEffectText, Int2String)
{
    EXPECT_EQ(int2string(0), "0");
    EXPECT_EQ(int2string(7), "7");
    EXPECT_EQ(int2string(-42), "-42");
    EXPECT_EQ(int2string(99999999), "99999999");
    EXPECT_EQ(int2string(-99999999), "-99999999");
    EXPECT_EQ(int2string(100000000), "Huge!");
    EXPECT_EQ(int2string(-100000000), "Huge!");
    EXPECT_EQ(int2string(INT_MIN), "Huge!");
}
