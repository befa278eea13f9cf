#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/HSlider.h"
#include "GUI/VSlider.h"

namespace {

constexpr int SliderParameter = 4;
constexpr COLORREF ThumbColour = RGB(230, 20, 20);

// The horizontal slider is 60 × 22 at dialog (70, 10) with a 15 × 22 thumb
// (travel 45); the vertical one is 22 × 60 at (140, 10) with a 22 × 15
// thumb (travel 45).
class SliderTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        hThumb = SolidBitmap(15, 22, ThumbColour);
        vThumb = SolidBitmap(22, 15, ThumbColour);
    }

    Gdiplus::Bitmap* hThumb = nullptr;
    Gdiplus::Bitmap* vThumb = nullptr;
};

TEST_F(SliderTest, HorizontalMinimumIsAtTheLeft)
{
    HSlider slider(dialog, IDC_HSLIDER, SliderParameter, background, hThumb);
    RedrawDialog();
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 7, 11));
    EXPECT_EQ(BackgroundColour(70 + 30, 10 + 11), PixelAt(slider.GetWindow(), 30, 11));
    slider.SetValue(1.0f);
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 45, 11));
    EXPECT_EQ(BackgroundColour(70 + 44, 10 + 11), PixelAt(slider.GetWindow(), 44, 11));
    slider.SetValue(0.2f);
    EXPECT_FLOAT_EQ(0.2f, slider.GetValue());
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 9, 11)) << "thumb at trunc(0.2 × 45) = 9";
    EXPECT_EQ(BackgroundColour(70 + 8, 10 + 11), PixelAt(slider.GetWindow(), 8, 11));
}

TEST_F(SliderTest, VerticalMaximumIsAtTheTop)
{
    VSlider slider(dialog, IDC_VSLIDER, SliderParameter, background, vThumb);
    EXPECT_EQ(1.0f, slider.GetValue()) << "position 0 is the top";
    slider.SetValue(1.0f);
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 11, 0));
    EXPECT_EQ(BackgroundColour(140 + 11, 10 + 15), PixelAt(slider.GetWindow(), 11, 15));
    slider.SetValue(0.0f);
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 11, 45));
    EXPECT_EQ(ThumbColour, PixelAt(slider.GetWindow(), 11, 59));
    EXPECT_EQ(BackgroundColour(140 + 11, 10 + 44), PixelAt(slider.GetWindow(), 11, 44));
    EXPECT_EQ(0.0f, slider.GetValue());
}

TEST_F(SliderTest, HorizontalDragRepaintsTheSweptBandAndPutsThePointerOverTheThumb)
{
    HSlider slider(dialog, IDC_HSLIDER, SliderParameter, background, hThumb);
    slider.AddObserver(&observer);
    HWND window = slider.GetWindow();
    UpdateWindow(window);
    PressAt(window, 0, 20, 11);
    POINT pressPoint = ScreenPoint(window, 20, 11);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, Point(30, 11));
    RECT invalid;
    ASSERT_TRUE(GetUpdateRect(window, &invalid, FALSE));
    EXPECT_EQ(0, invalid.left);
    EXPECT_EQ(25, invalid.right) << "old thumb at 0, new thumb at 10, 15 wide";
    EXPECT_EQ(0, invalid.top);
    EXPECT_EQ(22, invalid.bottom);
    UpdateWindow(window);
    // Fine adjustment: 5 pixels with Shift move the thumb half a pixel.
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, Point(35, 11));
    ASSERT_EQ(2u, observer.calls.size());
    EXPECT_FLOAT_EQ(10.0f / 45.0f, observer.calls[0].value);
    EXPECT_FLOAT_EQ(10.5f / 45.0f, observer.calls[1].value);
    EXPECT_TRUE(observer.calls[1].showStatus);
    SetCursorPos(pressPoint.x + 100, pressPoint.y + 40);
    SendMessageA(window, WM_LBUTTONUP, 0, Point(120, 51));
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(ScreenPoint(window, 10, 0).x, pointer.x) << "over the thumb's left edge";
    EXPECT_EQ(pressPoint.y, pointer.y) << "at the height of the press";
    EXPECT_EQ(2u, observer.calls.size());
}

TEST_F(SliderTest, VerticalDragDownLowersTheValueAndPutsThePointerOverTheThumb)
{
    VSlider slider(dialog, IDC_VSLIDER, SliderParameter, background, vThumb);
    slider.AddObserver(&observer);
    HWND window = slider.GetWindow();
    slider.SetValue(1.0f);
    UpdateWindow(window);
    PressAt(window, 0, 11, 5);
    POINT pressPoint = ScreenPoint(window, 11, 5);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, Point(11, 17));
    RECT invalid;
    ASSERT_TRUE(GetUpdateRect(window, &invalid, FALSE));
    EXPECT_EQ(0, invalid.top);
    EXPECT_EQ(27, invalid.bottom);
    EXPECT_EQ(0, invalid.left);
    EXPECT_EQ(22, invalid.right);
    ASSERT_EQ(1u, observer.calls.size());
    EXPECT_FLOAT_EQ(1.0f - 12.0f / 45.0f, observer.calls[0].value);
    SendMessageA(window, WM_LBUTTONUP, 0, Point(11, 17));
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(pressPoint.x, pointer.x);
    EXPECT_EQ(ScreenPoint(window, 0, 12).y, pointer.y);
}

TEST_F(SliderTest, DragIsClampedToTheTravel)
{
    HSlider slider(dialog, IDC_HSLIDER, SliderParameter, background, hThumb);
    slider.AddObserver(&observer);
    PressAt(slider.GetWindow(), 0, 30, 11);
    SendMessageA(slider.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(-100, 11));
    SendMessageA(slider.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(200, 11));
    SendMessageA(slider.GetWindow(), WM_LBUTTONUP, 0, Point(30, 11));
    ASSERT_EQ(2u, observer.calls.size());
    EXPECT_EQ(0.0f, observer.calls[0].value);
    EXPECT_EQ(1.0f, observer.calls[1].value);
}

TEST_F(SliderTest, ThumbFillingTheControlLeavesNoTravel)
{
    HSlider hSlider(dialog, IDC_HSLIDER_FULL, SliderParameter, background, hThumb);
    VSlider vSlider(dialog, IDC_VSLIDER_FULL, SliderParameter, background, vThumb);
    EXPECT_EQ(0.0f, hSlider.GetValue());
    EXPECT_EQ(1.0f, vSlider.GetValue());
    hSlider.AddObserver(&observer);
    PressAt(hSlider.GetWindow(), 0, 7, 11);
    SendMessageA(hSlider.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(14, 11));
    SendMessageA(hSlider.GetWindow(), WM_LBUTTONUP, 0, Point(14, 11));
    ASSERT_EQ(1u, observer.calls.size());
    EXPECT_EQ(0.0f, observer.calls[0].value);
    EXPECT_EQ(ThumbColour, PixelAt(hSlider.GetWindow(), 0, 11));
    vSlider.SetValue(0.0f);
    EXPECT_EQ(1.0f, vSlider.GetValue());
}

TEST_F(SliderTest, CtrlPressResetsAndWithoutAThumbNothingHappens)
{
    HSlider slider(dialog, IDC_HSLIDER, SliderParameter, background, hThumb);
    VSlider inert(dialog, IDC_VSLIDER, SliderParameter, background, nullptr);
    slider.AddObserver(&observer);
    inert.AddObserver(&observer);
    observer.resetTarget = &slider;
    observer.defaultValue = 1.0f;
    PressAt(inert.GetWindow(), MK_CONTROL, 11, 5);
    SendMessageA(inert.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(11, 20));
    SendMessageA(inert.GetWindow(), WM_LBUTTONUP, 0, Point(11, 20));
    EXPECT_TRUE(observer.calls.empty());
    PressAt(slider.GetWindow(), MK_CONTROL, 50, 11);
    EXPECT_EQ(1.0f, slider.GetValue());
    SendMessageA(slider.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(41, 11));
    SendMessageA(slider.GetWindow(), WM_LBUTTONUP, 0, Point(41, 11));
    ASSERT_EQ(
        (std::vector<RecordingObserver::Kind> {RecordingObserver::Reset, RecordingObserver::Change}), observer.Kinds());
    EXPECT_FLOAT_EQ(36.0f / 45.0f, observer.calls[1].value);
}

TEST_F(SliderTest, OutOfRangeValueIsReportedAndHeldAtTheRange)
{
    AssertionRecorder recorder;
    VSlider slider(dialog, IDC_VSLIDER, SliderParameter, background, vThumb);
    slider.SetValue(-0.5f);
    EXPECT_EQ(std::vector<std::string> {"value >= 0.0f && value <= 1.0f"}, recorder.expressions());
    EXPECT_EQ(0.0f, slider.GetValue());
}

} // namespace
