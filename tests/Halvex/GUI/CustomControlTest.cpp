#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/CustComboBox.h"
#include "GUI/HSlider.h"
#include "GUI/Knob.h"
#include "GUI/StatusControl.h"
#include "GUI/Switch.h"
#include "GUI/VSlider.h"

namespace {

using CustomControlTest = ControlTest;

// Live GDI objects of this process. Wine answers GetGuiResources with 0, so
// there the handle table is walked instead: its entries are found by their
// 16-bit index.
int CountGdiObjects()
{
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0) {
        return static_cast<int>(count);
    }
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) {
            ++live;
        }
    }
    return live;
}

void Repaint(HWND window, int times)
{
    for (int i = 0; i < times; ++i) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }
}

TEST_F(CustomControlTest, PaintingLeaksNoGdiObjects)
{
    const char* const items[] = {"One", "Two"};
    Gdiplus::Bitmap* thumb = SolidBitmap(15, 22, RGB(200, 0, 0));
    Knob knob(dialog, IDC_KNOB, 1, background, FilmStrip(24, 27, 91), 91);
    HSlider hSlider(dialog, IDC_HSLIDER, 2, background, thumb);
    VSlider vSlider(dialog, IDC_VSLIDER, 3, background, thumb);
    Switch control(dialog, IDC_SWITCH, 4, background, thumb, thumb);
    CustComboBox combo(dialog, IDC_COMBO, 5, background, items, 2);
    StatusControl status(dialog, IDC_STATUS, background, 12);
    status.SetText("Mod. Depth\n50.00 %");
    const HWND windows[] = {knob.GetWindow(), hSlider.GetWindow(), vSlider.GetWindow(), control.GetWindow(),
        combo.GetWindow(), status.GetWindow()};
    for (HWND window : windows) {
        Repaint(window, 5);
    }

    int before = CountGdiObjects();
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(before + 1, CountGdiObjects()) << "the count must see a single new object";
    DeleteObject(probe);
    for (HWND window : windows) {
        Repaint(window, 2000);
    }
    EXPECT_EQ(before, CountGdiObjects());
}

TEST_F(CustomControlTest, PaintsThePartOfTheBackgroundItCovers)
{
    StatusControl status(dialog, IDC_STATUS, background, 12);
    EXPECT_EQ(BackgroundColour(10, 110), PixelAt(status.GetWindow(), 0, 0));
    EXPECT_EQ(BackgroundColour(10 + 149, 110 + 39), PixelAt(status.GetWindow(), 149, 39));
    // A resized control paints its new extent.
    PlaceItem(IDC_STATUS, 10, 110, 170, 40);
    EXPECT_EQ(BackgroundColour(10 + 169, 110 + 20), PixelAt(status.GetWindow(), 169, 20));
}

TEST_F(CustomControlTest, FocusReturnsToTheWindowThatHadItBeforeThePress)
{
    HWND edit = Item(IDC_EDIT);
    Knob knob(dialog, IDC_KNOB, 1, background, FilmStrip(24, 27, 91), 91);
    SetFocus(edit);
    PressAt(knob.GetWindow(), 0, 12, 12);
    EXPECT_EQ(knob.GetWindow(), GetFocus());
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, 12));
    EXPECT_EQ(edit, GetFocus());

    // A press on a control that has the focus already keeps the window
    // recorded when it received it.
    SetFocus(knob.GetWindow());
    PressAt(knob.GetWindow(), 0, 12, 12);
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, 12));
    EXPECT_EQ(edit, GetFocus());
}

TEST_F(CustomControlTest, MessagesBeforeBindingGoToTheDefaultProcedure)
{
    HWND unbound = Item(IDC_UNBOUND);
    char text[32] = {};
    GetWindowTextA(unbound, text, sizeof text);
    EXPECT_STREQ("Unbound", text) << "the creation messages reached DefWindowProcA";
    SetFocus(Item(IDC_EDIT));
    SendMessageA(unbound, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(Item(IDC_EDIT), GetFocus()) << "an unbound control does not take the focus";
    EXPECT_EQ(HTCLIENT, SendMessageA(unbound, WM_NCHITTEST, 0, MAKELPARAM(205 + 100, 15 + 100)));
}

TEST_F(CustomControlTest, ObserverAddedTwiceIsCalledTwiceAndRemovedTwice)
{
    RecordingObserver other;
    Switch control(dialog, IDC_SWITCH, 7, background, nullptr, nullptr);
    control.AddObserver(&observer);
    control.AddObserver(&other);
    control.AddObserver(&observer);
    control.AddObserver(nullptr);
    SendMessageA(control.GetWindow(), WM_MOUSEHOVER, 0, Point(1, 1));
    EXPECT_EQ(2u, observer.calls.size());
    EXPECT_EQ(1u, other.calls.size());
    control.RemoveObserver(&observer);
    SendMessageA(control.GetWindow(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(2u, observer.calls.size());
    EXPECT_EQ(2u, other.calls.size());
}

TEST_F(CustomControlTest, ControlThatDiesFirstIsForgottenByItsWindow)
{
    {
        Switch control(dialog, IDC_SWITCH, 7, background, nullptr, nullptr);
        EXPECT_NE(0, GetWindowLongPtrA(Item(IDC_SWITCH), GWLP_USERDATA));
    }
    EXPECT_EQ(0, GetWindowLongPtrA(Item(IDC_SWITCH), GWLP_USERDATA));
    InvalidateRect(Item(IDC_SWITCH), nullptr, FALSE);
    UpdateWindow(Item(IDC_SWITCH));
    SendMessageA(Item(IDC_SWITCH), WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
}

TEST_F(CustomControlTest, BindingPreconditionsAreReported)
{
    AssertionRecorder recorder;
    StatusControl noDialog(nullptr, IDC_STATUS, background, 12);
    EXPECT_EQ((std::vector<std::string> {"hDlg != 0", "hWnd != 0"}), recorder.expressions());
    recorder.clear();
    StatusControl noItem(dialog, 999, background, 12);
    EXPECT_EQ(std::vector<std::string> {"hWnd != 0"}, recorder.expressions());
    recorder.clear();
    RegisterControlClass(nullptr);
    EXPECT_EQ(std::vector<std::string> {"className != 0"}, recorder.expressions());
}

TEST_F(CustomControlTest, ClassesAreRegisteredOnceWithTheSharedProcedure)
{
    RegisterControlClasses();
    for (const char* name : {"HSlider", "VSlider", "Switch", "Knob", "CustComboBox", "StatusControl"}) {
        WNDCLASSA windowClass;
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) << name;
        EXPECT_EQ(&CustomControlProc, windowClass.lpfnWndProc) << name;
        EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), windowClass.style) << name;
    }
}

} // namespace
