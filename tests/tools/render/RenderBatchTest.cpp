// ombrix-render with several input files and --output-dir: every file through an effect instance
// of its own, several at once. Run under ThreadSanitizer too: the instances process on different
// threads at the same time, as the tracks of a host do.

#include "RenderToolFixture.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

struct BatchPlugin {
    const char* name;
    const char* path;
    const char* program; // a sound with a tail where the plug-in has one
};

void PrintTo(const BatchPlugin& plugin, std::ostream* stream)
{
    *stream << plugin.name;
}

std::size_t CountLines(const std::string& text, const std::string& start)
{
    std::size_t count = 0;
    for (std::string::size_type at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        count += text.compare(at, start.size(), start) == 0 ? 1 : 0;
        if (text.find('\n', at) == std::string::npos)
            break;
    }
    return count;
}

class RenderBatchTest : public RenderToolTest, public ::testing::WithParamInterface<BatchPlugin> {
protected:
    std::vector<std::string> With(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"--plugin", GetParam().path, "--program", GetParam().program});
        return arguments;
    }

    /// Four takes in different formats and lengths, one of them mono.
    std::vector<std::string> WriteTakes()
    {
        WriteSignal(Path("one.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestRate);
        WriteSignal(Path("two.flac"), 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, TestRate / 2);
        WriteSignal(Path("three.aiff"), 2, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, TestRate * 7 / 10);
        WriteSignal(Path("four.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, TestRate / 3);
        return {"one.wav", "two.flac", "three.aiff", "four.wav"};
    }
};

TEST_P(RenderBatchTest, EveryFileComesOutAsARenderOfItsOwnWould)
{
    const std::vector<std::string> takes = WriteTakes();
    std::vector<std::string> arguments;
    for (const std::string& take : takes)
        arguments.push_back(Path(take));
    const RunResult batch = Run(With(Joined(arguments, {"--output-dir", Path("out"), "-j", "2"})));
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(FileNames("out"), std::set<std::string>(takes.begin(), takes.end()));
    EXPECT_EQ(CountLines(batch.err, "Rendered "), takes.size() + 1) << batch.err;
    EXPECT_NE(batch.err.find("Rendered 4 of 4 files into " + Path("out")), std::string::npos) << batch.err;

    for (const std::string& take : takes) {
        const Audio alone = Render(With({Path(take)}), "alone-" + take);
        const Audio fromBatch = ReadAudio(Path("out/" + take));
        EXPECT_EQ(fromBatch.info.format, alone.info.format) << take;
        EXPECT_EQ(fromBatch.info.frames, alone.info.frames) << take;
        EXPECT_TRUE(fromBatch.samples == alone.samples) << take;
        EXPECT_NE(batch.err.find("to " + Path("out/" + take) + " (tail "), std::string::npos) << batch.err;
    }
}

TEST_P(RenderBatchTest, AnUnreadableFileFailsAloneAndLeavesNothing)
{
    const std::vector<std::string> takes = WriteTakes();
    std::ofstream(Path("notes.wav")) << "not a sound file\n";
    const RunResult batch = Run(With({Path("one.wav"), Path("notes.wav"), Path("two.flac"), Path("missing.wav"),
        Path("three.aiff"), "--output-dir", Path("out"), "--format", "flac", "-j", "2"}));
    EXPECT_EQ(batch.exitCode, 1) << batch.err;
    EXPECT_EQ(FileNames("out"), (std::set<std::string> {"one.flac", "two.flac", "three.flac"}));
    EXPECT_EQ(CountLines(batch.err, "ombrix-render: "), 2u) << batch.err;
    EXPECT_EQ(CountLines(batch.err, "ombrix-render: " + Path("notes.wav") + ": cannot read " + Path("notes.wav")), 1u)
        << batch.err;
    EXPECT_EQ(CountLines(batch.err,
                  "ombrix-render: " + Path("missing.wav") + ": cannot read " + Path("missing.wav")
                      + ": No such file or directory"),
        1u)
        << batch.err;
    EXPECT_NE(batch.err.find("Rendered 3 of 5 files into " + Path("out")), std::string::npos) << batch.err;
    const Audio converted = ReadAudio(Path("out/one.flac"));
    EXPECT_EQ(converted.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

const BatchPlugin BatchPlugins[] = {
    {"Fixture", FIXTURE_GAIN, "Quiet"},
#ifdef OMBRIX_CHORUS
    {"OmbrixChorus", OMBRIX_CHORUS, "Room"},
#endif
};

INSTANTIATE_TEST_SUITE_P(Plugins, RenderBatchTest, ::testing::ValuesIn(BatchPlugins),
    [](const ::testing::TestParamInfo<BatchPlugin>& info) { return info.param.name; });

TEST_F(RenderToolTest, BatchMistakesAreRefusedBeforeAnythingIsWritten)
{
    WriteSignal(Path("one.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestRate / 10);
    mkdir(Path("other").c_str(), 0777);
    WriteSignal(Path("other/one.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestRate / 10);
    const std::set<std::string> before = FileNames();
    struct MistakeCase {
        std::vector<std::string> arguments;
        int exitCode;
        std::string reason;
    };
    const MistakeCase cases[] = {
        {{Path("one.wav"), Path("other/one.wav"), "-o", Path("out.wav")}, 2, "2 input files need --output-dir FOLDER"},
        {{Path("one.wav"), "-o", Path("out.wav"), "--output-dir", Path("out")}, 2, "give one of the two"},
        {{"--output-dir", Path("out")}, 2, "--output-dir needs the input files"},
        {{Path("one.wav"), Path("other/one.wav"), "--output-dir", Path("out")}, 2,
            Path("one.wav") + " and " + Path("other/one.wav") + " would both be written to " + Path("out/one.wav")},
        {{Path("one.wav"), "--output-dir", folder}, 2, "would replace its own input"},
        {{Path("one.wav"), "--output-dir", Path("out"), "-j", "0"}, 2, "-j 0: expected a whole number"},
        {{Path("one.wav"), "--output-dir", Path("out"), "--program", "Loud"}, 1, "unknown program \"Loud\""},
        {{Path("one.wav"), "--output-dir", Path("one.wav/out")}, 1, "cannot make the output folder"},
    };
    for (const MistakeCase& c : cases) {
        const RunResult result = Run(Joined({"--plugin", FIXTURE_GAIN}, c.arguments));
        EXPECT_EQ(result.exitCode, c.exitCode) << c.reason;
        EXPECT_EQ(CountLines(result.err, "ombrix-render: "), 1u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_EQ(FileNames(), before) << c.reason;
        EXPECT_EQ(FileNames("other"), std::set<std::string> {"one.wav"}) << c.reason;
    }
}
} // namespace
