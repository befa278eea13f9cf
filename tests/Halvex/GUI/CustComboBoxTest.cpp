#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/CustComboBox.h"

#include <string>

namespace {

constexpr int ComboParameter = 9;
const char* const Shapes[] = {"Sine", "Triangle", "Square"};

// Keys the timer types into the popup menu while TrackPopupMenu runs its
// own message loop; it also records where the menu window appeared. The
// timer keeps ticking until the menu shows, however many ticks that takes,
// and types the keys once. Should the menu still be open long after (keys
// lost, or a menu that never closes), the timer ends it, so that the test
// fails on its expectations instead of waiting forever.
struct MenuScript {
    HWND target = nullptr;
    std::vector<WPARAM> keys;
    int openedCount = 0;
    RECT menuRect = {0, 0, 0, 0};
    bool typed = false;
    int ticks = 0;
};
MenuScript menuScript;

constexpr UINT TickMilliseconds = 50;
constexpr int TicksBeforeGivingUp = 100;

void CALLBACK PlayMenuScript(HWND, UINT, UINT_PTR, DWORD)
{
    ++menuScript.ticks;
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuScript.typed && menuWindow != nullptr && IsWindowVisible(menuWindow)) {
        menuScript.typed = true;
        ++menuScript.openedCount;
        GetWindowRect(menuWindow, &menuScript.menuRect);
        for (WPARAM key : menuScript.keys) {
            PostMessageA(menuScript.target, WM_KEYDOWN, key, 0);
        }
    } else if (menuScript.ticks > TicksBeforeGivingUp) {
        EndMenu();
    }
}

class CustComboBoxTest : public ControlTest {
protected:
    // A plain left click; when the menu opens, the keys are typed into it.
    void ClickWithMenuKeys(CustComboBox& combo, std::vector<WPARAM> keys)
    {
        menuScript.target = combo.GetWindow();
        menuScript.keys = std::move(keys);
        menuScript.typed = false;
        menuScript.ticks = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, TickMilliseconds, PlayMenuScript);
        SendMessageA(combo.GetWindow(), WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 10));
        KillTimer(nullptr, timer);
    }

    void Wheel(CustComboBox& combo, short delta)
    {
        SendMessageA(combo.GetWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), Point(300, 300));
    }

    void SetUp() override
    {
        ControlTest::SetUp();
        menuScript = MenuScript();
    }
};

TEST_F(CustComboBoxTest, ValuesMapToTheNearestItem)
{
    CustComboBox combo(dialog, IDC_COMBO, ComboParameter, background, Shapes, 3);
    EXPECT_EQ(0.0f, combo.GetValue()) << "the first item is selected at the start";
    const float values[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const float itemValues[] = {0.0f, 0.5f, 0.5f, 1.0f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        combo.SetValue(values[i]);
        EXPECT_EQ(itemValues[i], combo.GetValue()) << "value " << values[i];
    }
}

TEST_F(CustComboBoxTest, ShiftClicksStepAndWrap)
{
    CustComboBox combo(dialog, IDC_COMBO, ComboParameter, background, Shapes, 3);
    combo.AddObserver(&observer);
    combo.SetValue(1.0f);
    SendMessageA(combo.GetWindow(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Point(50, 10));
    EXPECT_EQ(0.0f, combo.GetValue()) << "the last item wraps to the first";
    SendMessageA(combo.GetWindow(), WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, Point(50, 10));
    EXPECT_EQ(1.0f, combo.GetValue()) << "the first item wraps to the last";
    SendMessageA(combo.GetWindow(), WM_RBUTTONDOWN, MK_RBUTTON, Point(50, 10));
    EXPECT_EQ(1.0f, combo.GetValue()) << "a plain right click only gives the focus back";
    ASSERT_EQ(2u, observer.calls.size());
    EXPECT_EQ(RecordingObserver::Change, observer.calls[0].kind);
    EXPECT_EQ(ComboParameter, observer.calls[0].parameterId);
    EXPECT_EQ(0.0f, observer.calls[0].value);
    EXPECT_FALSE(observer.calls[0].showStatus);
    EXPECT_EQ(1.0f, observer.calls[1].value);
}

TEST_F(CustComboBoxTest, WheelAwayFromTheUserStepsBack)
{
    CustComboBox combo(dialog, IDC_COMBO, ComboParameter, background, Shapes, 3);
    combo.AddObserver(&observer);
    Wheel(combo, -WHEEL_DELTA);
    EXPECT_EQ(1.0f, combo.GetValue());
    Wheel(combo, -WHEEL_DELTA);
    EXPECT_EQ(0.5f, combo.GetValue());
    Wheel(combo, WHEEL_DELTA);
    EXPECT_EQ(1.0f, combo.GetValue());
    EXPECT_EQ(3u, observer.calls.size());
}

TEST_F(CustComboBoxTest, DismissedMenuDisarmsTheNextPlainClick)
{
    CustComboBox combo(dialog, IDC_COMBO, ComboParameter, background, Shapes, 3);
    combo.AddObserver(&observer);
    SetFocus(Item(IDC_EDIT));
    ClickWithMenuKeys(combo, {VK_ESCAPE});
    ASSERT_EQ(1, menuScript.openedCount);
    POINT corner = ScreenPoint(combo.GetWindow(), 0, 20);
    EXPECT_EQ(corner.x, menuScript.menuRect.left) << "the menu opens at the bottom-left corner";
    EXPECT_EQ(corner.y, menuScript.menuRect.top);
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(Item(IDC_EDIT), GetFocus());

    ClickWithMenuKeys(combo, {VK_ESCAPE});
    EXPECT_EQ(1, menuScript.openedCount) << "the click after a dismissal only re-arms";
    EXPECT_TRUE(observer.calls.empty());

    ClickWithMenuKeys(combo, {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(2, menuScript.openedCount);
    ASSERT_EQ(1u, observer.calls.size());
    EXPECT_EQ(0.5f, observer.calls[0].value) << "the second item was chosen";
    EXPECT_EQ(0.5f, combo.GetValue());
    EXPECT_EQ(Item(IDC_EDIT), GetFocus());
}

TEST_F(CustComboBoxTest, FewItemsReportZero)
{
    CustComboBox single(dialog, IDC_COMBO, ComboParameter, background, Shapes, 1);
    single.SetValue(1.0f);
    EXPECT_EQ(0.0f, single.GetValue());
    single.AddObserver(&observer);
    Wheel(single, WHEEL_DELTA);
    EXPECT_EQ(0.0f, single.GetValue());
    ASSERT_EQ(1u, observer.calls.size()) << "stepping to the same item still notifies";
}

TEST_F(CustComboBoxTest, PreconditionsAreReported)
{
    AssertionRecorder recorder;
    {
        CustComboBox noItems(dialog, IDC_COMBO, ComboParameter, background, nullptr, 3);
        EXPECT_EQ(0.0f, noItems.GetValue());
        Wheel(noItems, WHEEL_DELTA);
        EXPECT_EQ(0.0f, noItems.GetValue());
    }
    CustComboBox negative(dialog, IDC_COMBO, ComboParameter, background, Shapes, -2);
    CustComboBox combo(dialog, IDC_COMBO, ComboParameter, background, Shapes, 3);
    combo.SetValue(1.5f);
    EXPECT_EQ((std::vector<std::string> {"menuItems != 0", "menuItemCount >= 0", "value >= 0.0f && value <= 1.0f"}),
        recorder.expressions());
    EXPECT_EQ(1.0f, combo.GetValue());
}

} // namespace
