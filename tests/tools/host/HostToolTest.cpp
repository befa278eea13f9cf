// Runs ombrix-host.exe as a user would and checks what it reports and the pictures it saves.

#include "GUI/ImageResampling.h"
#include "PluginHost.h"
#include "WindowsProcess.h"
#include "WineDisplayDpi.h"

#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {
using RunResult = ProcessRun;

std::wstring WidePath(const std::string& path)
{
    const std::string windowsPath = NativePath(path);
    return std::wstring(windowsPath.begin(), windowsPath.end());
}

RunResult RunHost(const std::string& arguments)
{
    const ProcessRun run = RunProcess("\"" + NativePath(HOST_TOOL) + "\" " + arguments);
    EXPECT_TRUE(run.started) << "cannot start " << HOST_TOOL;
    EXPECT_TRUE(run.finished) << "ombrix-host did not finish";
    return run;
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

namespace {

// A picture's pixels as 0xAARRGGBB, premultiplied (opaque pictures are
// unchanged by that), row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const
    {
        x = x < 0 ? 0 : (x >= width ? width - 1 : x);
        y = y < 0 ? 0 : (y >= height ? height - 1 : y);
        return pixels[static_cast<size_t>(y * width + x)];
    }
};

Picture PixelsOf(Gdiplus::Bitmap& bitmap)
{
    Picture picture;
    picture.width = static_cast<int>(bitmap.GetWidth());
    picture.height = static_cast<int>(bitmap.GetHeight());
    picture.pixels.resize(static_cast<size_t>(picture.width * picture.height));
    Gdiplus::BitmapData data {};
    data.Width = static_cast<UINT>(picture.width);
    data.Height = static_cast<UINT>(picture.height);
    data.Stride = picture.width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = picture.pixels.data();
    const Gdiplus::Rect all(0, 0, picture.width, picture.height);
    bitmap.LockBits(
        &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB, &data);
    bitmap.UnlockBits(&data);
    return picture;
}

// The mean difference of the colour channels over a rectangle, where
// `shifted` is read dx, dy pixels away (its edges extended).
double MeanDifference(const Picture& picture, const Picture& shifted, RECT area, int dx, int dy)
{
    double sum = 0.0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t a = picture.At(x, y);
            const std::uint32_t b = shifted.At(x + dx, y + dy);
            for (int shift : {0, 8, 16}) {
                sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
            }
        }
    }
    return sum / (3.0 * (area.right - area.left) * (area.bottom - area.top));
}

int Scaled(int panelPixels, int dpi)
{
    return (panelPixels * dpi + 48) / 96;
}

} // namespace

// The picture scripts/demo puts in the README, taken the same way: at 96 dpi
// the panel is what it was before it could scale, to the pixel.
TEST_F(HostTool, AtNinetySixDpiThePictureIsTheOneInTheReadme)
{
    const std::string shot = ScratchFile("editor-readme.png");
    const RunResult run
        = RunHost("--program 2 --point 134,52 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const auto picture = LoadImage(shot);
    const auto readme = LoadImage(std::string(DOCS_DIR) + "/editor.png");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(readme, nullptr);
    ASSERT_EQ(picture->GetWidth(), readme->GetWidth());
    ASSERT_EQ(picture->GetHeight(), readme->GetHeight());
    EXPECT_EQ(CountDifferences(*picture, *readme, 0, 0, 399, 83), 0);
}

// Under Wine the display's resolution is the prefix's LogPixels. At each
// resolution the window is the panel's size scaled, and each control sits
// on its artwork: its rectangle, scaled, shows what the 96-dpi picture
// shows there, enlarged, and it does so much better than the same
// rectangle a few pixels away would.
TEST_F(HostTool, AtEveryResolutionThePanelIsScaledWithEveryControlOnItsArtwork)
{
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "only Wine takes a new display resolution without logging on again";
    }
    const auto shoot = [&](int dpi) {
        const std::string shot = ScratchFile(("editor-" + std::to_string(dpi) + "-dpi.png").c_str());
        std::remove(NativePath(shot).c_str());
        ScopedLogPixels resolution(static_cast<DWORD>(dpi));
        EXPECT_TRUE(resolution.IsSet());
        const RunResult run
            = RunHost("--program 2 --screenshot \"" + shot + "\" \"" + std::string(OMBRIX_CHORUS) + "\"");
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        const std::string size = std::to_string(Scaled(400, dpi)) + " x " + std::to_string(Scaled(84, dpi));
        EXPECT_TRUE(Contains(run.output, "saved the " + size + " editor")) << run.output;
        const auto bitmap = LoadImage(shot);
        return bitmap != nullptr ? PixelsOf(*bitmap) : Picture();
    };
    const Picture original = shoot(96);
    ASSERT_EQ(original.width, 400);
    struct Control {
        const char* name;
        RECT rect; // at 96 dpi: left, top, right, bottom (exclusive)
    };
    const Control controls[] = {{"Chorus On/Off", {3, 34, 21, 65}}, {"Delay Time", {53, 39, 79, 67}},
        {"Mod. Depth", {86, 39, 115, 67}}, {"Feedback", {122, 39, 151, 67}}, {"Frequency", {155, 39, 185, 67}},
        {"Quad Mode", {212, 39, 232, 68}}, {"Mod. Wheel", {276, 39, 296, 68}}, {"Mix", {326, 37, 382, 57}}};
    for (int dpi : {120, 144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        const Picture picture = shoot(dpi);
        ASSERT_EQ(picture.width, Scaled(400, dpi));
        ASSERT_EQ(picture.height, Scaled(84, dpi));
        Picture enlarged = picture;
        ResampleImage({const_cast<std::uint32_t*>(original.pixels.data()), 400, 84, 400},
            {enlarged.pixels.data(), enlarged.width, enlarged.height, enlarged.width});
        for (const Control& control : controls) {
            const RECT area = {Scaled(control.rect.left, dpi), Scaled(control.rect.top, dpi),
                Scaled(control.rect.right, dpi), Scaled(control.rect.bottom, dpi)};
            const double inPlace = MeanDifference(picture, enlarged, area, 0, 0);
            EXPECT_LT(inPlace, 12.0) << control.name;
            for (const POINT shift : {POINT {-3, 0}, POINT {3, 0}, POINT {0, -3}, POINT {0, 3}}) {
                EXPECT_GT(MeanDifference(picture, enlarged, area, shift.x, shift.y), 1.5 * inPlace)
                    << control.name << " shifted by " << shift.x << ", " << shift.y;
            }
        }
    }
}
