// Runs the ombrix-render executable on small generated files and checks what it writes.

#include "PresetFile.h"
#include "RenderToolFixture.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {
constexpr sf_count_t QuietWindowFrames = TestRate / 10;
const float QuietLevel = std::pow(10.0f, -90.0f / 20.0f);

/// The largest magnitude of some samples, and how many of them lie beyond full scale.
struct Level {
    float peak = 0.0f;
    std::int64_t beyondFullScale = 0;
};

Level Measure(const std::vector<float>& samples)
{
    Level level;
    for (float sample : samples) {
        level.peak = std::max(level.peak, std::fabs(sample));
        level.beyondFullScale += std::fabs(sample) > 1.0f ? 1 : 0;
    }
    return level;
}

std::string DecibelText(float peak)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
    return text;
}

std::string SecondsText(sf_count_t frames)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(frames) / TestRate);
    return text;
}

bool IsQuietFrame(const Audio& audio, sf_count_t frame)
{
    const auto at = static_cast<std::size_t>(2 * frame);
    return std::fabs(audio.samples[at]) < QuietLevel && std::fabs(audio.samples[at + 1]) < QuietLevel;
}

std::string LastLine(const std::string& text)
{
    const std::string::size_type end = text.size() - (!text.empty() && text.back() == '\n' ? 1 : 0);
    const std::string::size_type start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
}

/// A quarter second of silence that ends on a full-scale click in both channels.
void WriteClickAtTheEnd(const std::string& path)
{
    std::vector<float> samples(2 * (TestRate / 4), 0.0f);
    samples[samples.size() - 2] = samples[samples.size() - 1] = 1.0f;
    WriteSamples(path, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, samples);
}

// Cases every stereo effect must pass, run with the fixture and, once built, the product.
struct PluginCase {
    const char* name;
    const char* path;
    int controlledParameter; // the parameter that control change 93 moves
    const char* feedbackProgram; // one that rings on after its input, if the plug-in has one
};

void PrintTo(const PluginCase& plugin, std::ostream* stream)
{
    *stream << plugin.name;
}

class RenderedPluginTest : public RenderToolTest, public ::testing::WithParamInterface<PluginCase> {
protected:
    std::vector<std::string> With(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"--plugin", GetParam().path});
        return arguments;
    }
};

TEST_P(RenderedPluginTest, SwitchedOffPassesAFloatFileThroughBitForBit)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Audio input = ReadAudio(Path("in.wav"));
    const Audio byIndex = Render(With({Path("in.wav"), "--param", "0=0", "--tail", "0"}), "index.wav");
    const Audio byName = Render(With({Path("in.wav"), "--param", "On=0", "--tail", "0"}), "name.wav");
    EXPECT_EQ(byIndex.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(byIndex.info.samplerate, TestRate);
    EXPECT_TRUE(byIndex.samples == input.samples);
    EXPECT_TRUE(byName.samples == input.samples);
    EXPECT_EQ(FileNames(), (std::set<std::string> {"in.wav", "index.wav", "name.wav"}));
}

TEST_P(RenderedPluginTest, MonoInputBecomesStereoOutput)
{
    WriteSignal(Path("mono.wav"), 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Audio input = ReadAudio(Path("mono.wav"));
    const Audio bypassed = Render(With({Path("mono.wav"), "--param", "0=0", "--tail", "0"}), "bypassed.wav");
    const Audio processed = Render(With({Path("mono.wav"), "--tail", "0"}), "processed.wav");
    ASSERT_EQ(bypassed.info.channels, 2);
    ASSERT_EQ(bypassed.info.frames, input.info.frames);
    for (sf_count_t i = 0; i < input.info.frames; ++i) {
        ASSERT_EQ(bypassed.samples[static_cast<std::size_t>(2 * i)], input.samples[static_cast<std::size_t>(i)]);
        ASSERT_EQ(bypassed.samples[static_cast<std::size_t>(2 * i + 1)], input.samples[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(processed.info.channels, 2);
    EXPECT_EQ(processed.info.frames, input.info.frames);
}

TEST_P(RenderedPluginTest, BlockSizeDoesNotChangeTheResult)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Audio reference = Render(With({Path("in.wav"), "--cc", "93=20@0.3"}), "512.wav");
    for (const char* block : {"1", "77", "4096"}) {
        const Audio blocked
            = Render(With({Path("in.wav"), "--cc", "93=20@0.3", "--block", block}), std::string(block) + ".wav");
        EXPECT_TRUE(blocked.samples == reference.samples) << "block " << block;
    }
}

TEST_P(RenderedPluginTest, ControlChangeActsFromItsSampleOn)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Audio plain = Render(With({Path("in.wav")}), "plain.wav");
    const RunResult changed = Run(With({Path("in.wav"), "--cc", "93=127@0.5", "--verbose", "-o", Path("changed.wav")}));
    ASSERT_EQ(changed.exitCode, 0) << changed.err;
    const Audio withChange = ReadAudio(Path("changed.wav"));
    ASSERT_EQ(withChange.samples.size(), plain.samples.size());

    std::size_t firstDifference = plain.samples.size();
    for (std::size_t i = 0; i < plain.samples.size() && firstDifference == plain.samples.size(); ++i)
        if (plain.samples[i] != withChange.samples[i])
            firstDifference = i;
    const std::size_t changeSample = 2 * (TestRate / 2);
    EXPECT_GE(firstDifference, changeSample);
    EXPECT_LT(firstDifference, changeSample + 2 * 64) << "the change must be heard right away";
    EXPECT_NE(changed.err.find("automation: parameter " + std::to_string(GetParam().controlledParameter)
                  + " = 1 in the block at sample 22016"),
        std::string::npos)
        << changed.err;
}

TEST_P(RenderedPluginTest, SavedProgramAndBankRenderLikeTheOriginal)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    for (const char* presetName : {"sound.fxp", "sound.fxb"}) {
        const RunResult saved = Run(With({Path("in.wav"), "--program", "1", "--param", "2=0.3", "--save-preset",
            Path(presetName), "-o", Path("original.wav")}));
        ASSERT_EQ(saved.exitCode, 0) << saved.err;
        PresetFile preset;
        std::string error;
        ASSERT_TRUE(ParsePresetFile(ReadText(Path(presetName)), preset, error)) << error;
        EXPECT_EQ(preset.isBank, std::string(presetName).find(".fxb") != std::string::npos);
        EXPECT_TRUE(preset.isOpaque);

        const Audio original = ReadAudio(Path("original.wav"));
        const Audio reloaded = Render(With({Path("in.wav"), "--preset", Path(presetName)}), "reloaded.wav");
        const Audio unchanged = Render(With({Path("in.wav")}), "unchanged.wav");
        EXPECT_TRUE(reloaded.samples == original.samples) << presetName;
        EXPECT_FALSE(unchanged.samples == original.samples) << "the saved sound must differ from the default";
    }
}

TEST_P(RenderedPluginTest, ProgramNameSelectsLikeItsNumber)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const RunResult listing = Run(With({"--list"}));
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    const auto line = listing.out.find("\n    1  ");
    ASSERT_NE(line, std::string::npos) << listing.out;
    const std::string name = listing.out.substr(line + 8, listing.out.find('\n', line + 1) - line - 8);
    const Audio byName = Render(With({Path("in.wav"), "--program", name}), "name.wav");
    const Audio byNumber = Render(With({Path("in.wav"), "--program", "1"}), "number.wav");
    EXPECT_TRUE(byName.samples == byNumber.samples);
}

#ifdef OMBRIX_CHORUS
// The product describes its parameters: long names and display texts reach it through the
// entry point, and give the sound of the normalised values they stand for.
TEST_F(RenderToolTest, ProductParametersTakeLongNamesAndDisplayTexts)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestRate / 10);
    struct SameSound {
        const char* typed;
        const char* normalised;
    };
    const SameSound cases[] = {
        {"Delay Time=1 ms", "D Time=0"},
        {" Delay Time = 25ms ", "1=1"},
        {"Mix=30 %", "Mix=0.3"},
        {"Frequency=10 Hz", "Freq=1"},
        {"Feedback=0.5", "FB=0.5"}, // a bare number stays a normalised value
        {"Quad Mode=Off", "Quad=0"},
        {"Chorus On/Off=off", "0=0"},
    };
    const std::vector<std::string> program {"--plugin", OMBRIX_CHORUS, Path("in.wav"), "--program", "Lite Chorus"};
    const Audio plain = Render(program, "plain.wav");
    for (const SameSound& c : cases) {
        std::vector<std::string> typed = program, normalised = program;
        typed.insert(typed.end(), {"--param", c.typed});
        normalised.insert(normalised.end(), {"--param", c.normalised});
        const Audio typedSound = Render(typed, "typed.wav");
        EXPECT_TRUE(typedSound.samples == Render(normalised, "normalised.wav").samples) << c.typed;
        EXPECT_FALSE(typedSound.samples == plain.samples) << c.typed << " must change the sound of the program";
    }

    const RunResult refused
        = Run({"--plugin", OMBRIX_CHORUS, Path("in.wav"), "--param", "Delay Time=12 Hz", "-o", Path("refused.wav")});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("does not read \"12 Hz\" as a value of Delay Time"), std::string::npos) << refused.err;

    const RunResult listing = Run({"--plugin", OMBRIX_CHORUS, "--list"});
    EXPECT_NE(listing.out.find("    1  D Time     0.025      Secs       (1)  Delay Time\n"), std::string::npos)
        << listing.out;
}
#endif

TEST_P(RenderedPluginTest, TailRunsOnSilenceUntilTheOutputHasDecayed)
{
    WriteClickAtTheEnd(Path("click.wav"));
    const sf_count_t inputFrames = TestRate / 4;
    const std::vector<std::string> sound = With({Path("click.wav"), "--program", GetParam().feedbackProgram});

    const RunResult automatic = Run(Joined(sound, {"-o", Path("automatic.wav")}));
    ASSERT_EQ(automatic.exitCode, 0) << automatic.err;
    const Audio decayed = ReadAudio(Path("automatic.wav"));
    const sf_count_t frames = decayed.info.frames;
    ASSERT_GT(frames, inputFrames + QuietWindowFrames - 1);
    // It ends on the first 100 ms that are quiet from start to end, after the input.
    for (sf_count_t i = frames - QuietWindowFrames; i < frames; ++i)
        ASSERT_TRUE(IsQuietFrame(decayed, i)) << "frame " << i;
    EXPECT_FALSE(IsQuietFrame(decayed, frames - QuietWindowFrames - 1));
    EXPECT_NE(automatic.err.find("(tail " + SecondsText(frames - inputFrames) + ")"), std::string::npos)
        << automatic.err;

    const Audio cut = Render(Joined(sound, {"--tail", "0"}), "cut.wav");
    EXPECT_EQ(cut.info.frames, inputFrames);
    const Audio twoSeconds = Render(Joined(sound, {"--tail", "2"}), "two.wav");
    ASSERT_EQ(twoSeconds.info.frames, inputFrames + 2 * TestRate);
    // The tails are the same sound, cut at different places.
    const std::size_t common = 2 * static_cast<std::size_t>(std::min(frames, twoSeconds.info.frames));
    EXPECT_TRUE(std::equal(decayed.samples.begin(), decayed.samples.begin() + common, twoSeconds.samples.begin()));
    EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end(), decayed.samples.begin()));
}

TEST_P(RenderedPluginTest, SamplesClippedByTheFormatAreCountedAsAFloatRenderHoldsThem)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const std::vector<std::string> loud = With({Path("in.wav"), "--gain", "9"});
    const RunResult floatRun = Run(Joined(loud, {"-o", Path("float.wav")}));
    ASSERT_EQ(floatRun.exitCode, 0) << floatRun.err;
    EXPECT_EQ(floatRun.err.find("clipped"), std::string::npos) << floatRun.err;
    const Level level = Measure(ReadAudio(Path("float.wav")).samples);
    ASSERT_GT(level.beyondFullScale, 0);

    struct ClippingCase {
        const char* file;
        std::vector<std::string> options;
        const char* remedy;
    };
    const ClippingCase cases[] = {
        {"pcm24.wav", {"--subtype", "pcm24"}, "keep them with --subtype float or"},
        {"pcm16.flac", {"--format", "flac", "--subtype", "pcm16"}, "keep them with --format wav --subtype float or"},
        {"vorbis.ogg", {"--format", "ogg"}, "keep them with --format wav --subtype float or"},
    };
    for (const ClippingCase& c : cases) {
        const RunResult clipped = Run(Joined(Joined(loud, c.options), {"-o", Path(c.file)}));
        ASSERT_EQ(clipped.exitCode, 0) << clipped.err;
        const std::string report = Path(c.file) + ": " + std::to_string(level.beyondFullScale)
            + " samples beyond full scale were clipped (peak " + DecibelText(level.peak) + "); ";
        EXPECT_NE(clipped.err.find(report + c.remedy), std::string::npos) << clipped.err;
        EXPECT_EQ(LastLine(clipped.err).rfind("Rendered ", 0), 0u) << "the closing line comes last: " << clipped.err;
    }

    // The gain it proposes brings every sample within full scale.
    const RunResult clipped = Run(Joined(loud, {"--subtype", "pcm24", "-o", Path("pcm24.wav")}));
    const std::string::size_type gainAt = clipped.err.find("--gain ");
    ASSERT_NE(gainAt, std::string::npos) << clipped.err;
    const std::string gain = clipped.err.substr(gainAt + 7, clipped.err.find('\n', gainAt) - gainAt - 7);
    const RunResult remedied
        = Run(With({Path("in.wav"), "--gain", gain, "--subtype", "pcm24", "-o", Path("remedied.wav")}));
    ASSERT_EQ(remedied.exitCode, 0) << remedied.err;
    EXPECT_EQ(remedied.err.find("clipped"), std::string::npos) << "--gain " << gain << ": " << remedied.err;
    const Audio lowered = Render(With({Path("in.wav"), "--gain", gain}), "lowered.wav");
    EXPECT_EQ(Measure(lowered.samples).beyondFullScale, 0);
}

TEST_P(RenderedPluginTest, GainScalesTheOutputByItsDecibels)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const Audio plain = Render(With({Path("in.wav"), "--tail", "0"}), "plain.wav");
    const RunResult lowering = Run(With({Path("in.wav"), "--tail", "0", "--gain", "-6", "-o", Path("lowered.wav")}));
    ASSERT_EQ(lowering.exitCode, 0) << lowering.err;
    const Audio lowered = ReadAudio(Path("lowered.wav"));
    ASSERT_EQ(lowered.samples.size(), plain.samples.size());
    const double factor = std::pow(10.0, -6.0 / 20.0);
    for (std::size_t i = 0; i < plain.samples.size(); ++i)
        ASSERT_NEAR(lowered.samples[i], plain.samples[i] * factor, 1e-6 * std::fabs(plain.samples[i])) << i;
    const float plainPeak = Measure(plain.samples).peak;
    const float loweredPeak = Measure(lowered.samples).peak;
    EXPECT_NEAR(20.0 * std::log10(static_cast<double>(loweredPeak / plainPeak)), -6.0, 1e-4);
    EXPECT_NE(lowering.err.find("peak " + DecibelText(loweredPeak)), std::string::npos) << lowering.err;
}

const PluginCase PluginCases[] = {
    {"Fixture", FIXTURE_GAIN, 1, "Unity"},
#ifdef OMBRIX_CHORUS
    {"OmbrixChorus", OMBRIX_CHORUS, 4, "Room"},
#endif
};

INSTANTIATE_TEST_SUITE_P(Plugins, RenderedPluginTest, ::testing::ValuesIn(PluginCases),
    [](const ::testing::TestParamInfo<PluginCase>& info) { return info.param.name; });

TEST_F(RenderToolTest, OutputFollowsTheInputFormatUnlessTold)
{
    struct FormatCase {
        const char* input;
        int format;
        std::vector<std::string> options;
        int expected;
    };
    const FormatCase cases[] = {
        {"in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {}, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"in.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, {}, SF_FORMAT_AIFF | SF_FORMAT_PCM_24},
        {"in.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, {}, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {"--format", "flac"}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
        {"in.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, {"--format", "wav"}, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
        {"in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {"--subtype", "pcm16"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {"--format", "aiff", "--subtype", "double"},
            SF_FORMAT_AIFF | SF_FORMAT_DOUBLE},
    };
    for (const FormatCase& c : cases) {
        WriteSignal(Path(c.input), 2, c.format, TestRate / 10);
        std::vector<std::string> arguments {"--plugin", FIXTURE_GAIN, Path(c.input), "--tail", "0"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const Audio output = Render(arguments, "out");
        EXPECT_EQ(output.info.format, c.expected) << c.input;
        EXPECT_EQ(output.info.frames, TestRate / 10) << c.input;
        std::remove(Path("out").c_str());
    }
}

TEST_F(RenderToolTest, WithoutInputTheDemoPhraseIsRendered)
{
    const Audio demo = Render({"--plugin", FIXTURE_GAIN, "--program", "Quiet"}, "demo.wav");
    EXPECT_EQ(demo.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(demo.info.channels, 2);
    EXPECT_EQ(demo.info.samplerate, 44100);
    EXPECT_GE(demo.info.frames, 3 * 44100);
    float peak = 0.0f;
    for (float sample : demo.samples)
        peak = std::max(peak, std::fabs(sample));
    EXPECT_GT(peak, 0.05f);
    EXPECT_LT(peak, 1.0f);
}

TEST_F(RenderToolTest, ListShowsIdentityProgramsAndParameters)
{
    const RunResult result = Run({"--plugin", FIXTURE_GAIN, "--program", "Quiet", "--list"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* expected : {"Effect:      Fixture Gain", "Vendor:      Test Bench", "'FxGn' (0x4678476E)",
             "Version:     7 (vendor version 7", "Flags:       0x30 (replacing, program chunks)", "Inputs:      2",
             "Programs:    3 (current: 1)", "    2  Left Heavy", "    2  Out Bal", "    1  Gain       0.250      x"})
        EXPECT_NE(result.out.find(expected), std::string::npos) << expected << " in\n" << result.out;
}

TEST_F(RenderToolTest, PlainPresetsSetParametersAndNames)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestRate / 10);
    PresetFile program;
    program.isOpaque = false;
    program.pluginId = ToFourCharCode("FxGn");
    program.parameterCount = 3;
    program.programs = {{"Plain", {1.0f, 0.25f, 0.5f}}}; // the values of "Quiet"
    PresetFile bank = program;
    bank.isBank = true;
    bank.programCount = 2;
    bank.currentProgram = 1;
    bank.programs = {{"Plain One", {1.0f, 0.5f, 0.5f}}, {"Plain Two", {1.0f, 0.25f, 0.5f}}};
    std::ofstream(Path("plain.fxp"), std::ios::binary) << SerializePresetFile(program);
    std::ofstream(Path("plain.fxb"), std::ios::binary) << SerializePresetFile(bank);

    const Audio quiet = Render({"--plugin", FIXTURE_GAIN, Path("in.wav"), "--program", "Quiet"}, "quiet.wav");
    const Audio fromProgram
        = Render({"--plugin", FIXTURE_GAIN, Path("in.wav"), "--preset", Path("plain.fxp")}, "program.wav");
    const Audio fromBank
        = Render({"--plugin", FIXTURE_GAIN, Path("in.wav"), "--preset", Path("plain.fxb")}, "bank.wav");
    EXPECT_TRUE(fromProgram.samples == quiet.samples);
    EXPECT_TRUE(fromBank.samples == quiet.samples);

    const RunResult listing = Run({"--plugin", FIXTURE_GAIN, "--preset", Path("plain.fxb"), "--list"});
    EXPECT_NE(listing.out.find("Programs:    3 (current: 1)\n    0  Plain One\n    1  Plain Two\n    2  Left Heavy"),
        std::string::npos)
        << listing.out;
}

TEST_F(RenderToolTest, FailuresLeaveNoOutputAndSayWhy)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4410);
    WriteSignal(Path("three.wav"), 3, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4410);
    std::ofstream(Path("text.wav")) << "this is not a sound file\n";
    ASSERT_EQ(Run({"--plugin", FIXTURE_GAIN, "--save-preset", Path("good.fxp")}).exitCode, 0);
    const std::string good = ReadText(Path("good.fxp"));
    std::string wrongMagic = good;
    wrongMagic[8] = 'X';
    std::string wrongId = good;
    wrongId[19] = 'Z';
    std::ofstream(Path("magic.fxp"), std::ios::binary) << wrongMagic;
    std::ofstream(Path("id.fxp"), std::ios::binary) << wrongId;
    std::ofstream(Path("short.fxp"), std::ios::binary) << good.substr(0, good.size() - 3);
    const std::set<std::string> before = FileNames();

    struct FailureCase {
        std::vector<std::string> arguments;
        const char* reason;
    };
    const FailureCase cases[] = {
        {{Path("missing.wav")}, "No such file"},
        {{Path("text.wav")}, "cannot read"},
        {{Path("three.wav")}, "3 channels"},
        {{"--plugin", Path("missing.so"), Path("in.wav")}, "cannot load plug-in"},
        {{"--plugin", FIXTURE_NO_ENTRY, Path("in.wav")}, "exports no VSTPluginMain"},
        {{"--plugin", FIXTURE_NULL_RECORD, Path("in.wav")}, "returned null"},
        {{"--plugin", FIXTURE_WRONG_MAGIC, Path("in.wav")}, "magic 0x58737450"},
        {{"--plugin", FIXTURE_MONO_INPUT, Path("in.wav")}, "no stereo input"},
        {{Path("in.wav"), "--program", "Loud"}, "unknown program \"Loud\""},
        {{Path("in.wav"), "--program", "3"}, "unknown program \"3\""},
        {{Path("in.wav"), "--param", "Volume=0.5"}, "unknown parameter \"Volume\""},
        {{Path("in.wav"), "--param", "3=0.5"}, "unknown parameter \"3\""},
        {{Path("in.wav"), "--param", "Gain=1.5"}, "must lie in [0, 1]"},
        {{Path("in.wav"), "--param", "Gain=-0.01"}, "must lie in [0, 1]"},
        {{Path("in.wav"), "--param", "Gain=nan"}, "expected NAME=VALUE"},
        {{Path("in.wav"), "--param", "Gain= "}, "expected NAME=VALUE"},
        {{Path("in.wav"), "--param", "=0.5"}, "expected NAME=VALUE"},
        {{Path("in.wav"), "--param", "Gain=loud"}, "does not read \"loud\" as a value of Gain"},
        {{Path("in.wav"), "--preset", Path("magic.fxp")}, "neither a program nor a bank"},
        {{Path("in.wav"), "--preset", Path("id.fxp")}, "made for the plug-in 'FxGZ', not 'FxGn'"},
        {{Path("in.wav"), "--preset", Path("short.fxp")}, "truncated"},
        {{Path("in.wav"), "--preset", Path("none.fxp")}, "cannot read preset"},
        {{Path("in.wav"), "--cc", "93=127@0.2"}, "the audio ends at 0.100 s"},
        {{Path("in.wav"), "--cc", "93=128@0"}, "--cc 93=128@0"},
        {{Path("in.wav"), "--subtype", "vorbis"}, "cannot write wav/vorbis"},
        {{Path("in.wav"), "--block", "0"}, "--block 0"},
    };
    for (const FailureCase& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        if (arguments[0] != "--plugin")
            arguments.insert(arguments.begin(), {"--plugin", FIXTURE_GAIN});
        arguments.insert(arguments.end(), {"-o", Path("out.wav"), "--save-preset", Path("out.fxp")});
        const RunResult result = Run(arguments);
        EXPECT_NE(result.exitCode, 0) << c.reason;
        EXPECT_EQ(result.err.rfind("ombrix-render: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_EQ(FileNames(), before) << c.reason;
    }
}

} // namespace
