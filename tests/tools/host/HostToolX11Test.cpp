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

// environment: "NAME=value ..." for the tool alone, or empty.
RunResult RunHost(const std::string& arguments, const std::string& environment = "")
{
    RunResult result;
    const std::string command = environment + " timeout 60 \"" + std::string(HOST_TOOL) + "\" " + arguments + " 2>&1";
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

// GTK's scale, as a user's desktop at 200 % sets it, doubles the window
// and the panel in it, drawn from the artwork at 2x.
TEST_F(HostToolX11, OnADesktopAtTwiceTheScaleTheScreenshotIsTwiceTheSize)
{
    const std::string shot = ScratchFile("editor-scale-2.png");
    std::remove(shot.c_str());
    const RunResult run
        = RunHost("--program 3 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"", "GDK_SCALE=2");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "saved the 800 x 168 editor")) << run.output;
    const PngPicture picture = ReadPngPicture(shot);
    const PngPicture doubled = ReadPngPicture(std::string(ARTWORK_DIR) + "/Background@2x.png");
    ASSERT_EQ(picture.width, 800);
    ASSERT_EQ(picture.height, 168);
    ASSERT_EQ(doubled.width, 800);
    EXPECT_EQ(CountDifferences(picture, doubled, 0, 0, 451, 51), 0);
    EXPECT_EQ(CountDifferences(picture, doubled, 586, 6, 787, 51), 0) << "no status text without a pointer";
    EXPECT_GT(CountDifferences(picture, doubled, 106, 78, 157, 133), 100) << "the Delay Time knob";
}

TEST_F(HostToolX11, WithoutADisplayItSaysSoAndFails)
{
    server.Stop();
    const RunResult run = RunHost("--screenshot \"" + ScratchFile("never.png") + "\" \"" + OMBRIX_CHORUS + "\"");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.output, "cannot connect to the X server")) << run.output;
}
