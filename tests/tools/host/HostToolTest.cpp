// Runs ombrix-host.exe as a user would and checks what it reports and the pictures it saves.

#include "PluginHost.h"

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {
struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output; // standard output and standard error together
};

std::wstring WidePath(const std::string& path)
{
    const std::string windowsPath = NativePath(path);
    return std::wstring(windowsPath.begin(), windowsPath.end());
}

RunResult RunHost(const std::string& arguments)
{
    RunResult result;
    SECURITY_ATTRIBUTES inheritable {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        ADD_FAILURE() << "cannot create a pipe";
        return result;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process {};
    std::string commandLine = "\"" + NativePath(HOST_TOOL) + "\" " + arguments;
    const BOOL started
        = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        ADD_FAILURE() << "cannot start " << commandLine;
        return result;
    }
    // Read until the tool has exited and its output is drained. Waiting for
    // the end of the pipe instead would hang whenever a process the tool
    // started (under Wine, the desktop process) inherited the pipe.
    const DWORD deadline = GetTickCount() + 60000;
    bool exited = false;
    while (!exited) {
        exited = WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0;
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD count = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &count, nullptr) || count == 0)
                break;
            result.output.append(buffer, count);
        }
        if (!exited && GetTickCount() > deadline)
            break;
    }
    CloseHandle(readEnd);
    EXPECT_TRUE(exited) << "ombrix-host did not finish";
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

class HostTool : public testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(token); }

    static std::string ScratchFile(const char* name) { return std::string(TEST_SCRATCH_DIR) + "/" + name; }

    static std::unique_ptr<Gdiplus::Bitmap> LoadImage(const std::string& path)
    {
        std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromFile(WidePath(path).c_str()));
        if (image != nullptr && image->GetLastStatus() != Gdiplus::Ok)
            image.reset();
        return image;
    }

    static std::unique_ptr<Gdiplus::Bitmap> LoadBackground()
    {
        return LoadImage(std::string(ARTWORK_DIR) + "/Background.png");
    }

    /// Counts the pixels of [left, right] x [top, bottom] (inclusive) where `picture` differs
    /// from `background`.
    static int CountDifferences(
        Gdiplus::Bitmap& picture, Gdiplus::Bitmap& background, INT left, INT top, INT right, INT bottom)
    {
        int differing = 0;
        for (INT y = top; y <= bottom; ++y) {
            for (INT x = left; x <= right; ++x) {
                Gdiplus::Color shown, drawn;
                picture.GetPixel(x, y, &shown);
                background.GetPixel(x, y, &drawn);
                if ((shown.GetValue() & 0xFFFFFF) != (drawn.GetValue() & 0xFFFFFF))
                    ++differing;
            }
        }
        return differing;
    }

    ULONG_PTR token = 0;
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST_F(HostTool, RefusesAPluginWithoutAnEditor)
{
    const RunResult run = RunHost("\"" + std::string(NO_EDITOR_PLUGIN) + "\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(Contains(run.output, "has no editor: its effect record does not set effFlagsHasEditor")) << run.output;
}

TEST_F(HostTool, ReportsAPluginThatCannotBeLoadedAndAMalformedCommandLine)
{
    const RunResult missing = RunHost("\"" + ScratchFile("NoSuchPlugin.dll") + "\"");
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_TRUE(Contains(missing.output, "cannot load plug-in")) << missing.output;

    const RunResult malformed = RunHost("--program");
    EXPECT_EQ(malformed.exitCode, 2u);
    EXPECT_TRUE(Contains(malformed.output, "usage: ombrix-host")) << malformed.output;
}

TEST_F(HostTool, RefusesAProgramThePluginDoesNotHave)
{
    const RunResult run = RunHost("--program 32 \"" + std::string(OMBRIX_CHORUS) + "\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(Contains(run.output, "program 32 does not exist: the plug-in has 32 programs")) << run.output;
}

TEST_F(HostTool, ScreenshotShowsTheEditorPanelAtItsSize)
{
    const std::string shot = ScratchFile("editor-program-3.png");
    std::remove(NativePath(shot).c_str());
    const RunResult run = RunHost("--program 3 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(Contains(run.output, "saved the 400 x 84 editor of Ombrix Chorus (program 3, \"Vibrato Delight\")"))
        << run.output;
    EXPECT_FALSE(Contains(run.output, "assertion")) << run.output;

    const auto picture = LoadImage(shot);
    const auto background = LoadBackground();
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(background, nullptr);
    ASSERT_EQ(picture->GetWidth(), 400u);
    ASSERT_EQ(picture->GetHeight(), 84u);
    // The title strip holds no control: there the window shows the panel image exactly.
    EXPECT_EQ(CountDifferences(*picture, *background, 0, 0, 225, 25), 0);
}

TEST_F(HostTool, PointerRestingOnAKnobShowsItsStatusText)
{
    // (70, 52) lies on the "Delay Time" knob whatever the width of the dialog font.
    const std::string shot = ScratchFile("editor-pointed.png");
    const RunResult run = RunHost("--point 70,52 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const auto picture = LoadImage(shot);
    const auto background = LoadBackground();
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(background, nullptr);
    // The status line (right of the title strip) has text written over the panel.
    EXPECT_GT(CountDifferences(*picture, *background, 300, 4, 390, 24), 20);
    EXPECT_EQ(CountDifferences(*picture, *background, 0, 0, 225, 25), 0);
}

TEST_F(HostTool, RunsSilentAudioInRealTimeWhileTheEditorIsOpen)
{
    const RunResult run = RunHost(
        "--audio --screenshot \"" + ScratchFile("editor-audio.png") + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    long long blocks = 0;
    int frames = 0;
    const std::string::size_type at = run.output.find("processed ");
    ASSERT_NE(at, std::string::npos) << run.output;
    ASSERT_EQ(std::sscanf(run.output.c_str() + at, "processed %lld blocks of %d frames", &blocks, &frames), 2);
    // The editor stays open for several 30 ms idle periods: at 512 frames a block that is a few
    // blocks, and at real-time pace nowhere near thousands.
    EXPECT_GE(blocks, 2);
    EXPECT_LT(blocks, 2000);
    EXPECT_EQ(frames, 512);
}
