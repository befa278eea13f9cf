// The user manual against the build: its tables against the plug-in binary,
// checked the way a maintainer checks them (ombrix-scan --check-manual), and
// every shell block in it run as written, from a scratch folder that holds
// the build as build/demo/linux and build/demo/lv2 and serves as the home
// folder.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string output; // standard output and error together
};

Outcome RunShell(const std::string& command)
{
    Outcome outcome;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        outcome.output.append(buffer, count);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string Quoted(const fs::path& path)
{
    std::string quoted = "'";
    for (char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The blocks fenced as ```sh, in order.
std::vector<std::string> ShellBlocks(const std::string& markdown)
{
    std::vector<std::string> blocks;
    std::istringstream lines(markdown);
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!inside && line == "```sh") {
            inside = true;
            blocks.emplace_back();
        } else if (inside && line == "```") {
            inside = false;
        } else if (inside) {
            blocks.back() += line + "\n";
        }
    }
    return blocks;
}

// A folder of its own for each test, under the build tree.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(TEST_SCRATCH_DIR) / (std::string(test->test_suite_name()) + "." + test->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }

    // Runs a block of the manual the way a reader pastes it into a shell in the project folder:
    // the first failing command fails the block.
    Outcome RunBlock(const std::string& block, int number) const
    {
        const fs::path script = folder / ("block-" + std::to_string(number) + ".sh");
        WriteFile(script, block);
        return RunShell("cd " + Quoted(folder) + " && HOME=" + Quoted(folder / "home")
            + " timeout 300 bash -e -o pipefail " + Quoted(script));
    }

    Outcome CheckManual(const fs::path& manual) const
    {
        return RunShell(Quoted(SCAN_TOOL) + " --check-manual " + Quoted(manual) + " " + Quoted(OMBRIX_CHORUS));
    }

    fs::path folder;
};

using ManualTables = ScratchTest;
using ManualCommands = ScratchTest;

TEST_F(ManualTables, MatchThePlugIn)
{
    const Outcome outcome = CheckManual(MANUAL);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(outcome.output, "");
}

// Each hand edit of a fact fails the check at the edited line, and writing the
// tables anew undoes it; an edit of the author's Character column is no drift.
TEST_F(ManualTables, AHandEditedFactFailsTheCheckAtItsLine)
{
    const std::string manual = ReadFile(MANUAL);
    const struct {
        std::string original;
        std::string edited;
    } edits[] = {
        {"| 1 | Delay Time | D Time |", "| 1 | Delay Tyme | D Time |"},
        {"| 2 | `Deep Flange` |", "| 2 | `Deep Flanger` |"},
        {"| 1 | `Lite Chorus` | On | 0.008 |", "| 1 | `Lite Chorus` | On | 0.009 |"},
        {"| Dry/Wet | 50 | 93 |", "| Dry/Wet | 50 | 94 |"},
        {"| 16 | Delay Time |", "| 61 | Delay Time |"},
    };
    const fs::path copy = folder / "manual.md";
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.edited);
        const auto at = manual.find(edit.original);
        ASSERT_NE(at, std::string::npos) << "the manual no longer has " << edit.original;
        std::string edited = manual;
        edited.replace(at, edit.original.size(), edit.edited);
        WriteFile(copy, edited);

        const Outcome check = CheckManual(copy);
        EXPECT_EQ(check.exitCode, 1) << check.output;
        const int line = 1 + static_cast<int>(std::count(manual.begin(), manual.begin() + static_cast<long>(at), '\n'));
        EXPECT_NE(check.output.find(copy.string() + ":" + std::to_string(line) + ": the manual has"), std::string::npos)
            << check.output;

        const Outcome update
            = RunShell(Quoted(SCAN_TOOL) + " --update-manual " + Quoted(copy) + " " + Quoted(OMBRIX_CHORUS));
        EXPECT_EQ(update.exitCode, 0) << update.output;
        EXPECT_EQ(ReadFile(copy), manual);
    }

    const std::string character = "A light, clean chorus";
    const auto at = manual.find(character);
    ASSERT_NE(at, std::string::npos);
    std::string edited = manual;
    edited.replace(at, character.size(), "A faint chorus");
    WriteFile(copy, edited);
    const Outcome check = CheckManual(copy);
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST_F(ManualTables, AProgramMissingFromTheTablesFailsTheCheck)
{
    std::string manual = ReadFile(MANUAL);
    const std::string mark = "<!-- ombrix-scan table: programs 19 20 2 17";
    const auto at = manual.find(mark);
    ASSERT_NE(at, std::string::npos);
    manual.replace(at, mark.size(), "<!-- ombrix-scan table: programs 19 20 17");
    WriteFile(folder / "manual.md", manual);
    const Outcome check = CheckManual(folder / "manual.md");
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.output.find("program 2 (Deep Flange) is in no programs table"), std::string::npos) << check.output;
}

TEST_F(ManualCommands, RunAsWritten)
{
    const fs::path demo = folder / "build" / "demo" / "linux";
    fs::create_directories(demo);
    fs::create_directories(folder / "home");
    for (const char* built : {OMBRIX_CHORUS, OMBRIX_CHORUS_CLAP, RENDER_TOOL, SCAN_TOOL})
        fs::copy_file(built, demo / fs::path(built).filename());
    const fs::path lv2 = folder / "build" / "demo" / "lv2" / "OmbrixChorus.lv2";
    fs::create_directories(lv2);
    fs::copy(OMBRIX_CHORUS_LV2, lv2, fs::copy_options::recursive);

    const std::vector<std::string> blocks = ShellBlocks(ReadFile(MANUAL));
    ASSERT_GE(blocks.size(), 5u) << "the manual's commands are fenced as ```sh";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Outcome outcome = RunBlock(blocks[i], static_cast<int>(i));
        EXPECT_EQ(outcome.exitCode, 0) << blocks[i] << outcome.output;
        EXPECT_EQ(outcome.output.find("assertion failed"), std::string::npos) << blocks[i] << outcome.output;
    }
}

// The runner itself: a command that fails in the middle of a block fails the
// block, and nothing after it runs.
TEST_F(ManualCommands, AFailingCommandFailsItsBlock)
{
    const std::vector<std::string> blocks
        = ShellBlocks("Text\n\n```sh\ntouch first\nfalse\ntouch second\n```\n\n```\nnot a command\n```\n");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_NE(RunBlock(blocks[0], 0).exitCode, 0);
    EXPECT_TRUE(fs::exists(folder / "first"));
    EXPECT_FALSE(fs::exists(folder / "second"));
}

} // namespace
