// The shipped plug-in binary as a host sees it: loaded from disk, entered
// through VSTPluginMain and driven only through its effect record.

#include "FactoryBank.h"
#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int ParameterCount = 8;

// Runs the buffers through the plug-in in blocks of the given size.
void RenderThrough(HostedPlugin& plugin, const std::vector<float>& left, const std::vector<float>& right,
    std::vector<float>& outLeft, std::vector<float>& outRight, int blockSize)
{
    outLeft.assign(left.size(), 0.0f);
    outRight.assign(right.size(), 0.0f);
    std::vector<float> inLeft = left, inRight = right;
    for (std::size_t start = 0; start < left.size(); start += static_cast<std::size_t>(blockSize)) {
        const int frames = static_cast<int>(std::min<std::size_t>(blockSize, left.size() - start));
        plugin.Process(&inLeft[start], &inRight[start], &outLeft[start], &outRight[start], frames);
    }
}

class OmbrixChorusPlugin : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Loaded()) << "cannot load " << OMBRIX_CHORUS_PATH;
        host.Start();
        host.calls.clear();
    }

    // Replaces the current program's values without a ramp: a program chunk
    // applies its values and resets the plug-in.
    void LoadValues(const float (&values)[ParameterCount])
    {
        void* data = nullptr;
        ASSERT_EQ(host.Dispatch(effGetChunk, 1, 0, &data), 220);
        ProgramChunk<ParameterCount> program;
        std::memcpy(&program, data, sizeof program);
        std::memcpy(program.values, values, sizeof program.values);
        ASSERT_EQ(host.Dispatch(effSetChunk, 1, sizeof program, &program), 1);
    }

    void Render(const std::vector<float>& left, const std::vector<float>& right, std::vector<float>& outLeft,
        std::vector<float>& outRight, int blockSize)
    {
        RenderThrough(host, left, right, outLeft, outRight, blockSize);
    }

    HostedPlugin host{OMBRIX_CHORUS_PATH};
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
    AEffect* effect = host.Effect();
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->uniqueID, ToFourCharCode("OmCh"));
    EXPECT_EQ(effect->numPrograms, 32);
    EXPECT_EQ(effect->numParams, 8);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanReplacing | effFlagsProgramChunks);
#if !defined(_WIN32)
    EXPECT_EQ(effect->flags & effFlagsHasEditor, 0) << "no editor on Linux";
#endif
    EXPECT_EQ(host.Text(effGetEffectName), "Ombrix Chorus");
    EXPECT_EQ(host.Text(effGetVendorString), "Tervane Sound Design");
    EXPECT_EQ(host.Text(effGetProductString), "Ombrix Chorus");
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
        EXPECT_EQ(host.Text(effGetParamName, index), names[index]);
        EXPECT_EQ(host.Text(effGetParamLabel, index), labels[index]);
        EXPECT_EQ(host.Text(effGetParamDisplay, index), texts[index]);
    }

    const float defaults[ParameterCount] = {1.0f, 1.0f, 0.25f, 0.0f, 0.5f, 0.1f, 1.0f, 0.0f};
    LoadValues(defaults);
    const char* defaultTexts[ParameterCount] = {"On", "0.025", "0.250", "0.000", "50", "0.100", "On", "Off"};
    for (int index = 0; index < ParameterCount; ++index) {
        EXPECT_EQ(host.Text(effGetParamDisplay, index), defaultTexts[index]);
    }
}

TEST_F(OmbrixChorusPlugin, CarriesTheFactoryBank)
{
    EXPECT_EQ(host.Dispatch(effGetProgram), 0);
    EXPECT_EQ(host.Text(effGetProgramName), "-- KOVRA --");
    for (int program = 0; program < 32; ++program) {
        char name[64] = {};
        ASSERT_EQ(host.Dispatch(effGetProgramNameIndexed, program, 0, name), 1);
        EXPECT_STREQ(name, FactoryPrograms[program].name);
        host.Dispatch(effSetProgram, 0, program);
        for (int index = 0; index < ParameterCount; ++index) {
            EXPECT_EQ(host.GetParameter(index), FactoryPrograms[program].values[index]) << program << "/" << index;
        }
    }
    char name[64] = {};
    host.Dispatch(effGetProgramNameIndexed, 6, 0, name);
    EXPECT_STREQ(name, "Twangy Vibrato  (MW)");

    void* data = nullptr;
    ASSERT_EQ(host.Dispatch(effGetChunk, 0, 0, &data), 7204);
    ChorusBank factory = MakeFactoryBank("Ombrix Chorus", "Tervane Sound Design", "Ombrix Chorus", 1000);
    EXPECT_EQ(std::memcmp(data, &factory, sizeof factory), 0) << "the bank chunk is the factory image";
    host.Dispatch(effSetProgram, 0, 11);
    ASSERT_EQ(host.Dispatch(effGetChunk, 1, 0, &data), 220);
    EXPECT_EQ(std::memcmp(data, &factory.programs[11], 220), 0);
}

TEST_F(OmbrixChorusPlugin, ChorusSendControllerSetsTheMix)
{
    host.SendMidi({HostedPlugin::ControlChange(0, 93, 127)});
    std::vector<float> silence(64, 0.0f), left, right;
    Render(silence, silence, left, right, 64);
    EXPECT_EQ(host.GetParameter(4), 1.0f);
    ASSERT_EQ(host.CountCalls(audioMasterAutomate), 1);
    for (const HostedPlugin::HostCall& call : host.calls) {
        if (call.opcode == audioMasterAutomate) {
            EXPECT_EQ(call.index, 4);
            EXPECT_EQ(call.opt, 1.0f);
        }
    }
    EXPECT_EQ(host.Text(effGetParamDisplay, 4), "100");

    host.calls.clear();
    float before[ParameterCount];
    for (int index = 0; index < ParameterCount; ++index) {
        before[index] = host.GetParameter(index);
    }
    host.SendMidi({HostedPlugin::ControlChange(0, 1, 127)});
    Render(silence, silence, left, right, 64);
    for (int index = 0; index < ParameterCount; ++index) {
        EXPECT_EQ(host.GetParameter(index), before[index]) << "the modulation wheel moves no parameter";
    }
    EXPECT_EQ(host.CountCalls(audioMasterAutomate), 0);
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
    HostedPlugin reference{OMBRIX_CHORUS_PATH};
    reference.Start();
    std::vector<float> silence(noise.size(), 0.0f), ignored[2];
    RenderThrough(reference, silence, silence, ignored[0], ignored[1], 512);

    host.SetParameter(0, 1.0f);
    const std::vector<float> music = Noise(20000, 8);
    std::vector<float> on[2], referenceOn[2];
    Render(music, music, on[0], on[1], 512);
    RenderThrough(reference, music, music, referenceOn[0], referenceOn[1], 512);
    float difference = 0.0f;
    for (std::size_t i = 0; i < music.size(); ++i) {
        difference = std::max(difference, std::fabs(on[0][i] - referenceOn[0][i]));
    }
    EXPECT_LT(difference, 0.005f);
}

// Renders noise through program 0 with a control change at one absolute
// sample, in blocks of the given size.
std::vector<float> RenderWithControlChange(int blockSize, std::size_t frames, std::size_t changeAt)
{
    HostedPlugin plugin{OMBRIX_CHORUS_PATH};
    plugin.Start();
    const std::vector<float> left = Noise(frames, 1), right = Noise(frames, 2);
    std::vector<float> inLeft = left, inRight = right, outLeft(frames), outRight(frames);
    for (std::size_t start = 0; start < frames; start += static_cast<std::size_t>(blockSize)) {
        const std::size_t count = std::min<std::size_t>(blockSize, frames - start);
        if (changeAt >= start && changeAt < start + count) {
            plugin.SendMidi({HostedPlugin::ControlChange(static_cast<VstInt32>(changeAt - start), 17, 127)});
        }
        plugin.Process(&inLeft[start], &inRight[start], &outLeft[start], &outRight[start], static_cast<int>(count));
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
    HostedPlugin plugin{OMBRIX_CHORUS_PATH};
    ASSERT_TRUE(plugin.Loaded());
    plugin.Start(44100.0f, 256);
    const int blockSize = 256, blocksPerProgram = 64;
    std::vector<float> left = Noise(blockSize, 3), right = Noise(blockSize, 4), outLeft(blockSize), outRight(blockSize);
    std::vector<float> all;
    for (int program : {0, 2, 6, 9, 15, 21}) {
        plugin.Dispatch(effSetProgram, 0, program);
        for (int block = 0; block < blocksPerProgram; ++block) {
            if (block % 16 == 5) {
                plugin.SetParameter(block % 8 == 5 ? 2 : 4, static_cast<float>(block) / blocksPerProgram);
            }
            if (block % 16 == 9) {
                plugin.SendMidi({HostedPlugin::ControlChange(block % blockSize, 1, 100),
                    HostedPlugin::ControlChange(100, 16, block)});
            }
            std::vector<float> inLeft = left, inRight = right;
            plugin.Process(inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), blockSize);
            all.insert(all.end(), outLeft.begin(), outLeft.end());
            all.insert(all.end(), outRight.begin(), outRight.end());
        }
    }
    EXPECT_EQ(Digest(all), ExpectedDigest) << std::hex << Digest(all);
}

} // namespace
