// The chorus editor of OmbrixChorus.clap on Linux as a CLAP host meets it:
// the embedded x11 panel created through the gui extension, driven by the
// host's timers, inside a host window on an X server of the test's own, with
// real pointer input (XTest). Its edits reach the host as gesture begin,
// values and gesture end.

#include "ClapHost.h"
#include "PanelGeometry.h"
#include "PngPicture.h"

#include <gtest/gtest.h>

#include "X11TestScreen.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr clap_id DelayTime = 1;
// The Delay Time knob's centre.
constexpr int KnobX = ControlRects[DelayTime].CentreX();
constexpr int KnobY = ControlRects[DelayTime].CentreY();

class ClapEditorX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(screen.Start(error)) << error;
        display = screen.GetDisplay();
        hostWindow = screen.MakeHostWindow(20, 30, PanelWidth, PanelHeight);
        ASSERT_TRUE(library.Load(OMBRIX_CHORUS_CLAP_PATH, error)) << error;
        background = ReadPngPicture(std::string(ARTWORK_DIR) + "/Background.png").pixels;
        ASSERT_EQ(background.size(), static_cast<size_t>(PanelWidth * PanelHeight));
    }

    void TearDown() override { host.Close(); }

    void Open(bool timers = true)
    {
        host.OfferTimerSupport(timers);
        std::string error;
        ASSERT_TRUE(host.Open(library, "", error)) << error;
    }

    void OpenPanel()
    {
        ASSERT_TRUE(host.CreateGui(CLAP_WINDOW_API_X11, false));
        ASSERT_TRUE(host.SetGuiParent(CLAP_WINDOW_API_X11, hostWindow));
        ASSERT_TRUE(host.ShowGui());
    }

    // Runs the host's loop (timers, then its requests) until the condition
    // holds, for at most five seconds.
    bool LoopUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            host.FireTimers();
            host.ServiceRequests();
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    Pixels StatusPixels()
    {
        return screen.Pixels(hostWindow, StatusRect.left, StatusRect.top, StatusRect.width, StatusRect.height);
    }
    Pixels StatusBackground() const { return Cut(background, PanelWidth, StatusRect); }

    void MoveTo(int panelX, int panelY) { screen.MoveTo(hostWindow, panelX, panelY); }
    void Button(bool down) { screen.Button(1, down); }

    // Rests the pointer on the Delay Time knob until the status line shows
    // it, then drags it up.
    void DragTheKnobUp()
    {
        MoveTo(KnobX, KnobY);
        ASSERT_TRUE(LoopUntil([&] { return StatusPixels() != StatusBackground(); }))
            << "the status line shows the knob";
        host.ClearOutputEvents();
        Button(true);
        MoveTo(KnobX, KnobY - 5);
        MoveTo(KnobX, KnobY - 10);
        Button(false);
    }

    bool GestureEnded() const
    {
        const std::vector<ClapOutputEvent>& events = host.GetOutputEvents();
        return !events.empty() && events.back().type == CLAP_EVENT_PARAM_GESTURE_END;
    }

    // Begin, one or more live values, end: all for the Delay Time.
    void ExpectOneGesture() const
    {
        const std::vector<ClapOutputEvent>& events = host.GetOutputEvents();
        ASSERT_GE(events.size(), 3u);
        EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
        EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].paramId, DelayTime) << "event " << i;
            EXPECT_EQ(events[i].time, 0u) << "event " << i;
            if (i > 0 && i + 1 < events.size()) {
                EXPECT_EQ(events[i].type, CLAP_EVENT_PARAM_VALUE) << "event " << i;
                EXPECT_EQ(events[i].flags, static_cast<std::uint32_t>(CLAP_EVENT_IS_LIVE)) << "event " << i;
            }
        }
    }

    X11TestScreen screen;
    Display* display = nullptr;
    Window hostWindow = None;
    ClapLibrary library;
    ClapHost host;
    std::vector<std::uint32_t> background;
};

} // namespace

TEST_F(ClapEditorX11Test, AnEmbeddedX11PanelOfFixedSize)
{
    Open();
    EXPECT_TRUE(host.IsGuiApiSupported(CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_X11, true)) << "no floating window";
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_WIN32, false));
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_WAYLAND, false));
    std::string api;
    bool isFloating = true;
    ASSERT_TRUE(host.GetPreferredGuiApi(api, isFloating));
    EXPECT_EQ(api, "x11");
    EXPECT_FALSE(isFloating);

    ASSERT_TRUE(host.CreateGui(CLAP_WINDOW_API_X11, false));
    EXPECT_EQ(host.GetTimerCount(), 1u) << "a timer drives the panel";
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(host.GetGuiSize(width, height));
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 84u);
    EXPECT_FALSE(host.CanGuiResize());
    host.DestroyGui();
    EXPECT_EQ(host.GetTimerCount(), 0u);
}

// The panel's size follows the desktop's scale; a host that opens it again
// after the scale changed, in the window it sized before, is asked through its
// gui extension to follow.
TEST_F(ClapEditorX11Test, ThePanelFollowsTheDisplaysScale)
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> resizes;
    host.SetResizeListener([&](std::uint32_t width, std::uint32_t height) {
        resizes.emplace_back(width, height);
        XResizeWindow(display, hostWindow, width, height);
        return true;
    });
    Open();
    OpenPanel();
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(host.GetGuiSize(width, height));
    EXPECT_EQ(width, 400u);
    host.DestroyGui();
    EXPECT_TRUE(resizes.empty()) << "the panel has the size the host gave it";

    screen.SetDesktopResources("Xft.dpi:\t192\n");
    OpenPanel();
    EXPECT_EQ(resizes, (std::vector<std::pair<std::uint32_t, std::uint32_t>> {{800, 168}}));
    ASSERT_TRUE(host.GetGuiSize(width, height));
    EXPECT_EQ(width, 800u);
    EXPECT_EQ(height, 168u);
    host.DestroyGui();
}

TEST_F(ClapEditorX11Test, WithoutTheHostsTimersTheX11PanelIsNotOffered)
{
    Open(false);
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_X11, false));
    std::string api;
    bool isFloating = false;
    EXPECT_FALSE(host.GetPreferredGuiApi(api, isFloating));
    EXPECT_FALSE(host.CreateGui(CLAP_WINDOW_API_X11, false));
}

// The panel opens in the host's window, shows its background, and goes
// with its window when destroyed; hidden and shown again it comes back.
TEST_F(ClapEditorX11Test, ThePanelOpensShowsAndCloses)
{
    Open();
    OpenPanel();
    ASSERT_TRUE(LoopUntil([&] { return StatusPixels() == StatusBackground(); })) << "the panel is drawn";
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned childCount = 0;
    XQueryTree(display, hostWindow, &root, &parent, &children, &childCount);
    XFree(children);
    EXPECT_EQ(childCount, 1u) << "the panel is a child of the host's window";

    ASSERT_TRUE(host.HideGui());
    ASSERT_TRUE(host.ShowGui());
    ASSERT_TRUE(LoopUntil([&] { return StatusPixels() == StatusBackground(); }));

    host.DestroyGui();
    XSync(display, False);
    XQueryTree(display, hostWindow, &root, &parent, &children, &childCount);
    XFree(children);
    EXPECT_EQ(childCount, 0u);
    EXPECT_FALSE(host.ShowGui()) << "nothing to show once destroyed";
}

// While nothing processes, the edit reaches the host through the flush the
// plug-in asks for.
TEST_F(ClapEditorX11Test, ADragIsOneGestureThroughFlush)
{
    Open();
    host.AddParameterValue(0, DelayTime, 0.5);
    host.Flush();
    double before = 0.0;
    ASSERT_TRUE(host.GetParameterValue(DelayTime, before));
    OpenPanel();
    const int requests = host.GetFlushRequests();
    DragTheKnobUp();
    ASSERT_TRUE(LoopUntil([&] { return GestureEnded(); }));
    EXPECT_GT(host.GetFlushRequests(), requests);
    ExpectOneGesture();
    double after = 0.0;
    ASSERT_TRUE(host.GetParameterValue(DelayTime, after));
    EXPECT_GT(after, before);
    EXPECT_EQ(host.GetOutputEvents()[host.GetOutputEvents().size() - 2].value, after)
        << "the last value is the parameter's";
}

// While processing, the edit comes out of the next block.
TEST_F(ClapEditorX11Test, ADragIsOneGestureInTheNextBlock)
{
    Open();
    ASSERT_TRUE(host.Activate(44100.0, 1, 64));
    ASSERT_TRUE(host.StartProcessing());
    OpenPanel();
    DragTheKnobUp();
    std::vector<float> left(64), right(64);
    float* channels[2] = {left.data(), right.data()};
    ASSERT_TRUE(LoopUntil([&] {
        host.Process(channels, channels, 64);
        return GestureEnded();
    }));
    ExpectOneGesture();
    EXPECT_FALSE(host.ServiceRequests()) << "no flush while processing";
}
