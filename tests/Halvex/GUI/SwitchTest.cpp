#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/Switch.h"

namespace {

constexpr int SwitchParameter = 6;
constexpr COLORREF OnColour = RGB(40, 220, 40);
constexpr COLORREF OffColour = RGB(10, 10, 10);

class SwitchTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        onImage = SolidBitmap(12, 22, OnColour);
        offImage = SolidBitmap(12, 22, OffColour);
    }

    void Click(Switch& control)
    {
        SendMessageA(control.GetWindow(), WM_LBUTTONDOWN, MK_LBUTTON, Point(6, 11));
        SendMessageA(control.GetWindow(), WM_LBUTTONUP, 0, Point(6, 11));
    }

    Gdiplus::Bitmap* onImage = nullptr;
    Gdiplus::Bitmap* offImage = nullptr;
};

TEST_F(SwitchTest, HalfIsOnAndJustBelowIsOff)
{
    Switch control(dialog, IDC_SWITCH, SwitchParameter, background, onImage, offImage);
    EXPECT_EQ(1.0f, control.GetValue()) << "a new switch is On";
    control.SetValue(0.49f);
    EXPECT_EQ(0.0f, control.GetValue());
    EXPECT_EQ(OffColour, PixelAt(control.GetWindow(), 6, 11));
    control.SetValue(0.5f);
    EXPECT_EQ(1.0f, control.GetValue());
    EXPECT_EQ(OnColour, PixelAt(control.GetWindow(), 6, 11));
}

TEST_F(SwitchTest, ClickTogglesOnThePressAndClearsTheStatusOnRelease)
{
    Switch control(dialog, IDC_SWITCH, SwitchParameter, background, onImage, offImage);
    control.AddObserver(&observer);
    SetFocus(Item(IDC_EDIT));
    Click(control);
    EXPECT_EQ(OffColour, PixelAt(control.GetWindow(), 6, 11));
    Click(control);
    ASSERT_EQ((std::vector<RecordingObserver::Kind> {RecordingObserver::Change, RecordingObserver::Clear,
                  RecordingObserver::Change, RecordingObserver::Clear}),
        observer.Kinds());
    EXPECT_EQ(0.0f, observer.calls[0].value);
    EXPECT_FALSE(observer.calls[0].showStatus);
    EXPECT_EQ(SwitchParameter, observer.calls[0].parameterId);
    EXPECT_EQ(1.0f, observer.calls[2].value);
    EXPECT_FALSE(observer.calls[2].showStatus);
    EXPECT_EQ(Item(IDC_EDIT), GetFocus());
}

TEST_F(SwitchTest, WithAnImageMissingClicksAreIgnored)
{
    Switch control(dialog, IDC_SWITCH, SwitchParameter, background, onImage, nullptr);
    RedrawDialog();
    control.AddObserver(&observer);
    Click(control);
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(1.0f, control.GetValue());
    EXPECT_EQ(BackgroundColour(10 + 6, 50 + 11), PixelAt(control.GetWindow(), 6, 11));
}

TEST_F(SwitchTest, HoverShowsAndLeaveClearsTheStatus)
{
    Switch control(dialog, IDC_SWITCH, SwitchParameter, background, onImage, offImage);
    control.AddObserver(&observer);
    SendMessageA(control.GetWindow(), WM_MOUSEHOVER, 0, Point(6, 11));
    SendMessageA(control.GetWindow(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(
        (std::vector<RecordingObserver::Kind> {RecordingObserver::Show, RecordingObserver::Clear}), observer.Kinds());
}

TEST_F(SwitchTest, OutOfRangeValueIsReported)
{
    AssertionRecorder recorder;
    Switch control(dialog, IDC_SWITCH, SwitchParameter, background, onImage, offImage);
    control.SetValue(2.0f);
    EXPECT_EQ(std::vector<std::string> {"value >= 0.0f && value <= 1.0f"}, recorder.expressions());
    EXPECT_EQ(1.0f, control.GetValue());
}

} // namespace
