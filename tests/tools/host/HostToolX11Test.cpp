// Runs ombrix-host on Linux as a user would, on an X server of the test's
// own, and checks what it reports and the pictures it saves.

#include "PngPicture.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

RunResult RunHost(const std::string& arguments)
{
    RunResult result;
    const std::string command = "timeout 60 \"" + std::string(HOST_TOOL) + "\" " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, count);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Pixels of [left, right] x [top, bottom] (inclusive) where the pictures differ.
int CountDifferences(const PngPicture& a, const PngPicture& b, int left, int top, int right, int bottom)
{
    int differing = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const size_t at = static_cast<size_t>(y * a.width + x);
            differing += a.pixels[at] != b.pixels[at] ? 1 : 0;
        }
    }
    return differing;
}

class HostToolX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        background = ReadPngPicture(std::string(ARTWORK_DIR) + "/Background.png");
        ASSERT_EQ(background.width, 400);
    }

    static std::string ScratchFile(const char* name) { return std::string(TEST_SCRATCH_DIR) + "/" + name; }

    XvfbServer server;
    PngPicture background;
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(HostToolX11, ScreenshotShowsTheEditorPanelAtItsSize)
{
    const std::string shot = ScratchFile("editor-program-3.png");
    std::remove(shot.c_str());
    const RunResult run = RunHost("--program 3 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "saved the 400 x 84 editor of Ombrix Chorus (program 3, \"Vibrato Delight\")"))
        << run.output;
    const PngPicture picture = ReadPngPicture(shot);
    ASSERT_EQ(picture.width, 400);
    ASSERT_EQ(picture.height, 84);
    // The title strip holds no control: there the window shows the panel image exactly.
    EXPECT_EQ(CountDifferences(picture, background, 0, 0, 225, 25), 0);
    EXPECT_EQ(CountDifferences(picture, background, 293, 3, 393, 25), 0) << "no status text without a pointer";
}

TEST_F(HostToolX11, PointerRestingOnAKnobShowsItsStatusText)
{
    const std::string shot = ScratchFile("editor-pointed.png");
    const RunResult run = RunHost("--point 70,52 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const PngPicture picture = ReadPngPicture(shot);
    ASSERT_EQ(picture.width, 400);
    EXPECT_GT(CountDifferences(picture, background, 300, 4, 390, 24), 20);
    EXPECT_EQ(CountDifferences(picture, background, 0, 0, 225, 25), 0);
}

TEST_F(HostToolX11, WithoutADisplayItSaysSoAndFails)
{
    server.Stop();
    const RunResult run = RunHost("--screenshot \"" + ScratchFile("never.png") + "\" \"" + OMBRIX_CHORUS + "\"");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.output, "cannot connect to the X server")) << run.output;
}
