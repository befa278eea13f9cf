// The shipped plug-in binary as a host sees it: loaded from disk, entered
// through VSTPluginMain and driven only through its effect record.

#include "Chorus.h"
#include "MidiEvents.h"
#include "OmbrixChorusDescription.h"
#include "PluginHost.h"
#include "ReferenceGlide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ParameterCount = 8;

// Loads the binary and starts it the way a sequencer does: open, sample
// rate, block size, resume.
std::unique_ptr<PluginHost> StartPlugin(int blockSize = 512)
{
    auto host = std::make_unique<PluginHost>();
    std::string error;
    if (!host->Load(OMBRIX_CHORUS_PATH, error)) {
        ADD_FAILURE() << error;
        return host;
    }
    host->SetSampleRate(44100.0);
    host->SetBlockSize(blockSize);
    host->Resume();
    return host;
}

// One block from separate input and output buffers, with its MIDI events.
void ProcessBlock(PluginHost& plugin, float* left, float* right, float* outLeft, float* outRight, int frames,
    const std::vector<VstMidiEvent>& events = {})
{
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    plugin.Process(inputs, outputs, frames, events.data(), static_cast<int>(events.size()));
}

// Runs the buffers through the plug-in in blocks of the given size.
void RenderThrough(PluginHost& plugin, const std::vector<float>& left, const std::vector<float>& right,
    std::vector<float>& outLeft, std::vector<float>& outRight, int blockSize)
{
    outLeft.assign(left.size(), 0.0f);
    outRight.assign(right.size(), 0.0f);
    std::vector<float> inLeft = left, inRight = right;
    for (std::size_t start = 0; start < left.size(); start += static_cast<std::size_t>(blockSize)) {
        const int frames = static_cast<int>(std::min<std::size_t>(blockSize, left.size() - start));
        ProcessBlock(plugin, &inLeft[start], &inRight[start], &outLeft[start], &outRight[start], frames);
    }
}

class OmbrixChorusPlugin : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.IsLoaded());
        host.SetAutomationListener([this](VstInt32 index, float value) { automations.push_back({index, value}); });
    }

    // Replaces the current program's values without a ramp: a program chunk
    // applies its values and resets the plug-in.
    void LoadValues(const float (&values)[ParameterCount])
    {
        std::vector<char> program = host.GetChunk(true);
        ASSERT_EQ(program.size(), 220u);
        std::memcpy(program.data() + offsetof(ProgramChunk<ParameterCount>, values), values, sizeof values);
        ASSERT_TRUE(host.SetChunk(program, true));
    }

    void Render(const std::vector<float>& left, const std::vector<float>& right, std::vector<float>& outLeft,
        std::vector<float>& outRight, int blockSize)
    {
        RenderThrough(host, left, right, outLeft, outRight, blockSize);
    }

    std::unique_ptr<PluginHost> plugin = StartPlugin();
    PluginHost& host = *plugin;
    struct Automation {
        VstInt32 index;
        float value;
    };
    std::vector<Automation> automations;
};

std::vector<float> Noise(std::size_t frames, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    std::vector<float> noise(frames);
    for (float& value : noise) {
        value = sample(random);
    }
    return noise;
}

bool BitIdentical(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST_F(OmbrixChorusPlugin, IdentifiesItself)
{
    AEffect* effect = host.GetEffect();
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->uniqueID, ToFourCharCode("OmCh"));
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 8);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(effect->flags, 0x31);
    EXPECT_EQ(host.GetEffectName(), "Ombrix Chorus");
    EXPECT_EQ(host.GetVendorString(), "Tervane Sound Design");
    EXPECT_EQ(host.GetProductString(), "Ombrix Chorus");
    EXPECT_EQ(host.Dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(host.Dispatch(effGetPlugCategory), kPlugCategEffect);
    EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 1);
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>("bypass")), -1);
}

TEST_F(OmbrixChorusPlugin, PublishesEightParametersWithNamesLabelsAndTexts)
{
    const char* names[ParameterCount] = {"On", "D Time", "Depth", "FB", "Mix", "Freq", "Quad", "MW"};
    const char* labels[ParameterCount] = {"On/Off", "Secs", "Level", "Level", "Dry/Wet", "Hz", "On/Off", "On/Off"};
    // Program 0, "-- KOVRA --", is applied when the plug-in is created.
    const char* texts[ParameterCount] = {"On", "0.025", "0.402", "0.000", "73", "0.357", "On", "Off"};
    for (int index = 0; index < ParameterCount; ++index) {
        EXPECT_EQ(host.GetParameterName(index), names[index]);
        EXPECT_EQ(host.GetParameterLabel(index), labels[index]);
        EXPECT_EQ(host.GetParameterDisplay(index), texts[index]);
    }

    const float defaults[ParameterCount] = {1.0f, 1.0f, 0.25f, 0.0f, 0.5f, 0.1f, 1.0f, 0.0f};
    LoadValues(defaults);
    const char* defaultTexts[ParameterCount] = {"On", "0.025", "0.250", "0.000", "50", "0.100", "On", "Off"};
    for (int index = 0; index < ParameterCount; ++index) {
        EXPECT_EQ(host.GetParameterDisplay(index), defaultTexts[index]);
    }
}

TEST_F(OmbrixChorusPlugin, DescribesItsParametersToHosts)
{
    const char* longNames[ParameterCount]
        = {"Chorus On/Off", "Delay Time", "Mod. Depth", "Feedback", "Mix", "Frequency", "Quad Mode", "Mod. Wheel"};
    const char* shortNames[ParameterCount] = {"On", "D Time", "Depth", "FB", "Mix", "Freq", "Quad", "MW"};
    const VstInt32 flags[ParameterCount]
        = {kVstParameterIsSwitch, 0, 0, 0, 0, 0, kVstParameterIsSwitch, kVstParameterIsSwitch};
    for (int index = 0; index < ParameterCount; ++index) {
        VstParameterProperties properties;
        ASSERT_TRUE(host.GetParameterProperties(index, properties)) << index;
        EXPECT_STREQ(properties.label, longNames[index]);
        EXPECT_STREQ(properties.shortLabel, shortNames[index]);
        EXPECT_EQ(properties.flags, flags[index]) << index;
    }
    VstParameterProperties properties;
    EXPECT_FALSE(host.GetParameterProperties(ParameterCount, properties));
    EXPECT_EQ(host.GetParameterLongName(ParameterCount), "");
}

// Texts typed into a host's parameter field: the display units of the
// description, whatever the VST 2.4 display shows.
TEST_F(OmbrixChorusPlugin, ReadsTypedValuesInItsTextForm)
{
    struct Typed {
        int index;
        const char* text;
        float value;
        const char* display;
    };
    const Typed accepted[] = {
        {1, " 1ms ", 0.0f, "0.001"},
        {4, "30 %", 0.3f, "30"},
        {5, "10 Hz", 1.0f, "10.000"},
        {3, "0.995", 1.0f, "0.995"},
        {2, "0,25", 0.25f, "0.250"},
        {6, "OFF", 0.0f, "Off"},
        {1, "40 ms", 1.0f, "0.025"},
    };
    for (const Typed& typed : accepted) {
        EXPECT_TRUE(host.SetParameterText(typed.index, typed.text)) << typed.text;
        EXPECT_EQ(host.GetParameter(typed.index), typed.value) << typed.text;
        EXPECT_EQ(host.GetParameterDisplay(typed.index), typed.display) << typed.text;
    }
    EXPECT_TRUE(automations.empty()) << "the host's own change is not echoed back";

    ASSERT_TRUE(host.SetParameterText(1, "12.5 ms"));
    const float delay = host.GetParameter(1);
    EXPECT_NEAR(1.0 + 24.0 * delay * delay, 12.5, 1e-5);
    EXPECT_FALSE(host.SetParameterText(1, "fast"));
    EXPECT_FALSE(host.SetParameterText(1, "12 Hz"));
    EXPECT_FALSE(host.SetParameterText(0, "maybe"));
    EXPECT_FALSE(host.SetParameterText(ParameterCount, "1"));
    EXPECT_EQ(host.GetParameter(1), delay) << "a refused text changes nothing";
    EXPECT_EQ(host.GetParameter(0), 1.0f);
}

TEST_F(OmbrixChorusPlugin, CarriesTheFactoryBank)
{
    EXPECT_EQ(host.GetProgram(), 0);
    EXPECT_EQ(host.GetCurrentProgramName(), "-- KOVRA --");
    for (int program = 0; program < 32; ++program) {
        EXPECT_EQ(host.GetProgramName(program), OmbrixChorusDescription.programs[program].name);
        host.SetProgram(program);
        for (int index = 0; index < ParameterCount; ++index) {
            EXPECT_EQ(host.GetParameter(index), OmbrixChorusDescription.programs[program].values[index])
                << program << "/" << index;
        }
    }
    EXPECT_EQ(host.GetProgramName(6), "Twangy Vibrato  (MW)");

    const ChorusBank factory = MakeFactoryBank(OmbrixChorusDescription);
    const std::vector<char> bank = host.GetChunk(false);
    ASSERT_EQ(bank.size(), 7204u);
    EXPECT_EQ(std::memcmp(bank.data(), &factory, sizeof factory), 0) << "the bank chunk is the factory image";
    host.SetProgram(11);
    const std::vector<char> program = host.GetChunk(true);
    ASSERT_EQ(program.size(), 220u);
    EXPECT_EQ(std::memcmp(program.data(), &factory.programs[11], 220), 0);
}

TEST_F(OmbrixChorusPlugin, ChorusSendControllerSetsTheMix)
{
    std::vector<float> silence(64, 0.0f), left(64), right(64);
    ProcessBlock(host, silence.data(), silence.data(), left.data(), right.data(), 64, {MakeControlChange(0, 93, 127)});
    EXPECT_EQ(host.GetParameter(4), 1.0f);
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 4);
    EXPECT_EQ(automations[0].value, 1.0f);
    EXPECT_EQ(host.GetParameterDisplay(4), "100");

    automations.clear();
    float before[ParameterCount];
    for (int index = 0; index < ParameterCount; ++index) {
        before[index] = host.GetParameter(index);
    }
    ProcessBlock(host, silence.data(), silence.data(), left.data(), right.data(), 64, {MakeControlChange(0, 1, 127)});
    for (int index = 0; index < ParameterCount; ++index) {
        EXPECT_EQ(host.GetParameter(index), before[index]) << "the modulation wheel moves no parameter";
    }
    EXPECT_TRUE(automations.empty());
}

TEST_F(OmbrixChorusPlugin, UnitImpulseComesBackHalfAndHalf)
{
    const float fixedDelay[ParameterCount] = {1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.1f, 1.0f, 0.0f};
    LoadValues(fixedDelay);
    std::vector<float> impulse(4096, 0.0f), left, right;
    impulse[0] = 1.0f;
    Render(impulse, impulse, left, right, 512);
    // 0.025 s at 44100 Hz is 1102.5 samples: linear interpolation splits the
    // impulse between its two neighbours.
    for (const std::vector<float>* channel : {&left, &right}) {
        EXPECT_NEAR((*channel)[1102], 0.5f, 1e-7f);
        EXPECT_NEAR((*channel)[1103], 0.5f, 1e-7f);
        float elsewhere = 0.0f;
        for (std::size_t i = 0; i < channel->size(); ++i) {
            if (i != 1102 && i != 1103) {
                elsewhere = std::max(elsewhere, std::fabs((*channel)[i]));
            }
        }
        EXPECT_LT(elsewhere, 1e-20f);
    }
}

TEST_F(OmbrixChorusPlugin, BypassPassesAudioWhileTheModulationRuns)
{
    const std::vector<float> noise = Noise(30000, 7);
    std::vector<float> left, right;
    host.SetParameter(0, 0.0f);
    Render(noise, noise, left, right, 512);
    EXPECT_TRUE(BitIdentical(left, noise));
    EXPECT_TRUE(BitIdentical(right, noise));

    // A second instance runs the chorus over silence meanwhile. Once both
    // play the same audio with the chorus on they agree, up to the rounding
    // of read positions taken from different write indexes; had the bypassed
    // LFO stood still, its sweep would be a quarter cycle behind.
    std::unique_ptr<PluginHost> reference = StartPlugin();
    std::vector<float> silence(noise.size(), 0.0f), ignored[2];
    RenderThrough(*reference, silence, silence, ignored[0], ignored[1], 512);

    host.SetParameter(0, 1.0f);
    const std::vector<float> music = Noise(20000, 8);
    std::vector<float> on[2], referenceOn[2];
    Render(music, music, on[0], on[1], 512);
    RenderThrough(*reference, music, music, referenceOn[0], referenceOn[1], 512);
    float difference = 0.0f;
    for (std::size_t i = 0; i < music.size(); ++i) {
        difference = std::max(difference, std::fabs(on[0][i] - referenceOn[0][i]));
    }
    EXPECT_LT(difference, 0.005f);
}

// How a program reaches the plug-in before a change that must glide from it.
enum class ProgramLoad { SetProgram, ProgramChunk };

// Plays a block of the factory program with a glide under way, loads values
// as a program (into program 9 of a bank and then setProgram, or as the
// current program's chunk), sets parameter index to newValue before the next
// block and renders input from there in blocks of 512. Answers the left
// output.
std::vector<float> LoadChangeAndRender(PluginHost& host, ProgramLoad load, const float (&values)[ParameterCount],
    VstInt32 index, float newValue, const std::vector<float>& input)
{
    std::vector<float> ignored[2], silence(256, 0.0f);
    host.SetParameter(4, 0.3f);
    RenderThrough(host, silence, silence, ignored[0], ignored[1], 256);

    const bool isPreset = load == ProgramLoad::ProgramChunk;
    std::vector<char> chunk = host.GetChunk(isPreset);
    const std::size_t program
        = isPreset ? 0 : offsetof(ChorusBank, programs) + 9 * sizeof(ProgramChunk<ParameterCount>);
    std::memcpy(chunk.data() + program + offsetof(ProgramChunk<ParameterCount>, values), values, sizeof values);
    EXPECT_TRUE(host.SetChunk(chunk, isPreset));
    if (!isPreset) {
        host.SetProgram(9);
    }
    host.SetParameter(index, newValue);
    EXPECT_EQ(host.GetParameter(index), newValue);

    std::vector<float> left, right;
    RenderThrough(host, input, input, left, right, 512);
    return left;
}

// The largest difference between what samples from..to of output show and
// what is expected of them.
template <typename Shown>
float LargestError(const std::vector<float>& output, const std::vector<float>& expected, std::size_t from, Shown shown)
{
    float largest = 0.0f;
    for (std::size_t n = from; n < expected.size(); ++n) {
        largest = std::max(largest, std::fabs(shown(n, output[n]) - expected[n]));
    }
    return largest;
}

// With an input of n + 1 at sample n, fully wet and without feedback, the
// output is the input read back through the delay line: n + 1 - delay.
std::vector<float> CountingInput(std::size_t frames)
{
    std::vector<float> input(frames);
    for (std::size_t n = 0; n < frames; ++n) {
        input[n] = static_cast<float>(n + 1);
    }
    return input;
}

float DelayShown(std::size_t n, float output)
{
    return static_cast<float>(static_cast<double>(n + 1) - output);
}

constexpr ProgramLoad ProgramLoads[] = {ProgramLoad::SetProgram, ProgramLoad::ProgramChunk};

// The first samples after a program load and a change follow the 0.1 s glide
// from the program's value, however the program came: the reset of the load
// happens at the next block, and the change made after it ramps from there.
TEST_F(OmbrixChorusPlugin, AMixChangeRightAfterAProgramLoadGlidesFromTheProgramsMix)
{
    // Delay 25 ms without modulation: the wet signal is silent for 1102
    // samples, so a constant input of 1 comes out as 1 - mix.
    const float values[ParameterCount] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    for (ProgramLoad load : ProgramLoads) {
        const std::vector<float> output
            = LoadChangeAndRender(host, load, values, 4, 1.0f, std::vector<float>(1024, 1.0f));
        ReferenceGlide mix(0.0f);
        mix.To(1.0f);
        std::vector<float> dry = mix.Block(1024);
        for (float& value : dry) {
            value = 1.0f - value;
        }
        EXPECT_LT(LargestError(output, dry, 0, [](std::size_t, float sample) { return sample; }), 1e-6f)
            << "first sample " << output[0] << ", expected " << dry[0];
    }
}

TEST_F(OmbrixChorusPlugin, ADelayTimeChangeRightAfterAProgramLoadGlidesFromTheProgramsDelay)
{
    // Fully wet, no modulation, no feedback; the delay starts at 1 ms.
    const float values[ParameterCount] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f};
    for (ProgramLoad load : ProgramLoads) {
        const std::vector<float> output = LoadChangeAndRender(host, load, values, 1, 1.0f, CountingInput(4096));
        ReferenceGlide seconds(ChorusDelayTimeTransform::Apply(0.0f));
        seconds.To(ChorusDelayTimeTransform::Apply(1.0f));
        std::vector<float> delay = seconds.Block(4096);
        for (float& value : delay) {
            value *= 44100.0f;
        }
        // From sample 64 on, the read-back lies within what was written.
        EXPECT_LT(LargestError(output, delay, 64, DelayShown), 0.002f) << "samples of delay";
    }
}

TEST_F(OmbrixChorusPlugin, ADepthChangeRightAfterAProgramLoadGlidesFromTheProgramsDepth)
{
    // The oscillator stands still at phase 0 (frequency 0): the left channel's
    // modulation is 1, and its delay the base delay times FastPow2(depth).
    const float values[ParameterCount] = {1.0f, 0.2f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f};
    const float baseDelay = 44100.0f * ChorusDelayTimeTransform::Apply(0.2f);
    for (ProgramLoad load : ProgramLoads) {
        const std::vector<float> output = LoadChangeAndRender(host, load, values, 2, 1.0f, CountingInput(4096));
        ReferenceGlide depth(0.0f);
        depth.To(1.0f);
        std::vector<float> delay = depth.Block(4096);
        for (float& value : delay) {
            value = FastPow2(value) * baseDelay;
        }
        // At most twice the base delay: from sample 200 on it lies within
        // what was written.
        EXPECT_LT(LargestError(output, delay, 200, DelayShown), 0.002f) << "samples of delay";
    }
}

// Renders noise through program 0 with a control change at one absolute
// sample, in blocks of the given size.
std::vector<float> RenderWithControlChange(int blockSize, std::size_t frames, std::size_t changeAt)
{
    std::unique_ptr<PluginHost> plugin = StartPlugin(blockSize);
    const std::vector<float> left = Noise(frames, 1), right = Noise(frames, 2);
    std::vector<float> inLeft = left, inRight = right, outLeft(frames), outRight(frames);
    for (std::size_t start = 0; start < frames; start += static_cast<std::size_t>(blockSize)) {
        const std::size_t count = std::min<std::size_t>(blockSize, frames - start);
        std::vector<VstMidiEvent> events;
        if (changeAt >= start && changeAt < start + count) {
            events.push_back(MakeControlChange(static_cast<VstInt32>(changeAt - start), 17, 127));
        }
        ProcessBlock(*plugin, &inLeft[start], &inRight[start], &outLeft[start], &outRight[start],
            static_cast<int>(count), events);
    }
    outLeft.insert(outLeft.end(), outRight.begin(), outRight.end());
    return outLeft;
}

TEST(OmbrixChorusPartition, OutputIsTheSameWhateverTheBlocks)
{
    const std::size_t frames = 40000, changeAt = 12345;
    const std::vector<float> reference = RenderWithControlChange(512, frames, changeAt);
    for (int blockSize : {1, 77, 4096, 20000, 40000}) {
        EXPECT_TRUE(BitIdentical(RenderWithControlChange(blockSize, frames, changeAt), reference))
            << "block size " << blockSize;
    }
}

// The digest of the scenario below, the same on every target.
constexpr std::uint64_t ExpectedDigest = 0x7aa362c749cbb5b0ull;

// FNV-1a over the bits of every output sample.
std::uint64_t Digest(const std::vector<float>& samples)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (float sample : samples) {
        std::uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= (bits >> (8 * byte)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// One fixed scenario: noise through several factory programs with host
// automation and MIDI control changes. Every target must give the same bits.
TEST(OmbrixChorusDigest, EveryTargetComputesTheSameBits)
{
    std::unique_ptr<PluginHost> plugin = StartPlugin(256);
    ASSERT_TRUE(plugin->IsLoaded());
    const int blockSize = 256, blocksPerProgram = 64;
    std::vector<float> left = Noise(blockSize, 3), right = Noise(blockSize, 4), outLeft(blockSize), outRight(blockSize);
    std::vector<float> all;
    for (int program : {0, 2, 6, 9, 15, 21}) {
        plugin->SetProgram(program);
        for (int block = 0; block < blocksPerProgram; ++block) {
            if (block % 16 == 5) {
                plugin->SetParameter(block % 8 == 5 ? 2 : 4, static_cast<float>(block) / blocksPerProgram);
            }
            std::vector<VstMidiEvent> events;
            if (block % 16 == 9) {
                events = {MakeControlChange(block % blockSize, 1, 100), MakeControlChange(100, 16, block)};
            }
            std::vector<float> inLeft = left, inRight = right;
            ProcessBlock(*plugin, inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), blockSize, events);
            all.insert(all.end(), outLeft.begin(), outLeft.end());
            all.insert(all.end(), outRight.begin(), outRight.end());
        }
    }
    EXPECT_EQ(Digest(all), ExpectedDigest) << std::hex << Digest(all);
}

} // namespace
