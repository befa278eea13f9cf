// The chorus editor of OmbrixChorus.clap on Windows as a CLAP host meets it:
// the embedded win32 panel created through the gui extension inside a host
// window, driven with mouse messages to its controls. Its edits reach the
// host as gesture begin, values and gesture end.

#include "ClapHost.h"
#include "EditorTestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int DelayTimeKnob = 1002;
constexpr clap_id DelayTime = 1;

class ClapEditorWin32Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(host.Load(OMBRIX_CHORUS_CLAP_PATH, error)) << error;
    }

    void TearDown() override { host.Close(); }

    HWND Item(int itemId) const { return GetDlgItem(window.Dialog(), itemId); }

    // A press in the middle of the item, moves up in three steps, the release.
    void DragUp(int itemId)
    {
        RECT client;
        GetClientRect(Item(itemId), &client);
        const int x = client.right / 2;
        const int y = client.bottom / 2;
        POINT screen = {x, y};
        ClientToScreen(Item(itemId), &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageA(Item(itemId), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(x, y));
        for (int step = 1; step <= 3; ++step) {
            SendMessageA(Item(itemId), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(x, y - 3 * step));
        }
        SendMessageA(Item(itemId), WM_LBUTTONUP, 0, ClientPoint(x, y - 9));
    }

    HostWindow window;
    ClapHost host;
};

} // namespace

TEST_F(ClapEditorWin32Test, AnEmbeddedWin32PanelOfFixedSize)
{
    EXPECT_TRUE(host.IsGuiApiSupported(CLAP_WINDOW_API_WIN32, false));
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_WIN32, true)) << "no floating window";
    EXPECT_FALSE(host.IsGuiApiSupported(CLAP_WINDOW_API_X11, false));
    std::string api;
    bool isFloating = true;
    ASSERT_TRUE(host.GetPreferredGuiApi(api, isFloating));
    EXPECT_EQ(api, "win32");
    EXPECT_FALSE(isFloating);
    ASSERT_TRUE(host.CreateGui(CLAP_WINDOW_API_WIN32, false));
    std::uint32_t width = 0, height = 0;
    ASSERT_TRUE(host.GetGuiSize(width, height));
    EXPECT_EQ(width, 400u);
    EXPECT_EQ(height, 84u);
    EXPECT_FALSE(host.CanGuiResize());
}

// The panel is a child of the host's window until the GUI is destroyed;
// hidden and shown again, it comes back.
TEST_F(ClapEditorWin32Test, ThePanelOpensShowsAndCloses)
{
    ASSERT_TRUE(host.CreateGui(CLAP_WINDOW_API_WIN32, false));
    ASSERT_TRUE(host.SetGuiParent(CLAP_WINDOW_API_WIN32, reinterpret_cast<std::uintptr_t>(window.Get())));
    ASSERT_TRUE(host.ShowGui());
    PumpMessages();
    EXPECT_EQ(window.ChildCount(), 1);
    ASSERT_NE(Item(DelayTimeKnob), nullptr) << "the panel's controls";
    ASSERT_TRUE(host.HideGui());
    EXPECT_EQ(window.ChildCount(), 0);
    ASSERT_TRUE(host.ShowGui());
    EXPECT_EQ(window.ChildCount(), 1);
    host.DestroyGui();
    PumpMessages();
    EXPECT_EQ(window.ChildCount(), 0);
}

TEST_F(ClapEditorWin32Test, ADragIsOneGestureThroughFlush)
{
    host.AddParameterValue(0, DelayTime, 0.5);
    host.Flush();
    ASSERT_TRUE(host.CreateGui(CLAP_WINDOW_API_WIN32, false));
    ASSERT_TRUE(host.SetGuiParent(CLAP_WINDOW_API_WIN32, reinterpret_cast<std::uintptr_t>(window.Get())));
    PumpMessages();
    DragUp(DelayTimeKnob);
    PumpMessages();
    ASSERT_TRUE(host.ServiceRequests()) << "the plug-in asked for a flush";
    const std::vector<ClapOutputEvent>& events = host.GetOutputEvents();
    ASSERT_EQ(events.size(), 5u) << "begin, three values, end";
    EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].paramId, DelayTime) << "event " << i;
        if (i > 0 && i + 1 < events.size()) {
            EXPECT_EQ(events[i].type, CLAP_EVENT_PARAM_VALUE) << "event " << i;
        }
    }
    double value = 0.0;
    ASSERT_TRUE(host.GetParameterValue(DelayTime, value));
    EXPECT_GT(value, 0.5);
    EXPECT_EQ(events[3].value, value);
}
