#include "CustomAudioEffect.h"

#include "AssertionRecorder.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "PluginBase.h"
#include "ProductDescription.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// What the recording plug-in saw, in order: runs, controllers, transport, resets.
struct Call {
    enum Kind { Run, Controller, Sync, Reset } kind;
    const float* input;
    float* output;
    int count;
    int controller;
    float value;
};

std::vector<Call>* calls = nullptr;

void Record(const Call& call)
{
    if (calls != nullptr) {
        calls->push_back(call);
    }
}

class ResetRecorder : public IComponent {
public:
    void Reset() override { Record({Call::Reset, nullptr, nullptr, 0, 0, 0.0f}); }
    float GetSampleRate() override { return rate; }
    void SetSampleRate(float sampleRate) override { rate = sampleRate; }
    float rate = 0.0f;
};

class ControllerRecorder : public IControllable, public ISynchronizeable {
public:
    void SetController(char controller, float value) override
    {
        Record({Call::Controller, nullptr, nullptr, 0, controller, value});
    }
    void Synchronize(double tempo, double ppqnPosition) override
    {
        Record({Call::Sync, nullptr, nullptr, static_cast<int>(ppqnPosition), 0, static_cast<float>(tempo)});
    }
};

using PlainParameter = Parameter<float, DoNothingSmoothTransform, DisplayFloat>;

// Eight plain parameters with distinct defaults, shown from 0 to 10 units;
// controllers 93 -> 4 and 16 -> 1.
constexpr ParameterScale TenUnits = {ParameterKind::Continuous, 0.0, 10.0, ParameterCurve::Linear, "u", 2};
constexpr int NoCc = ParameterDescription::NoController;
constexpr ParameterDescription TestParameters[] = {
    {0, {"P0", "Parameter 0", "L0"}, TenUnits, 1.0f, NoCc},
    {1, {"P1", "Parameter 1", "L1"}, TenUnits, 0.5f, 16},
    {2, {"P2", "Parameter 2", "L2"}, TenUnits, 0.25f, NoCc},
    {3, {"P3", "Parameter 3", "L3"}, TenUnits, 0.0f, NoCc},
    {4, {"P4", "Parameter 4", "L4"}, TenUnits, 0.5f, 93},
    {5, {"P5", "Parameter 5", "L5"}, TenUnits, 0.1f, NoCc},
    {6, {"P6", "Parameter 6", "L6"}, TenUnits, 1.0f, NoCc},
    {7, {"P7", "Parameter 7", "L7"}, TenUnits, 0.0f, NoCc},
};
constexpr FactoryProgram<8> TestPrograms[] = {{"Test", {}}};

// A small plug-in built from the toolkit: the parameters above, and a
// Process that records its runs and copies input to output.
class RecordingPlugin : public PluginBase {
public:
    static constexpr ProductDescription<8, 1> Description = {
        {"Test Effect", "Test Vendor", "Test Product", 1000, 0x4F6D4368, "", "", nullptr},
        {2, 2, 1},
        TestParameters,
        TestPrograms,
    };

    RecordingPlugin()
    {
        for (int id = 0; id < 8; ++id) {
            AddParameter(&parameters[id], TestParameters[id]);
        }
        AddComponent(&resets);
        AddControllable(&controllers);
        AddSynchronizeable(&controllers);
    }

    void Process(float** inputs, float** outputs, int count) override
    {
        Record({Call::Run, inputs[0], outputs[0], count, 0, 0.0f});
        for (int channel = 0; channel < 2; ++channel) {
            std::memmove(outputs[channel], inputs[channel], sizeof(float) * static_cast<size_t>(count));
        }
    }

    // The editor's gestures reach the adapter through the observer kept here.
    Editor* CreateEditor(AudioEffect* effect, IControlObserver* editorObserver) override
    {
        observer = editorObserver;
#if defined(_WIN32)
        (void)effect;
        return nullptr;
#else
        return new Editor(effect);
#endif
    }

    PlainParameter parameters[8] = {
        PlainParameter(TestParameters[0]),
        PlainParameter(TestParameters[1]),
        PlainParameter(TestParameters[2]),
        PlainParameter(TestParameters[3]),
        PlainParameter(TestParameters[4]),
        PlainParameter(TestParameters[5]),
        PlainParameter(TestParameters[6]),
        PlainParameter(TestParameters[7]),
    };
    ResetRecorder resets;
    ControllerRecorder controllers;
    IControlObserver* observer = nullptr;
};

using TestEffect = CustomAudioEffect<32, 8, 0, 2, 2, 1, 1000, 0x4F6D4368, RecordingPlugin>;

// A host that records its callbacks and can answer time information.
struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};
std::vector<HostCall> hostCalls;
VstTimeInfo* timeAnswer = nullptr;
// Whether the host can size the editor's window: canDo "sizeWindow" and
// audioMasterSizeWindow answer 1.
bool hostSizesWindows = false;

VstIntPtr VSTCALL RecordingHost(
    AEffect* /*effect*/, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    hostCalls.push_back({opcode, index, value, opt});
    switch (opcode) {
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(timeAnswer);
    case audioMasterVersion:
        return 2400;
    case audioMasterCanDo:
        return hostSizesWindows && ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0;
    case audioMasterSizeWindow:
        return hostSizesWindows ? 1 : 0;
    default:
        return 0;
    }
}

int AutomationCount()
{
    int count = 0;
    for (const HostCall& call : hostCalls) {
        count += call.opcode == audioMasterAutomate ? 1 : 0;
    }
    return count;
}

class CustomAudioEffectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostCalls.clear();
        timeAnswer = nullptr;
        hostSizesWindows = false;
        recorded.reserve(4096);
        calls = &recorded;
        effect = new TestEffect(&RecordingHost, "Test Effect", "Test Vendor", "Test Product");
        hostCalls.clear();
        recorded.clear();
        for (int channel = 0; channel < 2; ++channel) {
            input[channel].assign(40000, 0.0f);
            output[channel].assign(40000, 0.0f);
            inputs[channel] = input[channel].data();
            outputs[channel] = output[channel].data();
        }
    }
    void TearDown() override
    {
        delete effect;
        calls = nullptr;
    }

    // What the effect handed its editor to report gestures to.
    IControlObserver& EditorObserver()
    {
        IControlObserver* observer = effect->GetPlugin().observer;
        EXPECT_NE(observer, nullptr);
        return *observer;
    }

    std::vector<Call> Runs() const
    {
        std::vector<Call> runs;
        for (const Call& call : recorded) {
            if (call.kind == Call::Run) {
                runs.push_back(call);
            }
        }
        return runs;
    }

    void SendEvents(std::vector<VstMidiEvent> midi, std::vector<VstEvent*> extra = {})
    {
        midiStore = std::move(midi);
        std::vector<VstEvent*> pointers;
        for (VstMidiEvent& event : midiStore) {
            pointers.push_back(reinterpret_cast<VstEvent*>(&event));
        }
        pointers.insert(pointers.end(), extra.begin(), extra.end());
        eventStore.assign(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*), 0);
        auto* events = reinterpret_cast<VstEvents*>(eventStore.data());
        events->numEvents = static_cast<VstInt32>(pointers.size());
        std::memcpy(events->events, pointers.data(), pointers.size() * sizeof(VstEvent*));
        EXPECT_EQ(effect->processEvents(events), 1);
    }

    static VstMidiEvent Midi(int deltaFrames, int status, int data1, int data2)
    {
        VstMidiEvent event {};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = deltaFrames;
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        return event;
    }

    TestEffect* effect = nullptr;
    std::vector<Call> recorded;
    std::vector<float> input[2], output[2];
    float* inputs[2];
    float* outputs[2];
    std::vector<VstMidiEvent> midiStore;
    std::vector<char> eventStore;
};

TEST_F(CustomAudioEffectTest, StartsWith32BlankProgramsHoldingTheDefaults)
{
    const float defaults[8] = {1.0f, 0.5f, 0.25f, 0.0f, 0.5f, 0.1f, 1.0f, 0.0f};
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->numPrograms, 32);
    EXPECT_EQ(record->numParams, 8);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->uniqueID, 0x4F6D4368);
    EXPECT_EQ(record->flags & (effFlagsCanReplacing | effFlagsProgramChunks | effFlagsIsSynth),
        effFlagsCanReplacing | effFlagsProgramChunks);
    for (int program = 0; program < 32; ++program) {
        char name[24] = "x";
        ASSERT_TRUE(effect->getProgramNameIndexed(0, program, name));
        EXPECT_STREQ(name, "Blank");
        effect->setProgram(program);
        for (int index = 0; index < 8; ++index) {
            EXPECT_EQ(effect->getParameter(index), defaults[index]);
        }
    }
    EXPECT_EQ(effect->getPlugCategory(), kPlugCategEffect);
    EXPECT_EQ(effect->getVendorVersion(), 1000);
}

TEST_F(CustomAudioEffectTest, ParametersGoThroughTheCurrentProgram)
{
    effect->setParameter(2, 0.75f);
    EXPECT_EQ(effect->getParameter(2), 0.75f);
    EXPECT_EQ(effect->GetPlugin().parameters[2].GetValue(), 0.75f);
    EXPECT_EQ(AutomationCount(), 0) << "a host's own change is not echoed back";

    effect->setProgram(1);
    EXPECT_EQ(effect->getParameter(2), 0.25f) << "program 1 still holds the default";
    EXPECT_EQ(effect->GetPlugin().parameters[2].GetValue(), 0.25f);
    effect->setProgram(0);
    EXPECT_EQ(effect->getParameter(2), 0.75f);

    char text[8];
    effect->getParameterName(2, text);
    EXPECT_STREQ(text, "P2");
    effect->getParameterLabel(2, text);
    EXPECT_STREQ(text, "L2");
    effect->getParameterDisplay(2, text);
    EXPECT_STREQ(text, "0.750");
}

TEST_F(CustomAudioEffectTest, ParameterPropertiesComeFromTheDescription)
{
    VstParameterProperties properties;
    std::memset(&properties, 0x55, sizeof properties);
    ASSERT_EQ(effect->dispatcher(effGetParameterProperties, 2, 0, &properties, 0.0f), 1);
    EXPECT_STREQ(properties.label, "Parameter 2");
    EXPECT_STREQ(properties.shortLabel, "P2");
    EXPECT_EQ(properties.flags, 0);
    EXPECT_EQ(properties.displayIndex, 0) << "fields the plug-in does not use are cleared";
    EXPECT_EQ(properties.categoryLabel[0], 0);

    std::memset(&properties, 0x55, sizeof properties);
    EXPECT_EQ(effect->dispatcher(effGetParameterProperties, 8, 0, &properties, 0.0f), 0);
    EXPECT_EQ(effect->dispatcher(effGetParameterProperties, -1, 0, &properties, 0.0f), 0);
    EXPECT_EQ(properties.flags, 0x55555555) << "nothing written for a parameter that does not exist";
    EXPECT_EQ(effect->dispatcher(effGetParameterProperties, 0, 0, nullptr, 0.0f), 0);
}

// A typed text sets the parameter the way the host's setParameter does: the
// program and the plug-in follow, the host hears no echo.
TEST_F(CustomAudioEffectTest, TypedTextsSetParametersThroughTheDescription)
{
    char typed[] = " 7,5 U ";
    ASSERT_EQ(effect->dispatcher(effString2Parameter, 2, 0, typed, 0.0f), 1);
    EXPECT_EQ(effect->getParameter(2), 0.75f);
    EXPECT_EQ(effect->GetPlugin().parameters[2].GetValue(), 0.75f);
    EXPECT_EQ(AutomationCount(), 0);

    char garbage[] = "7.5 dB";
    char number[] = "4";
    EXPECT_EQ(effect->dispatcher(effString2Parameter, 2, 0, garbage, 0.0f), 0);
    EXPECT_EQ(effect->dispatcher(effString2Parameter, 2, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect->dispatcher(effString2Parameter, 8, 0, number, 0.0f), 0);
    EXPECT_EQ(effect->dispatcher(effString2Parameter, -1, 0, number, 0.0f), 0);
    EXPECT_EQ(effect->getParameter(2), 0.75f) << "a refused text changes nothing";
}

TEST_F(CustomAudioEffectTest, BadParameterCallsAreReportedAndHarmless)
{
    AssertionRecorder recorder;
    char text[8] = "keep";
    effect->getParameterName(9, text);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(effect->getParameter(8), 0.0f);
    effect->setParameter(-1, 0.5f);
    effect->getParameterName(0, nullptr);
    EXPECT_EQ(recorder.expressions(),
        (std::vector<std::string> {"index >= 0 && index < ParameterCount", "index >= 0 && index < ParameterCount",
            "index >= 0 && index < ParameterCount", "name != 0"}));

    recorder.clear();
    effect->setParameter(1, 1.5f);
    EXPECT_EQ(effect->getParameter(1), 1.0f) << "clamped after the report";
    effect->setParameter(1, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(effect->getParameter(1), 1.0f) << "NaN ignored";
    effect->setParameter(1, -3.0f);
    EXPECT_EQ(effect->getParameter(1), 0.0f);
    // The adapter reports, and the parameter's own check reports again.
    EXPECT_EQ(recorder.reports().size(), 5u);
    effect->setParameterAutomated(1, 2.0f);
    ASSERT_EQ(AutomationCount(), 1);
    EXPECT_EQ(hostCalls.back().opt, 1.0f) << "the host never sees a value outside [0, 1]";
}

TEST_F(CustomAudioEffectTest, SetProgramAppliesValuesAndResetsBeforeTheNextBlock)
{
    effect->setParameter(1, 0.75f);
    effect->setProgram(3);
    EXPECT_EQ(effect->getProgram(), 3);
    EXPECT_EQ(effect->GetPlugin().parameters[1].GetValue(), 0.5f);
    EXPECT_TRUE(recorded.empty()) << "the audio thread resets, not the caller";
    effect->processReplacing(inputs, outputs, 16);
    effect->processReplacing(inputs, outputs, 16);
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].kind, Call::Reset) << "once, before the first run";
    EXPECT_EQ(recorded[1].kind, Call::Run);
    EXPECT_EQ(recorded[2].kind, Call::Run);

    AssertionRecorder recorder;
    recorded.clear();
    effect->setProgram(32);
    effect->setProgram(-1);
    EXPECT_EQ(effect->getProgram(), 3) << "a program that does not exist is never reported to the host";
    EXPECT_EQ(recorder.expressions(),
        (std::vector<std::string> {
            "program >= 0 && program < ProgramCount", "program >= 0 && program < ProgramCount"}));
    effect->processReplacing(inputs, outputs, 16);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].kind, Call::Run);
}

TEST_F(CustomAudioEffectTest, ProgramNames)
{
    char name[32];
    effect->setProgram(5);
    effect->setProgramName(const_cast<char*>("A rather long program name"));
    effect->getProgramName(name);
    EXPECT_STREQ(name, "A rather long program n") << "23 characters and a terminator";
    ASSERT_TRUE(effect->getProgramNameIndexed(7, 5, name));
    EXPECT_STREQ(name, "A rather long program n");

    std::strcpy(name, "keep");
    EXPECT_FALSE(effect->getProgramNameIndexed(0, 32, name));
    EXPECT_FALSE(effect->getProgramNameIndexed(0, -1, name));
    EXPECT_STREQ(name, "keep");
}

TEST_F(CustomAudioEffectTest, ChunksHaveTheirSizesAndLayout)
{
    effect->setProgram(2);
    effect->setParameter(3, 0.5f);
    effect->setProgramName(const_cast<char*>("Chunky"));

    void* data = nullptr;
    ASSERT_EQ(effect->getChunk(&data, true), 220);
    ProgramChunk<8> program;
    std::memcpy(&program, data, sizeof program);
    EXPECT_STREQ(program.effectName, "Test Effect");
    EXPECT_STREQ(program.vendorName, "Test Vendor");
    EXPECT_STREQ(program.productName, "Test Product");
    EXPECT_EQ(program.version, 1000);
    EXPECT_EQ(program.values[3], 0.5f);
    EXPECT_STREQ(program.name, "Chunky");

    ASSERT_EQ(effect->getChunk(&data, false), 7204);
    BankChunk<32, 8> bank;
    std::memcpy(&bank, data, sizeof bank);
    EXPECT_EQ(bank.version, 1000);
    EXPECT_STREQ(bank.effectName, "Test Effect");
    EXPECT_EQ(std::memcmp(&bank.programs[2], &program, sizeof program), 0);
    EXPECT_STREQ(bank.programs[0].name, "Blank");
    EXPECT_EQ(effect->getChunk(nullptr, false), 0);
}

TEST_F(CustomAudioEffectTest, ChunkRoundTripAndRefusals)
{
    void* data = nullptr;
    effect->getChunk(&data, false);
    BankChunk<32, 8> bank;
    std::memcpy(&bank, data, sizeof bank);
    bank.programs[0].values[1] = 0.125f;
    std::strcpy(bank.programs[0].name, "Loaded");

    EXPECT_EQ(effect->setChunk(&bank, 7205, false), 0);
    EXPECT_EQ(effect->setChunk(&bank, 219, true), 0);
    EXPECT_EQ(effect->setChunk(nullptr, 7204, false), 0);
    EXPECT_EQ(effect->getParameter(1), 0.5f) << "refused chunks change nothing";

    recorded.clear();
    EXPECT_EQ(effect->setChunk(&bank, 7204, false), 1);
    EXPECT_EQ(effect->getParameter(1), 0.125f);
    EXPECT_EQ(effect->GetPlugin().parameters[1].GetValue(), 0.125f);
    effect->processReplacing(inputs, outputs, 16);
    ASSERT_FALSE(recorded.empty());
    EXPECT_EQ(recorded.front().kind, Call::Reset);
    char name[24];
    effect->getProgramName(name);
    EXPECT_STREQ(name, "Loaded");

    ProgramChunk<8> program = bank.programs[0];
    program.values[1] = 0.875f;
    effect->setProgram(4);
    EXPECT_EQ(effect->setChunk(&program, 220, true), 1);
    EXPECT_EQ(effect->getParameter(1), 0.875f);
    effect->getProgramNameIndexed(0, 4, name);
    EXPECT_STREQ(name, "Loaded");
}

TEST_F(CustomAudioEffectTest, BankHeaderNamesBecomeTheIdentity)
{
    void* data = nullptr;
    effect->getChunk(&data, false);
    BankChunk<32, 8> bank;
    std::memcpy(&bank, data, sizeof bank);
    std::strcpy(bank.effectName, "Other Effect");
    std::strcpy(bank.vendorName, "Other Vendor");
    std::strcpy(bank.productName, "Other Product");
    ASSERT_EQ(effect->setChunk(&bank, 7204, false), 1);
    char text[64];
    EXPECT_TRUE(effect->getEffectName(text));
    EXPECT_STREQ(text, "Other Effect");
    EXPECT_TRUE(effect->getVendorString(text));
    EXPECT_STREQ(text, "Other Vendor");
    EXPECT_TRUE(effect->getProductString(text));
    EXPECT_STREQ(text, "Other Product");
}

TEST_F(CustomAudioEffectTest, CorruptChunkValuesNeverReachTheParameters)
{
    BankChunk<32, 8> bank;
    std::memset(&bank, 'z', sizeof bank); // no terminator anywhere
    for (auto& program : bank.programs) {
        for (float& value : program.values) {
            value = 0.5f;
        }
    }
    bank.programs[0].values[0] = std::numeric_limits<float>::quiet_NaN();
    bank.programs[0].values[1] = 7.0f;
    bank.programs[0].values[2] = -std::numeric_limits<float>::infinity();
    bank.programs[9].values[5] = std::numeric_limits<float>::quiet_NaN();
    ASSERT_EQ(effect->setChunk(&bank, 7204, false), 1);

    EXPECT_EQ(effect->getParameter(0), 1.0f) << "NaN goes back to the default";
    EXPECT_EQ(effect->getParameter(1), 1.0f);
    EXPECT_EQ(effect->getParameter(2), 0.0f);
    EXPECT_EQ(effect->GetPlugin().parameters[1].GetValue(), 1.0f);
    effect->setProgram(9);
    EXPECT_EQ(effect->getParameter(5), 0.1f);

    char name[64];
    std::memset(name, 'x', sizeof name);
    effect->getProgramName(name);
    EXPECT_EQ(std::string(name), std::string(23, 'z'));
    effect->getEffectName(name);
    EXPECT_EQ(std::string(name), std::string(31, 'z'));
    effect->getVendorString(name);
    EXPECT_EQ(std::string(name), std::string(63, 'z'));
}

TEST_F(CustomAudioEffectTest, CanDoAnswersExactTexts)
{
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"}) {
        EXPECT_EQ(effect->canDo(const_cast<char*>(yes)), 1) << yes;
    }
    for (const char* no : {"bypass", "sendVstEvents", "receiveVstEventsX", "receiveVst", "", "offline"}) {
        EXPECT_EQ(effect->canDo(const_cast<char*>(no)), -1) << no;
    }
    EXPECT_EQ(effect->canDo(nullptr), -1);
}

TEST_F(CustomAudioEffectTest, SampleRateReachesThePluginAndResetsIt)
{
    effect->setSampleRate(48000.0f);
    EXPECT_EQ(effect->getSampleRate(), 48000.0f);
    EXPECT_EQ(effect->GetPlugin().GetSampleRate(), 48000.0f);
    EXPECT_EQ(effect->GetPlugin().resets.rate, 48000.0f);
    effect->processReplacing(inputs, outputs, 16);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].kind, Call::Reset);
}

TEST_F(CustomAudioEffectTest, EditorChangesAreStoredAndAutomatedOnce)
{
    AssertionRecorder recorder; // the Windows test plug-in has no editor
    EditorObserver().ChangeParameter(3, 0.25f, false);
    EXPECT_EQ(effect->getParameter(3), 0.25f);
    ASSERT_EQ(AutomationCount(), 1);
    EXPECT_EQ(hostCalls.back().index, 3);
    EXPECT_EQ(hostCalls.back().opt, 0.25f);

    effect->setParameter(2, 0.9f);
    EditorObserver().ResetParameter(2);
    EXPECT_EQ(effect->getParameter(2), 0.25f);
    EXPECT_EQ(effect->GetPlugin().parameters[2].GetValue(), 0.25f);
    ASSERT_EQ(AutomationCount(), 2);
    EXPECT_EQ(hostCalls.back().index, 2);
    EXPECT_EQ(hostCalls.back().opt, 0.25f);
}

// The editor's panel changed its size: only a host that says it can size
// the editor's window is asked to.
TEST_F(CustomAudioEffectTest, AnEditorResizeReachesOnlyAHostThatCanSizeWindows)
{
    EXPECT_FALSE(EditorObserver().ResizeEditor(600, 126));
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterCanDo);

    hostSizesWindows = true;
    hostCalls.clear();
    EXPECT_TRUE(EditorObserver().ResizeEditor(600, 126));
    ASSERT_EQ(hostCalls.size(), 2u);
    EXPECT_EQ(hostCalls[1].opcode, audioMasterSizeWindow);
    EXPECT_EQ(hostCalls[1].index, 600);
    EXPECT_EQ(hostCalls[1].value, 126);

    hostCalls.clear();
    EXPECT_FALSE(EditorObserver().ResizeEditor(0, 126));
    EXPECT_TRUE(hostCalls.empty()) << "no size is no request";
}

TEST_F(CustomAudioEffectTest, LongBlocksAreCutIntoBufferSizeRuns)
{
    effect->processReplacing(inputs, outputs, 40000);
    std::vector<Call> runs = Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].count, 16384);
    EXPECT_EQ(runs[1].count, 16384);
    EXPECT_EQ(runs[2].count, 7232);
    EXPECT_EQ(runs[0].input, inputs[0]);
    EXPECT_EQ(runs[1].input, inputs[0] + 16384);
    EXPECT_EQ(runs[2].input, inputs[0] + 32768);
    EXPECT_EQ(runs[2].output, outputs[0] + 32768);

    recorded.clear();
    effect->processReplacing(inputs, outputs, 0);
    effect->processReplacing(inputs, outputs, -5);
    EXPECT_TRUE(Runs().empty());
}

TEST_F(CustomAudioEffectTest, ControlChangeSplitsTheBlockAndMovesItsParameter)
{
    SendEvents({Midi(40, 0xB3, 93, 127)});
    effect->processReplacing(inputs, outputs, 100);
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].kind, Call::Run);
    EXPECT_EQ(recorded[0].count, 40);
    EXPECT_EQ(recorded[1].kind, Call::Controller);
    EXPECT_EQ(recorded[1].controller, 93);
    EXPECT_EQ(recorded[1].value, 1.0f);
    EXPECT_EQ(recorded[2].kind, Call::Run);
    EXPECT_EQ(recorded[2].count, 60);
    EXPECT_EQ(recorded[2].input, inputs[0] + 40);

    EXPECT_EQ(effect->getParameter(4), 1.0f);
    EXPECT_EQ(effect->GetPlugin().parameters[4].GetValue(), 1.0f);
    ASSERT_EQ(AutomationCount(), 1);
    EXPECT_EQ(hostCalls.back().index, 4);
    EXPECT_EQ(hostCalls.back().opt, 1.0f);
}

TEST_F(CustomAudioEffectTest, OtherMessagesOnlySplitTheBlock)
{
    VstMidiSysexEvent sysex {};
    sysex.type = kVstSysExType;
    sysex.deltaFrames = 50;
    SendEvents({Midi(10, 0x90, 60, 100), Midi(0, 0xB0, 7, 64)}, {reinterpret_cast<VstEvent*>(&sysex)});
    effect->processReplacing(inputs, outputs, 100);
    // The controller at 0 comes after the note at 10 in the queue, so it is
    // handled at 10: no sample is processed twice.
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].count, 10);
    EXPECT_EQ(recorded[1].kind, Call::Controller);
    EXPECT_EQ(recorded[1].controller, 7);
    EXPECT_EQ(recorded[2].count, 90);
    EXPECT_EQ(recorded[2].input, inputs[0] + 10);
    EXPECT_EQ(AutomationCount(), 0) << "controller 7 is not mapped";
}

TEST_F(CustomAudioEffectTest, EventAtZeroIsHandledBeforeAnySample)
{
    SendEvents({Midi(0, 0xB0, 16, 0)});
    effect->processReplacing(inputs, outputs, 64);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].kind, Call::Controller);
    EXPECT_EQ(recorded[1].count, 64);
    EXPECT_EQ(recorded[1].input, inputs[0]);
    EXPECT_EQ(effect->getParameter(1), 0.0f);
}

TEST_F(CustomAudioEffectTest, EventsAtTheBlockEndWaitForTheNextBlock)
{
    AssertionRecorder recorder;
    SendEvents({Midi(100, 0xB0, 16, 10), Midi(100, 0xB0, 16, 20)});
    effect->processReplacing(inputs, outputs, 100);
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].count, 100);
    EXPECT_EQ(recorded[1].kind, Call::Controller);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"midiEvents.empty()"});

    recorded.clear();
    recorder.clear();
    effect->processReplacing(inputs, outputs, 200);
    ASSERT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded[0].count, 100);
    EXPECT_EQ(recorded[1].value, 20.0f * 0.007874016f);
    EXPECT_EQ(recorded[2].count, 100);
    EXPECT_TRUE(recorder.empty());
}

TEST_F(CustomAudioEffectTest, EventsBeyondTheBlockAreHandledWhereFound)
{
    SendEvents({Midi(20, 0xB0, 1, 1), Midi(30, 0xB0, 1, 2), Midi(150, 0xB0, 1, 3)});
    effect->processReplacing(inputs, outputs, 100);
    ASSERT_EQ(recorded.size(), 6u);
    EXPECT_EQ(recorded[0].count, 20);
    EXPECT_EQ(recorded[2].count, 10);
    EXPECT_EQ(recorded[2].input, inputs[0] + 20);
    EXPECT_EQ(recorded[3].kind, Call::Controller);
    EXPECT_EQ(recorded[4].kind, Call::Controller);
    EXPECT_EQ(recorded[4].value, 3.0f * 0.007874016f);
    EXPECT_EQ(recorded[5].count, 70);
    EXPECT_EQ(recorded[5].input, inputs[0] + 30);
}

TEST_F(CustomAudioEffectTest, DisorderedEventsNeverRevisitSamples)
{
    SendEvents({Midi(-7, 0xB0, 1, 1), Midi(60, 0xB0, 1, 2), Midi(30, 0xB0, 1, 3), Midi(60, 0xB0, 1, 4)});
    effect->processReplacing(inputs, outputs, 100);
    int covered = 0;
    for (const Call& call : Runs()) {
        EXPECT_EQ(call.input, inputs[0] + covered) << "runs are contiguous";
        covered += call.count;
    }
    EXPECT_EQ(covered, 100);
    std::vector<float> values;
    for (const Call& call : recorded) {
        if (call.kind == Call::Controller) {
            values.push_back(call.value);
        }
    }
    EXPECT_EQ(values, (std::vector<float> {1 * 0.007874016f, 2 * 0.007874016f, 3 * 0.007874016f, 4 * 0.007874016f}))
        << "events keep their order";
}

#if defined(__SSE__) || defined(_M_X64)
// Scales its input by factor: the arithmetic the adapter's floating-point
// mode applies to.
class ScalingPlugin : public RecordingPlugin {
public:
    void Process(float** inputs, float** outputs, int count) override
    {
        for (int channel = 0; channel < 2; ++channel) {
            for (int i = 0; i < count; ++i) {
                outputs[channel][i] = inputs[channel][i] * factor;
            }
        }
    }
    float factor = 1.0f;
};

// Subnormal operands read as zero and subnormal results become zero while the
// plug-in processes; the host's own mode is back afterwards.
TEST_F(CustomAudioEffectTest, ProcessingTreatsSubnormalsAsZeroAndRestoresTheHostMode)
{
    CustomAudioEffect<32, 8, 0, 2, 2, 1, 1000, 0x4F6D4368, ScalingPlugin> scaling(
        &RecordingHost, "Scaling", "Test Vendor", "Test Product");
    const unsigned hostMode = _mm_getcsr() & ~0x3Fu;
    ASSERT_EQ(hostMode & (SubnormalsAsZero::FlushToZero | SubnormalsAsZero::DenormalsAreZero), 0u);
    input[0][0] = 1e-40f; // subnormal
    input[0][1] = 1e-30f;
    input[0][2] = 0.5f;

    scaling.GetPlugin().factor = 1e8f;
    scaling.processReplacing(inputs, outputs, 3);
    EXPECT_EQ(output[0][0], 0.0f) << "a subnormal operand counts as zero";
    EXPECT_FLOAT_EQ(output[0][1], 1e-22f);

    scaling.GetPlugin().factor = 1e-9f;
    scaling.processReplacing(inputs, outputs, 3);
    EXPECT_EQ(output[0][1], 0.0f) << "a subnormal result becomes zero";
    EXPECT_FLOAT_EQ(output[0][2], 5e-10f);

    EXPECT_EQ(_mm_getcsr() & ~0x3Fu, hostMode);
}
#endif

// The list record declares two entries; a host allocates as many as it
// sends. Run under the undefined-behaviour sanitizer (preset linux-asan).
TEST_F(CustomAudioEffectTest, EventListsLongerThanTheDeclaredTwoAreReadWhole)
{
    std::vector<VstMidiEvent> midi;
    for (int i = 0; i < 40; ++i) {
        midi.push_back(Midi(i, 0xB0, 1, i));
    }
    SendEvents(midi);
    effect->processReplacing(inputs, outputs, 100);
    int controllers = 0;
    for (const Call& call : recorded) {
        controllers += call.kind == Call::Controller ? 1 : 0;
    }
    EXPECT_EQ(controllers, 40);
}

TEST_F(CustomAudioEffectTest, OversizedDataBytesAreReportedAndClamped)
{
    AssertionRecorder recorder;
    SendEvents({Midi(0, 0xB0, 93, 200)});
    effect->processReplacing(inputs, outputs, 10);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"value >= 0.0f && value <= 1.0f"});
    EXPECT_EQ(effect->getParameter(4), 0.0f);
    EXPECT_EQ(effect->GetPlugin().parameters[4].GetValue(), 0.0f);
}

TEST_F(CustomAudioEffectTest, NullChannelsAreReportedAndNeverTouched)
{
    AssertionRecorder recorder;
    float* partial[2] = {inputs[0], nullptr};
    output[0].assign(40000, 9.0f);
    effect->processReplacing(partial, outputs, 32);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"offsetInputs[j] != 0"});
    EXPECT_TRUE(Runs().empty());
    EXPECT_EQ(output[0][0], 0.0f) << "outputs of a run that cannot be processed are silenced";
    EXPECT_EQ(output[0][32], 9.0f);

    recorder.clear();
    effect->processReplacing(nullptr, nullptr, 16);
    EXPECT_EQ(recorder.reports().size(), 4u);
}

TEST_F(CustomAudioEffectTest, TransportIsForwardedOncePerBlock)
{
    effect->processReplacing(inputs, outputs, 16);
    for (const Call& call : recorded) {
        EXPECT_NE(call.kind, Call::Sync) << "no time information, no synchronisation";
    }
    ASSERT_FALSE(hostCalls.empty());
    EXPECT_EQ(hostCalls[0].opcode, audioMasterGetTime);
    EXPECT_EQ(hostCalls[0].value, 0x600);

    VstTimeInfo time {};
    time.tempo = 90.0;
    time.ppqPos = 8.0;
    timeAnswer = &time;
    recorded.clear();
    SendEvents({Midi(8, 0xB0, 1, 1)});
    effect->processReplacing(inputs, outputs, 16);
    ASSERT_EQ(recorded.size(), 4u);
    EXPECT_EQ(recorded[0].kind, Call::Sync);
    EXPECT_EQ(recorded[0].value, 90.0f);
    EXPECT_EQ(recorded[0].count, 8);

    time.tempo = -1.0;
    recorded.clear();
    effect->processReplacing(inputs, outputs, 16);
    EXPECT_EQ(recorded.size(), 1u) << "negative transport is dropped";
}

} // namespace
