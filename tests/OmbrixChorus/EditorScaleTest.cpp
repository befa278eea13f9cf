// The chorus editor on a display of the resolution the system reports, as
// a host meets it: the shipped DLL, the editor opened through the
// dispatcher. The panel is its 96-dpi size scaled, and every control's
// window is its 96-dpi rectangle scaled, whatever the dialog template's
// font makes of its dialog units. Under Wine the same test runs again in
// programs started at 120, 144 and 192 dpi.

#include "EditorTestWindows.h"
#include "GUI/ControlMath.h"
#include "GUI/ParameterControl.h"
#include "GUI/WindowScale.h"
#include "PluginHost.h"
#include "WindowsProcess.h"
#include "WineDisplayDpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Item {
    int itemId;
    PixelRect rect; // at 96 dpi
};

// The status line and the controls of parameters 0 to 7.
constexpr Item StatusItem = {1000, {293, 3, 101, 23}};
constexpr Item ControlItems[8]
    = {{1001, {3, 34, 18, 31}}, {1002, {53, 39, 26, 28}}, {1003, {86, 39, 29, 28}}, {1004, {122, 39, 29, 28}},
        {1008, {326, 37, 56, 20}}, {1005, {155, 39, 30, 28}}, {1006, {212, 39, 20, 29}}, {1007, {276, 39, 20, 29}}};

// An item's window in its dialog's client pixels.
RECT ItemRect(HWND dialog, int itemId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, itemId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectAt(HWND dialog, const Item& item, DisplayScale scale)
{
    const RECT shown = ItemRect(dialog, item.itemId);
    const PixelRect expected = scale.Rect(item.rect);
    EXPECT_EQ(shown.left, expected.left) << "item " << item.itemId;
    EXPECT_EQ(shown.top, expected.top) << "item " << item.itemId;
    EXPECT_EQ(shown.right - shown.left, expected.width) << "item " << item.itemId;
    EXPECT_EQ(shown.bottom - shown.top, expected.height) << "item " << item.itemId;
}

} // namespace

TEST(ChorusEditorAtTheSystemResolution, ThePanelAndEveryControlAreTheirNinetySixDpiSelvesScaled)
{
    const DisplayScale scale = WindowDisplayScale(nullptr);
    if (const char* expected = std::getenv("OMBRIX_EXPECTED_DPI")) {
        ASSERT_EQ(scale.GetDpi(), std::atoi(expected)) << "the display resolution this run was started at";
    }
    PluginHost plugin;
    std::string error;
    ASSERT_TRUE(plugin.Load(OMBRIX_CHORUS_PATH, error)) << error;
    ERect* size = nullptr;
    ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &size), 1);
    EXPECT_EQ(size->right, scale.Pixels(400));
    EXPECT_EQ(size->bottom, scale.Pixels(84));

    HostWindow host;
    ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host.Get()), 1);
    plugin.Dispatch(effEditIdle);
    HWND dialog = host.Dialog();
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, scale.Pixels(400));
    EXPECT_EQ(client.bottom, scale.Pixels(84));
    ExpectAt(dialog, StatusItem, scale);
    for (const Item& item : ControlItems) {
        ExpectAt(dialog, item, scale);
    }

    // The title strip, scaled, opens the about box; a pixel beyond it does not.
    const AboutRect about = scale.About({0, 0, 25, 225});
    AboutBoxProbe probe;
    EXPECT_TRUE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, about.right, about.bottom));
    EXPECT_FALSE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, about.right + 1, about.bottom));

    // Eight pixels at 96 dpi, as long on the screen at any scale: 8 frames.
    plugin.SetParameter(3, 0.5f);
    HWND knob = GetDlgItem(dialog, 1004);
    const int x = scale.Pixels(10);
    const int y = scale.Pixels(20);
    SendMessageA(knob, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(x, y));
    SendMessageA(knob, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(x, y - scale.Pixels(8)));
    SendMessageA(knob, WM_LBUTTONUP, 0, ClientPoint(x, y - scale.Pixels(8)));
    EXPECT_FLOAT_EQ(plugin.GetParameter(3), KnobValueFromPosition(KnobPositionFromValue(0.5f, 91) + 8.0f, 91));
    plugin.Dispatch(effEditClose);
}

// Wine takes the display resolution of a program from the prefix when the
// program starts: this test program runs the test above again at each.
TEST(ChorusEditorUnderWine, ThePanelIsItsNinetySixDpiSelfScaledAtEveryResolution)
{
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "only Wine takes a new display resolution without logging on again";
    }
    char program[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
    for (int dpi : {120, 144, 192}) {
        ScopedLogPixels resolution(static_cast<DWORD>(dpi));
        ASSERT_TRUE(resolution.IsSet());
        SetEnvironmentVariableA("OMBRIX_EXPECTED_DPI", std::to_string(dpi).c_str());
        const ProcessRun run
            = RunProcess(std::string("\"") + program + "\" --gtest_filter=ChorusEditorAtTheSystemResolution.*");
        SetEnvironmentVariableA("OMBRIX_EXPECTED_DPI", nullptr);
        ASSERT_TRUE(run.finished) << dpi << " dpi";
        EXPECT_EQ(run.exitCode, 0u) << dpi << " dpi:\n" << run.output;
        EXPECT_NE(run.output.find("[  PASSED  ] 1 test."), std::string::npos) << dpi << " dpi:\n" << run.output;
    }
}
