// Runs the ombrix-render executable on small generated files and checks what it writes.

#include "PresetFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {
constexpr int TestRate = 44100;
constexpr sf_count_t TestFrames = TestRate; // one second

struct Audio {
    SF_INFO info {};
    std::vector<float> samples; // interleaved
};

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

Audio ReadAudio(const std::string& path)
{
    Audio audio;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &audio.info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return audio;
    }
    audio.samples.resize(static_cast<std::size_t>(audio.info.frames * audio.info.channels));
    sf_readf_float(file, audio.samples.data(), audio.info.frames);
    sf_close(file);
    return audio;
}

/// A deterministic test signal: a tone per channel plus a little noise, below full scale.
void WriteSignal(const std::string& path, int channels, int format, sf_count_t frames = TestFrames)
{
    SF_INFO info {};
    info.samplerate = TestRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    unsigned noise = 12345u;
    for (sf_count_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const double tone = 0.4 * std::sin(2.0 * M_PI * (220.0 + 110.0 * c) * static_cast<double>(i) / TestRate);
            samples[static_cast<std::size_t>(i * channels + c)]
                = static_cast<float>(tone + 0.05 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0));
        }
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
}

/// A fresh scratch folder per test, with helpers to run the tool inside it.
class RenderToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = std::string(TEST_SCRATCH_DIR) + "/render-XXXXXX";
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        folder = pattern;
    }

    void TearDown() override
    {
        for (const std::string& name : FileNames())
            std::remove(Path(name).c_str());
        rmdir(folder.c_str());
    }

    std::string Path(const std::string& name) const { return folder + "/" + name; }

    std::set<std::string> FileNames() const
    {
        std::set<std::string> names;
        DIR* directory = opendir(folder.c_str());
        while (dirent* entry = directory != nullptr ? readdir(directory) : nullptr)
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.insert(entry->d_name);
        if (directory != nullptr)
            closedir(directory);
        return names;
    }

    RunResult Run(const std::vector<std::string>& arguments) const
    {
        std::vector<std::string> all {RENDER_TOOL};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all)
            argv.push_back(&argument[0]);
        argv.push_back(nullptr);

        const std::string outPath = folder + "/../" + folderName() + ".stdout";
        const std::string errPath = folder + "/../" + folderName() + ".stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        RunResult result;
        pid_t child = 0;
        if (posix_spawn(&child, RENDER_TOOL, &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(child, &status, 0);
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        posix_spawn_file_actions_destroy(&actions);
        result.out = ReadText(outPath);
        result.err = ReadText(errPath);
        std::remove(outPath.c_str());
        std::remove(errPath.c_str());
        return result;
    }

    /// Renders and expects success; answers the output.
    Audio Render(std::vector<std::string> arguments, const std::string& output)
    {
        arguments.push_back("-o");
        arguments.push_back(Path(output));
        const RunResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return ReadAudio(Path(output));
    }

    std::string folderName() const { return folder.substr(folder.rfind('/') + 1); }

    std::string folder;
};

// Cases every stereo effect must pass, run with the fixture and, once built, the product.
struct PluginCase {
    const char* name;
    const char* path;
    int controlledParameter; // the parameter that control change 93 moves
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
    const Audio byIndex = Render(With({Path("in.wav"), "--param", "0=0"}), "index.wav");
    const Audio byName = Render(With({Path("in.wav"), "--param", "On=0"}), "name.wav");
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
    const Audio bypassed = Render(With({Path("mono.wav"), "--param", "0=0"}), "bypassed.wav");
    const Audio processed = Render(With({Path("mono.wav")}), "processed.wav");
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

const PluginCase PluginCases[] = {
    {"Fixture", FIXTURE_GAIN, 1},
#ifdef OMBRIX_CHORUS
    {"OmbrixChorus", OMBRIX_CHORUS, 4},
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
        std::vector<std::string> arguments {"--plugin", FIXTURE_GAIN, Path(c.input)};
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
