// The shipped OmbrixChorus.clap as CLAP hosts meet it: loaded from disk,
// found through clap_entry and its factory, and driven through the
// plug-in's record and extensions by the tools' ClapHost. The VST 2.4 build
// (OmbrixChorus.so or .dll) is the reference its audio is held to.

#include "ClapHost.h"
#include "OmbrixChorusDescription.h"
#include "PluginHost.h"
#include "PluginState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const auto& Product = OmbrixChorusDescription;
constexpr int ParameterCount = Product.ParameterCount;
constexpr double Rate = 44100.0;
constexpr int BlockSize = 512;

// Two channels of a test signal: a chirp-like tone on the left and clicks on
// the right, different in every block.
struct Signal {
    std::vector<float> left;
    std::vector<float> right;

    explicit Signal(int frames)
        : left(static_cast<size_t>(frames))
        , right(static_cast<size_t>(frames))
    {
        for (int i = 0; i < frames; ++i) {
            left[static_cast<size_t>(i)] = 0.5f * std::sin(0.01f * static_cast<float>(i) * (1.0f + 0.0005f * i));
            right[static_cast<size_t>(i)] = i % 97 == 0 ? 0.9f : -0.1f;
        }
    }
};

// The output of a render, channel by channel.
struct Audio {
    std::vector<float> left;
    std::vector<float> right;

    bool operator==(const Audio& other) const { return left == other.left && right == other.right; }
};

// Runs `frames` of the signal from `offset` through a block-processing call
// and appends the output.
template <typename ProcessBlock>
void RenderBlock(const Signal& signal, int offset, int frames, Audio& audio, ProcessBlock process)
{
    std::vector<float> inLeft(signal.left.begin() + offset, signal.left.begin() + offset + frames);
    std::vector<float> inRight(signal.right.begin() + offset, signal.right.begin() + offset + frames);
    std::vector<float> outLeft(static_cast<size_t>(frames)), outRight(static_cast<size_t>(frames));
    float* inputs[2] = {inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    process(inputs, outputs, frames);
    audio.left.insert(audio.left.end(), outLeft.begin(), outLeft.end());
    audio.right.insert(audio.right.end(), outRight.begin(), outRight.end());
}

// `blocks` blocks of BlockSize through a CLAP instance, events none.
Audio RenderClap(ClapHost& host, const Signal& signal, int blocks, int firstBlock = 0)
{
    Audio audio;
    for (int block = firstBlock; block < firstBlock + blocks; ++block) {
        RenderBlock(signal, block * BlockSize, BlockSize, audio,
            [&](float** in, float** out, int frames) { host.Process(in, out, static_cast<std::uint32_t>(frames)); });
    }
    return audio;
}

class OmbrixChorusClap : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(library.Load(OMBRIX_CHORUS_CLAP_PATH, error)) << error;
        ASSERT_TRUE(host.Open(library, Product.identity.clapId, error)) << error;
    }

    // A second instance from the same library.
    void OpenAnother(ClapHost& other)
    {
        std::string error;
        ASSERT_TRUE(other.Open(library, Product.identity.clapId, error)) << error;
    }

    ClapLibrary library;
    ClapHost host;
    Signal signal {BlockSize * 24};
};

} // namespace

TEST_F(OmbrixChorusClap, OneFactoryWithOneDescriptor)
{
    const clap_plugin_entry_t& entry = library.GetEntry();
    EXPECT_EQ(entry.clap_version.major, 1u);
    EXPECT_EQ(entry.get_factory("clap.preset-discovery-factory/2"), nullptr) << "factories it does not have";
    const std::vector<const clap_plugin_descriptor_t*> descriptors = library.GetDescriptors();
    ASSERT_EQ(descriptors.size(), 1u);
    const clap_plugin_descriptor_t& descriptor = *descriptors[0];
    EXPECT_STREQ(descriptor.id, "com.tervane.ombrix-chorus");
    EXPECT_STREQ(descriptor.name, "Ombrix Chorus");
    EXPECT_STREQ(descriptor.vendor, "Tervane Sound Design");
    EXPECT_STREQ(descriptor.version, "1.0.0");
    std::vector<std::string> features;
    for (const char* const* feature = descriptor.features; *feature != nullptr; ++feature) {
        features.push_back(*feature);
    }
    EXPECT_EQ(features, (std::vector<std::string> {"audio-effect", "chorus", "stereo"}));
    EXPECT_EQ(&host.GetDescriptor(), descriptors[0]);

    const clap_plugin_factory_t& factory = library.GetFactory();
    EXPECT_EQ(factory.get_plugin_descriptor(&factory, 1), nullptr);
    clap_host_t oldHost {};
    oldHost.clap_version = {0, 9, 0};
    EXPECT_EQ(factory.create_plugin(&factory, &oldHost, descriptor.id), nullptr) << "a development-version host";
    ClapHost other;
    std::string error;
    EXPECT_FALSE(other.Open(library, "com.tervane.other", error)) << "an id of no plug-in";
}

TEST_F(OmbrixChorusClap, StereoInAndOutAndOneMidiInput)
{
    ASSERT_EQ(host.GetAudioPortCount(true), 1u);
    ASSERT_EQ(host.GetAudioPortCount(false), 1u);
    for (bool isInput : {true, false}) {
        clap_audio_port_info_t port {};
        ASSERT_TRUE(host.GetAudioPort(0, isInput, port));
        EXPECT_STREQ(port.name, isInput ? "Input" : "Output");
        EXPECT_EQ(port.channel_count, 2u);
        EXPECT_EQ(port.flags, CLAP_AUDIO_PORT_IS_MAIN);
        EXPECT_STREQ(port.port_type, "stereo");
        EXPECT_FALSE(host.GetAudioPort(1, isInput, port));
    }
    ASSERT_EQ(host.GetNotePortCount(true), 1u);
    EXPECT_EQ(host.GetNotePortCount(false), 0u);
    clap_note_port_info_t midi {};
    ASSERT_TRUE(host.GetNotePort(0, true, midi));
    EXPECT_EQ(midi.supported_dialects, static_cast<std::uint32_t>(CLAP_NOTE_DIALECT_MIDI));
    EXPECT_EQ(midi.preferred_dialect, static_cast<std::uint32_t>(CLAP_NOTE_DIALECT_MIDI));
    EXPECT_EQ(host.GetLatency(), 0u);
    EXPECT_EQ(host.GetExtension("clap.render"), nullptr) << "extensions it does not have";
}

// The eight parameters with the description's ids, long names and defaults,
// each from 0 to 1; a fresh instance holds factory program 0.
TEST_F(OmbrixChorusClap, EightParametersWithNamesRangesAndDefaults)
{
    ASSERT_EQ(host.GetParameterCount(), static_cast<std::uint32_t>(ParameterCount));
    const char* names[ParameterCount]
        = {"Chorus On/Off", "Delay Time", "Mod. Depth", "Feedback", "Mix", "Frequency", "Quad Mode", "Mod. Wheel"};
    const double defaults[ParameterCount] = {1.0, 1.0, 0.25, 0.0, 0.5, 0.1f, 1.0, 0.0};
    for (int index = 0; index < ParameterCount; ++index) {
        clap_param_info_t info {};
        ASSERT_TRUE(host.GetParameterInfo(static_cast<std::uint32_t>(index), info));
        const bool isSwitch = Product.parameters[index].IsSwitch();
        EXPECT_EQ(info.id, static_cast<clap_id>(index));
        EXPECT_STREQ(info.name, names[index]);
        EXPECT_STREQ(info.module, "");
        EXPECT_EQ(info.min_value, 0.0);
        EXPECT_EQ(info.max_value, 1.0);
        EXPECT_EQ(info.default_value, defaults[index]) << names[index];
        EXPECT_EQ(
            info.flags, CLAP_PARAM_IS_AUTOMATABLE | (isSwitch ? static_cast<std::uint32_t>(CLAP_PARAM_IS_STEPPED) : 0u))
            << names[index];
        double value = -1.0;
        ASSERT_TRUE(host.GetParameterValue(info.id, value));
        EXPECT_EQ(value, static_cast<double>(Product.programs[0].values[index])) << names[index];
    }
    clap_param_info_t info {};
    EXPECT_FALSE(host.GetParameterInfo(ParameterCount, info));
    double value = 0.0;
    EXPECT_FALSE(host.GetParameterValue(ParameterCount, value));
}

// Hosts show every value as the description's text and read typed texts
// back: text to value and back gives the same text for every parameter.
TEST_F(OmbrixChorusClap, TextToValueAndBackForEveryParameter)
{
    for (clap_id id = 0; id < static_cast<clap_id>(ParameterCount); ++id) {
        const int steps = Product.parameters[id].IsSwitch() ? 1 : 20;
        for (int step = 0; step <= steps; ++step) {
            const double value = static_cast<double>(step) / steps;
            std::string text;
            ASSERT_TRUE(host.ValueToText(id, value, text)) << id;
            double read = -1.0;
            ASSERT_TRUE(host.TextToValue(id, text, read)) << id << " " << text;
            std::string again;
            ASSERT_TRUE(host.ValueToText(id, read, again));
            EXPECT_EQ(again, text) << "parameter " << id << " at " << value;
        }
    }
    std::string text;
    ASSERT_TRUE(host.ValueToText(ParameterId::DelayTime, 0.5, text));
    EXPECT_EQ(text, "7.0 ms");
    ASSERT_TRUE(host.ValueToText(ParameterId::Mix, 0.3, text));
    EXPECT_EQ(text, "30 %");
    ASSERT_TRUE(host.ValueToText(ParameterId::OnOff, 1.0, text));
    EXPECT_EQ(text, "On");
    double value = 0.0;
    ASSERT_TRUE(host.TextToValue(ParameterId::QuadMode, "off", value));
    EXPECT_EQ(value, 0.0);
    ASSERT_TRUE(host.TextToValue(ParameterId::Frequency, "2.5 Hz", value));
    EXPECT_EQ(value, static_cast<double>(Product.parameters[ParameterId::Frequency].ToNormalised(2.5)));
    EXPECT_FALSE(host.TextToValue(ParameterId::Mix, "loud", value));
    EXPECT_FALSE(host.TextToValue(ParameterCount, "1", value));
    EXPECT_FALSE(host.ValueToText(ParameterCount, 0.5, text));

    const auto* params = static_cast<const clap_plugin_params_t*>(host.GetExtension(CLAP_EXT_PARAMS));
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(params->value_to_text(host.GetPlugin(), ParameterId::DelayTime, 1.0, small, sizeof small))
        << "a text that does not fit is reported";
    EXPECT_EQ(small[3], '\0') << "and written cut, within the buffer";
}

// Parameter events at sample offsets inside one block sound as the VST 2.4
// build's setParameter calls between blocks cut at the same samples, and so
// do MIDI controllers; the controller's change is reported back unrecorded.
TEST_F(OmbrixChorusClap, EventsAtSampleOffsetsSoundAsVstCallsAtThosePositions)
{
    PluginHost vst;
    std::string error;
    ASSERT_TRUE(vst.Load(OMBRIX_CHORUS_PATH, error)) << error;
    vst.SetSampleRate(Rate);
    vst.SetBlockSize(BlockSize);
    vst.Resume();
    ASSERT_TRUE(host.Activate(Rate, 1, BlockSize));

    struct Change {
        int frame;
        int parameter;
        float value;
    };
    const std::vector<Change> changes = {{700, ParameterId::Mix, 0.9f}, {1300, ParameterId::DelayTime, 0.2f},
        {1301, ParameterId::Feedback, 0.7f}, {2047, ParameterId::ModDepth, 1.0f}, {3000, ParameterId::QuadMode, 0.0f}};
    constexpr int Blocks = 8;

    Audio expected;
    int frame = 0;
    for (const Change& change : changes) {
        RenderBlock(signal, frame, change.frame - frame, expected,
            [&](float** in, float** out, int frames) { vst.Process(in, out, frames, nullptr, 0); });
        vst.SetParameter(change.parameter, change.value);
        frame = change.frame;
    }
    RenderBlock(signal, frame, Blocks * BlockSize - frame, expected,
        [&](float** in, float** out, int frames) { vst.Process(in, out, frames, nullptr, 0); });

    Audio clap;
    for (int block = 0; block < Blocks; ++block) {
        for (const Change& change : changes) {
            if (change.frame / BlockSize == block) {
                host.AddParameterValue(static_cast<std::uint32_t>(change.frame % BlockSize),
                    static_cast<clap_id>(change.parameter), change.value);
            }
        }
        RenderBlock(signal, block * BlockSize, BlockSize, clap,
            [&](float** in, float** out, int frames) { host.Process(in, out, static_cast<std::uint32_t>(frames)); });
    }
    ASSERT_EQ(clap.left.size(), expected.left.size());
    EXPECT_TRUE(clap == expected) << "bit for bit";
    EXPECT_TRUE(host.GetOutputEvents().empty()) << "the host's own changes are not echoed";
    double mix = 0.0;
    ASSERT_TRUE(host.GetParameterValue(ParameterId::Mix, mix));
    EXPECT_EQ(mix, 0.9f);

    // The chorus-send controller moves the mix: the host hears of it at the
    // event's sample, not to be recorded.
    host.AddMidi(100, 0xB3, 93, 127);
    host.AddMidi(200, 0x90, 60, 100);
    RenderClap(host, signal, 1, Blocks);
    ASSERT_EQ(host.GetOutputEvents().size(), 1u);
    const ClapOutputEvent& reported = host.GetOutputEvents()[0];
    EXPECT_EQ(reported.type, CLAP_EVENT_PARAM_VALUE);
    EXPECT_EQ(reported.paramId, static_cast<clap_id>(ParameterId::Mix));
    EXPECT_EQ(reported.value, 1.0);
    EXPECT_EQ(reported.time, 100u);
    EXPECT_EQ(reported.flags, static_cast<std::uint32_t>(CLAP_EVENT_DONT_RECORD));
    ASSERT_TRUE(host.GetParameterValue(ParameterId::Mix, mix));
    EXPECT_EQ(mix, 1.0);
}

// A MIDI controller through CLAP and through VST 2.4 at the same sample, in
// blocks of an odd size, with the mod wheel scaling the modulation.
TEST_F(OmbrixChorusClap, MidiControllersSoundAsInTheVstBuild)
{
    PluginHost vst;
    std::string error;
    ASSERT_TRUE(vst.Load(OMBRIX_CHORUS_PATH, error)) << error;
    vst.SetProgram(6); // "Twangy Vibrato  (MW)": the wheel drives the modulation
    vst.SetSampleRate(Rate);
    vst.SetBlockSize(331);
    vst.Resume();
    std::vector<std::uint8_t> state;
    ASSERT_TRUE(host.SaveState(state));
    StateHeader header {};
    ASSERT_TRUE(ReadStateHeader(state.data(), state.size(), header));
    SetStateCurrentProgram(state.data(), state.size(), 6);
    ASSERT_TRUE(host.LoadState(state));
    ASSERT_TRUE(host.Activate(Rate, 1, 331));

    Audio viaVst, viaClap;
    for (int block = 0; block < 12; ++block) {
        const int at = block * 331;
        VstMidiEvent events[2] = {};
        for (VstMidiEvent& event : events) {
            event.type = kVstMidiType;
            event.byteSize = sizeof event;
        }
        events[0].deltaFrames = 17 * block % 331;
        events[0].midiData[0] = static_cast<char>(0xB0);
        events[0].midiData[1] = 1;
        events[0].midiData[2] = static_cast<char>(10 * block);
        events[1].deltaFrames = 300;
        events[1].midiData[0] = static_cast<char>(0xB0);
        events[1].midiData[1] = 18;
        events[1].midiData[2] = static_cast<char>(5 * block);
        RenderBlock(signal, at, 331, viaVst,
            [&](float** in, float** out, int frames) { vst.Process(in, out, frames, events, 2); });
        host.AddMidi(static_cast<std::uint32_t>(events[0].deltaFrames), 0xB0, 1, static_cast<std::uint8_t>(10 * block));
        host.AddMidi(300, 0xB0, 18, static_cast<std::uint8_t>(5 * block));
        RenderBlock(signal, at, 331, viaClap,
            [&](float** in, float** out, int frames) { host.Process(in, out, static_cast<std::uint32_t>(frames)); });
    }
    EXPECT_TRUE(viaClap == viaVst) << "bit for bit";
}

// A state saved from one instance and loaded into a new one gives the same
// parameters and the same audio, whatever the stream moves per call.
TEST_F(OmbrixChorusClap, StateRoundTripGivesIdenticalAudio)
{
    host.AddParameterValue(0, ParameterId::Feedback, 0.8);
    host.AddParameterValue(0, ParameterId::Frequency, 0.3);
    host.Flush();
    for (std::uint64_t bytesPerCall : {UINT64_MAX, std::uint64_t(1), std::uint64_t(7)}) {
        std::vector<std::uint8_t> state;
        ASSERT_TRUE(host.SaveState(state, {bytesPerCall, -1}));
        ClapHost other;
        OpenAnother(other);
        ASSERT_TRUE(other.LoadState(state, {bytesPerCall, -1}));
        for (clap_id id = 0; id < static_cast<clap_id>(ParameterCount); ++id) {
            double mine = -1.0, theirs = -2.0;
            ASSERT_TRUE(host.GetParameterValue(id, mine));
            ASSERT_TRUE(other.GetParameterValue(id, theirs));
            EXPECT_EQ(theirs, mine) << id;
        }
        ClapHost fresh;
        OpenAnother(fresh);
        std::vector<std::uint8_t> again;
        ASSERT_TRUE(other.SaveState(again));
        EXPECT_TRUE(again == state) << "the loaded state saves back unchanged";

        ClapHost reference;
        OpenAnother(reference);
        ASSERT_TRUE(reference.LoadState(state));
        ASSERT_TRUE(reference.Activate(Rate, 1, BlockSize));
        ASSERT_TRUE(other.Activate(Rate, 1, BlockSize));
        const Audio expected = RenderClap(reference, signal, 6);
        EXPECT_TRUE(RenderClap(other, signal, 6) == expected);
        ASSERT_TRUE(fresh.Activate(Rate, 1, BlockSize));
        EXPECT_FALSE(RenderClap(fresh, signal, 6) == expected) << "the state makes a difference";
    }
    std::vector<std::uint8_t> state;
    EXPECT_FALSE(host.SaveState(state, {0, -1})) << "a stream that takes nothing fails instead of hanging";
    EXPECT_FALSE(host.SaveState(state, {UINT64_MAX, 100})) << "a stream that fails";
}

// Streams that end early, are damaged, come from another product or a later
// version are refused, and the instance stays as it was: same parameters,
// same state, same audio.
TEST_F(OmbrixChorusClap, BadStreamsAreRefusedAndChangeNothing)
{
    host.AddParameterValue(0, ParameterId::DelayTime, 0.4);
    host.Flush();
    std::vector<std::uint8_t> before;
    ASSERT_TRUE(host.SaveState(before));

    std::vector<std::uint8_t> other;
    {
        ClapHost source;
        OpenAnother(source);
        source.AddParameterValue(0, ParameterId::DelayTime, 0.9);
        source.AddParameterValue(0, ParameterId::Mix, 0.1);
        source.Flush();
        ASSERT_TRUE(source.SaveState(other));
    }
    auto resealed = [](std::vector<std::uint8_t> bytes, size_t offset, std::uint8_t value) {
        bytes[offset] = value;
        SealState(bytes.data(), bytes.size());
        return bytes;
    };
    std::vector<std::uint8_t> flipped = other;
    flipped[flipped.size() / 2] ^= 0x01;
    const std::vector<std::vector<std::uint8_t>> refused = {
        std::vector<std::uint8_t>(other.begin(), other.end() - 1),
        std::vector<std::uint8_t>(other.begin(), other.begin() + 24), {}, flipped,
        resealed(other, 8, 'X'), // another product
        resealed(other, 4, 2), // a later version
        resealed(other, 12, 16), // another bank shape
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_FALSE(host.LoadState(refused[i])) << "stream " << i;
    }
    EXPECT_FALSE(host.LoadState(other, {5, 4000})) << "a stream that fails half way";

    std::vector<std::uint8_t> after;
    ASSERT_TRUE(host.SaveState(after));
    EXPECT_TRUE(after == before);
    double delay = 0.0;
    ASSERT_TRUE(host.GetParameterValue(ParameterId::DelayTime, delay));
    EXPECT_EQ(delay, 0.4f);
    EXPECT_EQ(host.GetRescanRequests(CLAP_PARAM_RESCAN_VALUES), 0);

    ASSERT_TRUE(host.LoadState(other));
    EXPECT_EQ(host.GetRescanRequests(CLAP_PARAM_RESCAN_VALUES), 1) << "the host re-reads the loaded values";
    ASSERT_TRUE(host.GetParameterValue(ParameterId::DelayTime, delay));
    EXPECT_EQ(delay, 0.9f);
}

// Activation sets the rate and starts from a clean signal state; a reset
// clears it again; deactivation and activation at a new rate sound as a
// fresh instance at that rate.
TEST_F(OmbrixChorusClap, ActivateResetAndSampleRateChanges)
{
    ClapHost fresh;
    OpenAnother(fresh);
    ASSERT_TRUE(host.Activate(Rate, 1, BlockSize));
    ASSERT_TRUE(fresh.Activate(Rate, 1, BlockSize));
    const Audio start = RenderClap(fresh, signal, 4);
    EXPECT_TRUE(RenderClap(host, signal, 4) == start);
    RenderClap(host, signal, 3, 4);
    host.Reset();
    EXPECT_TRUE(RenderClap(host, signal, 4) == start) << "a reset returns to the starting state";

    host.Deactivate();
    ASSERT_TRUE(host.Activate(96000.0, 32, 4096));
    ClapHost at96k;
    OpenAnother(at96k);
    ASSERT_TRUE(at96k.Activate(96000.0, 32, 4096));
    const Audio high = RenderClap(at96k, signal, 4);
    EXPECT_TRUE(RenderClap(host, signal, 4) == high);
    EXPECT_FALSE(high == start) << "the rate makes a difference";

    EXPECT_FALSE(host.Activate(0.0, 1, BlockSize)) << "no rate, no activation";
    EXPECT_FALSE(host.Activate(-44100.0, 1, BlockSize));
}

// The tail is the delay and what the feedback leaves audible at the
// current settings; the host is told on the audio thread when it changes.
TEST_F(OmbrixChorusClap, TheTailFollowsDelayAndFeedback)
{
    host.AddParameterValue(0, ParameterId::Feedback, 0.0);
    host.AddParameterValue(0, ParameterId::DelayTime, 1.0);
    host.AddParameterValue(0, ParameterId::ModDepth, 0.0);
    host.Flush();
    ASSERT_TRUE(host.Activate(Rate, 1, BlockSize));
    EXPECT_EQ(host.GetTail(), static_cast<std::uint32_t>(std::ceil(0.025f * Rate))) << "one pass of a 25 ms delay";
    RenderClap(host, signal, 1);
    const int changesBefore = host.GetTailChanges();

    host.AddParameterValue(0, ParameterId::Feedback, 1.0);
    RenderClap(host, signal, 1, 1);
    EXPECT_EQ(host.GetTailChanges(), changesBefore + 1);
    // At 0.995 the loop loses 0.0435 dB a pass: 90 dB take 2068 passes of 25 ms.
    EXPECT_EQ(host.GetTail(), static_cast<std::uint32_t>(30.0 * Rate)) << "held at 30 seconds";
    host.AddParameterValue(0, ParameterId::Feedback, 0.5);
    RenderClap(host, signal, 1, 2);
    const double gain = 0.995 * 0.25;
    const double passes = std::ceil(90.0 / (-20.0 * std::log10(gain)));
    EXPECT_NEAR(host.GetTail(), 0.025 * (1.0 + passes) * Rate, 2.0);
    host.AddParameterValue(0, ParameterId::OnOff, 0.0);
    RenderClap(host, signal, 1, 3);
    EXPECT_EQ(host.GetTail(), 0u) << "switched off, nothing goes on sounding";
    EXPECT_EQ(host.GetTailChanges(), changesBefore + 3);
}

// A state loaded between blocks moves the tail; the host hears of it from the
// next block, and a block after it that changes nothing reports nothing.
TEST_F(OmbrixChorusClap, AStateLoadedBetweenBlocksMovesTheTail)
{
    std::vector<std::uint8_t> switchedOff;
    {
        ClapHost source;
        OpenAnother(source);
        source.AddParameterValue(0, ParameterId::OnOff, 0.0);
        source.Flush();
        ASSERT_TRUE(source.SaveState(switchedOff));
    }
    ASSERT_TRUE(host.Activate(Rate, 1, BlockSize));
    RenderClap(host, signal, 1);
    ASSERT_GT(host.GetTail(), 0u);
    const int changesBefore = host.GetTailChanges();

    ASSERT_TRUE(host.LoadState(switchedOff));
    RenderClap(host, signal, 1, 1);
    EXPECT_EQ(host.GetTail(), 0u);
    EXPECT_EQ(host.GetTailChanges(), changesBefore + 1);
    RenderClap(host, signal, 1, 2);
    EXPECT_EQ(host.GetTailChanges(), changesBefore + 1);
}
