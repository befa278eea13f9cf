// The dialog editor on displays of other scales than 96 dpi, posed by the
// test editor: the dialog and each item of its template take the layout's
// rectangles scaled, whatever the template and its font say, and a change
// of scale while open builds the dialog anew and asks the host to resize.

#include "EditorTestFixture.h"

#include <utility>
#include <vector>

namespace {

class ResizeRecorder : public IControlObserver {
public:
    void ResetParameter(int) override { }
    void ChangeParameter(int, float, bool) override { }
    void ShowParameterStatus(int) override { }
    void ClearStatus() override { }
    bool ResizeEditor(int width, int height) override
    {
        sizes.emplace_back(width, height);
        return true;
    }

    std::vector<std::pair<int, int>> sizes;
};

// An item's window in the dialog's client pixels.
PixelRect ItemRect(HWND dialog, int itemId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, itemId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

::testing::AssertionResult SameRect(const PixelRect& shown, const PixelRect& expected)
{
    if (shown == expected) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << shown.left << ", " << shown.top << ") " << shown.width << " x "
                                         << shown.height << " instead of (" << expected.left << ", " << expected.top
                                         << ") " << expected.width << " x " << expected.height;
}

class EditorScaleTest : public EditorTest {
protected:
    void SetUp() override { editor = std::make_unique<EditorTestEditor>(&parameters, &hostWindow); }

    ERect Size()
    {
        ERect* rect = nullptr;
        editor->getRect(&rect);
        return rect != nullptr ? *rect : ERect {};
    }

    void ExpectPlacedAt(DisplayScale scale)
    {
        HWND dialog = host->Dialog();
        RECT client = {};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, scale.Pixels(400));
        EXPECT_EQ(client.bottom, scale.Pixels(100));
        EXPECT_TRUE(SameRect(ItemRect(dialog, IDC_EDITOR_KNOB), scale.Rect({150, 16, 24, 26})));
        EXPECT_TRUE(SameRect(ItemRect(dialog, IDC_EDITOR_SWITCH), scale.Rect({195, 16, 15, 26})));
        EXPECT_TRUE(SameRect(ItemRect(dialog, IDC_EDITOR_STATUS), scale.Rect({225, 16, 90, 32})));
    }

    ResizeRecorder hostWindow;
};

} // namespace

TEST_F(EditorScaleTest, TheDialogAndEveryItemTakeTheLayoutScaledToTheDisplay)
{
    for (int dpi : {96, 120, 144, 192, 240}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        const DisplayScale scale(dpi);
        editor->PoseAs(scale);
        const ERect size = Size();
        EXPECT_EQ(size.right, scale.Pixels(400));
        EXPECT_EQ(size.bottom, scale.Pixels(100));
        ASSERT_TRUE(Open());
        ExpectPlacedAt(scale);
        editor->close();
    }
    EXPECT_TRUE(hostWindow.sizes.empty()) << "every open came at the size the host was told";
}

TEST_F(EditorScaleTest, AChangeOfScaleWhileOpenRebuildsTheDialogAtTheNextIdleAndAsksTheHostToResize)
{
    parameters.level.SetValue(0.75f);
    ASSERT_TRUE(Open());
    editor->idle();
    editor->idle();
    EXPECT_EQ(editor->DialogsCreated(), 1) << "idle builds nothing while the scale stays";

    editor->PoseAs(DisplayScale(144));
    EXPECT_EQ(editor->DialogsCreated(), 1);
    editor->idle();
    EXPECT_EQ(editor->DialogsCreated(), 2);
    EXPECT_EQ(host->ChildCount(), 1) << "the old dialog is gone";
    ExpectPlacedAt(DisplayScale(144));
    EXPECT_EQ(KnobControl().GetValue(), 0.75f) << "the new controls show the values";
    EXPECT_EQ(hostWindow.sizes, (std::vector<std::pair<int, int>> {{600, 150}}));
    EXPECT_EQ(Size().right, 600);
    EXPECT_EQ(Size().bottom, 150);

    editor->idle();
    EXPECT_EQ(editor->DialogsCreated(), 2);
    EXPECT_EQ(hostWindow.sizes.size(), 1u);
}

TEST_F(EditorScaleTest, AnOpenAtAnotherScaleThanTheHostWasToldAsksItToResize)
{
    EXPECT_EQ(Size().right, 400);
    editor->PoseAs(DisplayScale(192));
    ASSERT_TRUE(Open());
    EXPECT_EQ(hostWindow.sizes, (std::vector<std::pair<int, int>> {{800, 200}}));
    editor->close();
    editor->PoseAs(DisplayScale(120));
    EXPECT_EQ(Size().right, 500) << "a closed editor reports the system's scale";
    EXPECT_EQ(Size().bottom, 125);
    EXPECT_EQ(hostWindow.sizes.size(), 1u) << "and asks the host for nothing";
}

// At 200 % a knob turns one frame for every two device pixels the pointer
// travels: a drag as long on the screen as at 100 % turns it as far.
TEST_F(EditorScaleTest, AKnobDragsAsFarOnTheScreenAtTwiceTheScale)
{
    editor->PoseAs(DisplayScale(192));
    parameters.level.SetValue(0.0f);
    ASSERT_TRUE(Open());
    editor->idle();
    HWND knob = KnobControl().GetWindow();
    SendMessageA(knob, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 40));
    SendMessageA(knob, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(10, 32));
    SendMessageA(knob, WM_LBUTTONUP, 0, ClientPoint(10, 32));
    EXPECT_FLOAT_EQ(KnobControl().GetValue(), 4.0f / 10.0f);
}
