#include "AssertionRecorder.h"
#include "EditorTestFixture.h"
#include "GUI/Module.h"

#include <string>

namespace {

COLORREF PixelOf(HWND window, int x, int y)
{
    UpdateWindow(window);
    HDC hdc = GetDC(window);
    COLORREF colour = GetPixel(hdc, x, y);
    ReleaseDC(window, hdc);
    return colour;
}

} // namespace

using MainDialogTest = EditorTest;

TEST_F(MainDialogTest, PaintsTheBackgroundImageOnTheDialogSurface)
{
    ASSERT_TRUE(Open());
    HWND dialog = host->Dialog();
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(dialog, 2, 2), EditorTestEditor::BackgroundColour);
    EXPECT_EQ(PixelOf(dialog, 60, 40), EditorTestEditor::BackgroundColour);
}

TEST_F(MainDialogTest, SetParameterValueReachesOnlyTheBoundControl)
{
    AssertionRecorder recorder;
    ASSERT_TRUE(Open());
    EditorTestDialog& dialog = *editor->Dialog();
    dialog.SetParameterValue(0, 0.5f);
    EXPECT_EQ(KnobControl().GetValue(), 0.5f);
    dialog.SetParameterValue(2, 0.0f);
    dialog.SetParameterValue(-4, 0.0f);
    EXPECT_EQ(KnobControl().GetValue(), 0.5f);
    EXPECT_EQ(SwitchControl().GetValue(), 1.0f);
    EXPECT_TRUE(recorder.empty());

    // A second control for an id replaces the first.
    dialog.AddControl(0, &SwitchControl());
    dialog.SetParameterValue(0, 0.0f);
    EXPECT_EQ(SwitchControl().GetValue(), 0.0f);
    EXPECT_EQ(KnobControl().GetValue(), 0.5f);
}

TEST_F(MainDialogTest, SetParameterValueReportsValuesOutsideTheUnitRange)
{
    AssertionRecorder recorder;
    ASSERT_TRUE(Open());
    editor->Dialog()->SetParameterValue(0, 1.5f);
    ASSERT_FALSE(recorder.empty());
    EXPECT_EQ(recorder.expressions().front(), "value >= 0.0f && value <= 1.0f");
    EXPECT_GE(KnobControl().GetValue(), 0.0f);
    EXPECT_LE(KnobControl().GetValue(), 1.0f);
}

// The about area is (6, 4)-(40, 20), all four bounds inclusive. The box
// takes the commands it is sent and ends only on OK or closing.
TEST_F(MainDialogTest, ALeftClickInsideTheAboutAreaOpensTheModalAboutBox)
{
    ASSERT_TRUE(Open());
    HWND dialog = host->Dialog();
    AboutBoxProbe commands({{WM_COMMAND, 1234}, {WM_COMMAND, IDCANCEL}, {WM_COMMAND, IDOK}});
    EXPECT_TRUE(commands.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 40, 20));
    EXPECT_EQ(commands.TicksOpen(), 3);
    ASSERT_FALSE(commands.Captions().empty());
    EXPECT_EQ(commands.Captions()[0], "About the test panel");

    AboutBoxProbe closing({{WM_CLOSE, 0}});
    EXPECT_TRUE(closing.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 6, 4));
    EXPECT_EQ(closing.TicksOpen(), 1);
    EXPECT_TRUE(IsWindow(dialog)) << "the editor survives the box";
}

TEST_F(MainDialogTest, ClicksOutsideTheAboutAreaOrWithTheRightButtonOpenNothing)
{
    ASSERT_TRUE(Open());
    HWND dialog = host->Dialog();
    AboutBoxProbe probe;
    EXPECT_FALSE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 41, 10));
    EXPECT_FALSE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 20, 21));
    EXPECT_FALSE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 5, 10));
    EXPECT_FALSE(probe.Click(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 20, 3));
    EXPECT_FALSE(probe.Click(dialog, WM_RBUTTONDOWN, MK_RBUTTON, 20, 10));
    EXPECT_FALSE(probe.Click(dialog, WM_RBUTTONUP, 0, 20, 10));
}

TEST_F(MainDialogTest, ADialogWithoutItsObjectIsLeftToTheSystem)
{
    HWND dialog = CreateDialogParamA(GetModuleInstance(), "MainDialog", host->Get(), MainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(MainDialogProc(dialog, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10)), FALSE);
    EXPECT_EQ(MainDialogProc(dialog, WM_INITDIALOG, 0, 0), FALSE);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(IsWindow(dialog));
    DestroyWindow(dialog);
}

TEST(RegisterDialogClassTest, RegistersADialogClassOnceAndIgnoresASecondRegistration)
{
    HINSTANCE instance = GetModuleInstance();
    RegisterDialogClass(instance, "EditorTestDialogClass");
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(instance, "EditorTestDialogClass", &registered));
    EXPECT_EQ(registered.style, 0u);
    EXPECT_EQ(registered.cbClsExtra, 0);
    EXPECT_EQ(registered.cbWndExtra, DLGWINDOWEXTRA);
    EXPECT_EQ(registered.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_EQ(registered.hCursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(registered.lpszMenuName, nullptr);

    RegisterDialogClass(instance, "EditorTestDialogClass");
    EXPECT_TRUE(GetClassInfoA(instance, "EditorTestDialogClass", &registered));

    // Windows of the class behave as dialogs: DefDlgProcA keeps the DWLP_USER slot.
    HWND window
        = CreateWindowExA(0, "EditorTestDialogClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrA(window, DWLP_USER, 42);
    EXPECT_EQ(GetWindowLongPtrA(window, DWLP_USER), 42);
    DestroyWindow(window);
}
