#include "AudioEffectX.h"

#include "RecordingEffect.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

TEST(AudioEffectXDispatcher, AnswersTheDefaults)
{
    RecordingEffect effect(nullptr);
    alignas(8) char buffer[64] = {};
    EXPECT_EQ(effect.dispatch(effCanBeAutomated, 5), 1);
    EXPECT_EQ(effect.dispatch(effGetPlugCategory), kPlugCategUnknown);
    EXPECT_EQ(effect.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(effect.dispatch(effGetCurrentMidiProgram, 0, 0, buffer), -1);
    EXPECT_EQ(effect.dispatch(effSetTotalSampleToProcess, 0, 4096), 4096);
    EXPECT_EQ(effect.dispatch(effGetTailSize), 0);
    EXPECT_EQ(effect.dispatch(effGetVendorVersion), 0);
    EXPECT_EQ(effect.dispatch(effGetVendorString, 0, 0, buffer), 0);
    EXPECT_EQ(effect.dispatch(effGetParameterProperties, 0, 0, buffer), 0);
    EXPECT_EQ(effect.dispatch(effBeginSetProgram), 0);
    EXPECT_EQ(effect.dispatch(effGetNumMidiInputChannels), 0);
    EXPECT_EQ(effect.dispatch(effGetNumMidiOutputChannels), 0);
    EXPECT_EQ(effect.dispatch(effProcessEvents, 0, 0, buffer), 0);
    // Opcodes neither table knows go to the base dispatcher and answer 0.
    EXPECT_EQ(effect.dispatch(28, 1, 1, buffer, 1.0f), 0);
    EXPECT_EQ(effect.dispatch(80, 1, 1, buffer, 1.0f), 0);
}

TEST(AudioEffectXDispatcher, ReachesTheEffectsOwnOperations)
{
    RecordingEffect effect(nullptr);
    char name[kVstEffectNameSize] = {};
    VstEvent event {};
    VstEvents events {};
    events.numEvents = 1;
    events.events[0] = &event;
    char capability[] = "receiveVstTimeInfo";
    int audioFile = 0;
    effect.canDoAnswer = -1;

    EXPECT_EQ(effect.dispatch(effGetEffectName, 0, 0, name), 1);
    EXPECT_STREQ(name, "Recorder");
    EXPECT_EQ(effect.dispatch(effProcessEvents, 0, 0, &events), 1);
    EXPECT_EQ(effect.dispatch(effCanDo, 0, 0, capability), -1);
    effect.dispatch(effSetBypass, 0, 2);
    effect.dispatch(effSetBypass, 0, 0);
    EXPECT_EQ(effect.dispatch(effOfflineNotify, 3, 2, &audioFile), 1);
    effect.dispatch(effOfflineNotify, 0, 2, &audioFile);
    effect.dispatch(effOfflineNotify, -1, 2, &audioFile);
    EXPECT_EQ(effect.calls,
        (Calls {"canDo receiveVstTimeInfo", "setBypass 1", "setBypass 0", "offlineNotify 2 1", "offlineNotify 2 0",
            "offlineNotify 2 1"}));
}

TEST(AudioEffectXDispatcher, SynthFlagMakesTheCategorySynth)
{
    RecordingEffect effect(nullptr);
    effect.isSynth(true);
    EXPECT_EQ(effect.dispatch(effGetPlugCategory), kPlugCategSynth);
}

TEST(AudioEffectXDispatcher, GetSpeakerArrangementLeavesNullInBothPointers)
{
    RecordingEffect effect(nullptr);
    VstSpeakerArrangement arrangement {};
    VstSpeakerArrangement* input = &arrangement;
    VstSpeakerArrangement* output = &arrangement;
    EXPECT_EQ(effect.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);

    // A null out-pointer from the host: nothing is written.
    input = &arrangement;
    EXPECT_EQ(effect.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), nullptr), 0);
    EXPECT_EQ(input, &arrangement);
}

TEST(AudioEffectXDispatcher, KeyOpcodesBuildTheKeyCode)
{
    RecordingEffect effect(nullptr);
    bool editorDestroyed = false;
    auto* editor = new RecordingEditor(&effect, &editorDestroyed);
    effect.setEditor(editor);

    EXPECT_EQ(effect.dispatch(effEditKeyDown, 'a', 0x1FF, nullptr, 2.9f), 1);
    EXPECT_EQ(effect.dispatch(effEditKeyUp, 'b', 3, nullptr, 258.0f), 0);
    effect.dispatch(effEditKeyDown, 0, 0, nullptr, std::nanf(""));
    effect.dispatch(effEditKeyDown, 0, 0, nullptr, 1e20f);

    ASSERT_EQ(editor->keys.size(), 4u);
    EXPECT_EQ(editor->keys[0].character, 'a');
    EXPECT_EQ(editor->keys[0].virt, 0xFF);
    EXPECT_EQ(editor->keys[0].modifier, 2);
    EXPECT_EQ(editor->keys[1].character, 'b');
    EXPECT_EQ(editor->keys[1].virt, 3);
    EXPECT_EQ(editor->keys[1].modifier, 2); // low byte of 258
    EXPECT_EQ(editor->keys[2].modifier, 0);
    EXPECT_EQ(editor->keys[3].modifier, 0);

    EXPECT_EQ(effect.dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(effect.dispatch(effSetEditKnobMode, 0, 1), 0);
}

TEST(AudioEffectXDispatcher, NullPointersAnswerZeroAndReachNothing)
{
    RecordingEffect effect(nullptr);
    effect.canDoAnswer = 1;
    for (VstInt32 opcode : {effProcessEvents, effString2Parameter, effGetProgramNameIndexed, effGetInputProperties,
             effGetOutputProperties, effOfflineNotify, effProcessVarIo, effSetSpeakerArrangement, effGetEffectName,
             effGetVendorString, effGetProductString, effCanDo, effGetParameterProperties, effGetMidiProgramName,
             effGetMidiKeyName, effShellGetNextPlugin, effBeginLoadBank, effBeginLoadProgram}) {
        EXPECT_EQ(effect.dispatch(opcode, 1, 1, nullptr), 0) << "opcode " << opcode;
    }
    EXPECT_EQ(effect.dispatch(effGetCurrentMidiProgram, 0, 0, nullptr), -1);
    EXPECT_TRUE(effect.calls.empty());
}

TEST(AudioEffectXResume, AsksForMidiOnlyWhenTheEffectReceivesMidiOrIsASynth)
{
    struct Case {
        VstInt32 canDoAnswer;
        bool synth;
        bool wantsMidi;
    };
    for (const Case& c : {Case {1, false, true}, Case {0, false, false}, Case {-1, false, false},
             Case {2, false, false}, Case {-1, true, true}}) {
        RecordingHost host;
        RecordingEffect effect(RecordingHost::callback);
        effect.canDoAnswer = c.canDoAnswer;
        effect.isSynth(c.synth);
        effect.dispatch(effMainsChanged, 0, 1);

        std::vector<HostCall> expected;
        if (c.wantsMidi) {
            expected.push_back({effect.getAeffect(), audioMasterWantMidi, 0, 1, nullptr, 0.0f});
        }
        EXPECT_EQ(host.calls, expected) << "canDo " << c.canDoAnswer << " synth " << c.synth;
    }
}

TEST(AudioEffectXHostCalls, PassTheirArgumentsAndConvertTheAnswers)
{
    RecordingHost host;
    RecordingEffect effect(RecordingHost::callback);
    AEffect* record = effect.getAeffect();
    VstTimeInfo timeInfo {};
    for (VstInt32 opcode = 5; opcode <= 49; ++opcode) {
        host.answers[opcode] = 5;
    }
    host.answers[audioMasterGetTime] = reinterpret_cast<VstIntPtr>(&timeInfo);
    char text[64] = {};
    int object = 0;
    auto* task = reinterpret_cast<VstOfflineTask*>(&object);
    auto* files = reinterpret_cast<VstAudioFile*>(&object);
    auto* selector = reinterpret_cast<VstFileSelect*>(&object);

    effect.wantEvents(1);
    EXPECT_EQ(effect.getTimeInfo(kVstTempoValid | kVstPpqPosValid), &timeInfo);
    EXPECT_EQ(effect.tempoAt(99), 5);
    EXPECT_EQ(effect.getNumAutomatableParameters(), 5);
    EXPECT_EQ(effect.getParameterQuantization(), 5);
    EXPECT_TRUE(effect.ioChanged());
    EXPECT_TRUE(effect.needIdle());
    EXPECT_TRUE(effect.sizeWindow(400, 84));
    EXPECT_EQ(effect.getInputLatency(), 5);
    EXPECT_EQ(effect.getOutputLatency(), 5);
    EXPECT_EQ(effect.getPreviousPlug(1), reinterpret_cast<AEffect*>(5));
    EXPECT_EQ(effect.getNextPlug(2), reinterpret_cast<AEffect*>(5));
    EXPECT_EQ(effect.willProcessReplacing(), 5);
    EXPECT_EQ(effect.getCurrentProcessLevel(), 5);
    EXPECT_EQ(effect.getAutomationState(), 5);
    EXPECT_TRUE(effect.offlineStart(files, 3, 4));
    EXPECT_TRUE(effect.offlineRead(task, 6, true));
    EXPECT_TRUE(effect.offlineWrite(task, 7));
    EXPECT_TRUE(effect.offlineGetCurrentPass());
    EXPECT_TRUE(effect.offlineGetCurrentMetaPass());
    effect.setOutputSamplerate(96000.0f);
    EXPECT_EQ(effect.getOutputSpeakerArrangement(), reinterpret_cast<VstSpeakerArrangement*>(5));
    EXPECT_TRUE(effect.getHostVendorString(text));
    EXPECT_TRUE(effect.getHostProductString(text));
    EXPECT_EQ(effect.getHostVendorVersion(), 5);
    EXPECT_EQ(effect.hostVendorSpecific(8, 9, text, 1.5f), 5);
    EXPECT_TRUE(effect.canHostDo(text));
    EXPECT_EQ(effect.getHostLanguage(), 5);
    EXPECT_EQ(effect.openWindow(&object), 5);
    EXPECT_EQ(effect.closeWindow(&object), 5);
    EXPECT_EQ(effect.getDirectory(), reinterpret_cast<void*>(5));
    EXPECT_TRUE(effect.updateDisplay());
    EXPECT_TRUE(effect.beginEdit(3));
    EXPECT_TRUE(effect.endEdit(3));
    EXPECT_TRUE(effect.openFileSelector(selector));
    EXPECT_TRUE(effect.closeFileSelector(selector));
    EXPECT_TRUE(effect.getChunkFile(text));
    EXPECT_EQ(effect.getInputSpeakerArrangement(), reinterpret_cast<VstSpeakerArrangement*>(5));

    const std::vector<HostCall> expected = {
        {record, 6, 0, 1, nullptr, 0.0f},
        {record, 7, 0, kVstTempoValid | kVstPpqPosValid, nullptr, 0.0f},
        {record, 10, 0, 99, nullptr, 0.0f},
        {record, 11, 0, 0, nullptr, 0.0f},
        {record, 12, 0, 0, nullptr, 0.0f},
        {record, 13, 0, 0, nullptr, 0.0f},
        {record, 14, 0, 0, nullptr, 0.0f},
        {record, 15, 400, 84, nullptr, 0.0f},
        {record, 18, 0, 0, nullptr, 0.0f},
        {record, 19, 0, 0, nullptr, 0.0f},
        {record, 20, 1, 0, nullptr, 0.0f},
        {record, 21, 2, 0, nullptr, 0.0f},
        {record, 22, 0, 0, nullptr, 0.0f},
        {record, 23, 0, 0, nullptr, 0.0f},
        {record, 24, 0, 0, nullptr, 0.0f},
        {record, 25, 4, 3, files, 0.0f},
        {record, 26, 1, 6, task, 0.0f},
        {record, 27, 0, 7, task, 0.0f},
        {record, 28, 0, 0, nullptr, 0.0f},
        {record, 29, 0, 0, nullptr, 0.0f},
        {record, 30, 0, 0, nullptr, 96000.0f},
        {record, 31, 0, 0, nullptr, 0.0f},
        {record, 32, 0, 0, text, 0.0f},
        {record, 33, 0, 0, text, 0.0f},
        {record, 34, 0, 0, nullptr, 0.0f},
        {record, 35, 8, 9, text, 1.5f},
        {record, 37, 0, 0, text, 0.0f},
        {record, 38, 0, 0, nullptr, 0.0f},
        {record, 39, 0, 0, &object, 0.0f},
        {record, 40, 0, 0, &object, 0.0f},
        {record, 41, 0, 0, nullptr, 0.0f},
        {record, 42, 0, 0, nullptr, 0.0f},
        {record, 43, 3, 0, nullptr, 0.0f},
        {record, 44, 3, 0, nullptr, 0.0f},
        {record, 45, 0, 0, selector, 0.0f},
        {record, 46, 0, 0, selector, 0.0f},
        {record, 48, 0, 0, text, 0.0f},
        {record, 49, 0, 0, nullptr, 0.0f},
    };
    ASSERT_EQ(host.calls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host.calls[i], expected[i]) << "call " << i << ", opcode " << expected[i].opcode;
    }
}

TEST(AudioEffectXHostCalls, SampleRateAndBlockSizeChangeOnlyOnPositiveAnswers)
{
    RecordingHost host;
    RecordingEffect effect(RecordingHost::callback);
    host.answers[audioMasterGetSampleRate] = 48000;
    host.answers[audioMasterGetBlockSize] = 256;
    EXPECT_EQ(effect.updateSampleRate(), 48000.0f);
    EXPECT_EQ(effect.updateBlockSize(), 256);

    host.answers[audioMasterGetSampleRate] = -1;
    host.answers[audioMasterGetBlockSize] = 0;
    EXPECT_EQ(effect.updateSampleRate(), 48000.0f);
    EXPECT_EQ(effect.updateBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
}

TEST(AudioEffectXHostCalls, NullSelectorsAndPathsAreNotSent)
{
    RecordingHost host;
    RecordingEffect effect(RecordingHost::callback);
    host.answers[audioMasterOpenFileSelector] = 1;
    host.answers[audioMasterCloseFileSelector] = 1;
    host.answers[audioMasterGetChunkFile] = 1;
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(host.calls.empty());
}

TEST(AudioEffectXHostCalls, WithoutHostAnswerZeroFalseOrNull)
{
    RecordingEffect effect(nullptr);
    char text[8] = {};
    effect.wantEvents(1);
    EXPECT_EQ(effect.getTimeInfo(0), nullptr);
    EXPECT_FALSE(effect.ioChanged());
    EXPECT_FALSE(effect.sizeWindow(400, 84));
    EXPECT_FALSE(effect.canHostDo(text));
    EXPECT_FALSE(effect.beginEdit(0));
    EXPECT_EQ(effect.getNextPlug(0), nullptr);
    EXPECT_EQ(effect.hostVendorSpecific(1, 2, text, 3.0f), 0);
    EXPECT_EQ(effect.updateSampleRate(), 44100.0f);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
}

TEST(AudioEffectX, SetBlockSizeAndSampleRateStoresBoth)
{
    RecordingEffect effect(nullptr);
    effect.setBlockSizeAndSampleRate(64, 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
}

TEST(AudioEffectXArrangement, AllocateZeroFillsAndDeallocateNulls)
{
    RecordingEffect effect(nullptr);
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    ASSERT_NE(arrangement, nullptr);
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_EQ(arrangement->type, 0);
    EXPECT_EQ(arrangement->speakers[1].name[0], 0);
    EXPECT_EQ(arrangement->speakers[1].azimuth, 0.0f);

    // Reallocation replaces the old block.
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 6));
    EXPECT_EQ(arrangement->numChannels, 6);

    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_TRUE(effect.deallocateArrangement(nullptr));
}

TEST(AudioEffectXArrangement, ImpossibleChannelCountsFail)
{
    RecordingEffect effect(nullptr);
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 1));
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
}

TEST(AudioEffectXArrangement, CopySpeakerCopiesEverythingAndCutsTheName)
{
    RecordingEffect effect(nullptr);
    VstSpeakerProperties from {};
    from.azimuth = 0.5f;
    from.elevation = -0.25f;
    from.radius = 2.0f;
    from.reserved = 3.0f;
    std::memset(from.name, 'L', sizeof from.name); // not terminated
    from.type = 7;
    std::memset(from.future, 9, sizeof from.future);
    VstSpeakerProperties to {};

    EXPECT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::string(to.name), std::string(63, 'L'));
    EXPECT_EQ(to.type, 7);
    EXPECT_EQ(to.azimuth, 0.5f);
    EXPECT_EQ(to.elevation, -0.25f);
    EXPECT_EQ(to.radius, 2.0f);
    EXPECT_EQ(to.reserved, 3.0f);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
    EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
}

TEST(AudioEffectXArrangement, MatchCopiesTypeAndEverySpeaker)
{
    RecordingEffect effect(nullptr);
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&from, 2));
    from->type = 1;
    std::strcpy(from->speakers[0].name, "L");
    std::strcpy(from->speakers[1].name, "R");
    from->speakers[1].azimuth = 1.0f;

    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&to, 5));
    EXPECT_TRUE(effect.matchArrangement(&to, from));
    EXPECT_EQ(to->type, 1);
    EXPECT_EQ(to->numChannels, 2);
    EXPECT_STREQ(to->speakers[0].name, "L");
    EXPECT_STREQ(to->speakers[1].name, "R");
    EXPECT_EQ(to->speakers[1].azimuth, 1.0f);

    // Matching an arrangement to itself keeps it intact.
    EXPECT_TRUE(effect.matchArrangement(&from, from));
    EXPECT_STREQ(from->speakers[1].name, "R");
    EXPECT_FALSE(effect.matchArrangement(&to, nullptr));

    effect.deallocateArrangement(&to);
    effect.deallocateArrangement(&from);
}
