#include "ControlFixture.h"

#include "AssertionRecorder.h"
#include "GUI/Knob.h"

namespace {

constexpr int KnobParameter = 3;
constexpr int FrameWidth = 24;
constexpr int FrameHeight = 27;
constexpr int PressY = 20;

class KnobTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        strip = FilmStrip(FrameWidth, FrameHeight, 91);
    }

    COLORREF ShownColour(Knob& knob) { return PixelAt(knob.GetWindow(), 12, 13); }

    void Move(Knob& knob, int keys, int y)
    {
        SendMessageA(knob.GetWindow(), WM_MOUSEMOVE, MK_LBUTTON | keys, Point(12, y));
    }

    Gdiplus::Bitmap* strip = nullptr;
};

TEST_F(KnobTest, ShowsTheFrameOfTheValueTruncated)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    RedrawDialog();
    EXPECT_EQ(FrameColour(0), ShownColour(knob));
    knob.SetValue(0.5f);
    EXPECT_EQ(FrameColour(45), ShownColour(knob));
    knob.SetValue(1.0f);
    EXPECT_EQ(FrameColour(90), ShownColour(knob));
    knob.SetValue(0.999f);
    EXPECT_EQ(FrameColour(89), ShownColour(knob));
    EXPECT_FLOAT_EQ(0.999f, knob.GetValue());
}

TEST_F(KnobTest, UpwardDragOf200PixelsEndsAtOneAndKeepsReportingOne)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    knob.AddObserver(&observer);
    PressAt(knob.GetWindow(), 0, 12, PressY);
    POINT pressPoint = ScreenPoint(knob.GetWindow(), 12, PressY);
    // Each move leaves the control 50 pixels above the press; the pointer
    // is put back at the press point, so every move counts in full.
    for (int i = 0; i < 4; ++i) {
        Move(knob, 0, PressY - 50);
        POINT pointer;
        GetCursorPos(&pointer);
        EXPECT_EQ(pressPoint.x, pointer.x);
        EXPECT_EQ(pressPoint.y, pointer.y);
    }
    ASSERT_EQ(4u, observer.calls.size());
    EXPECT_FLOAT_EQ(50.0f / 90.0f, observer.calls[0].value);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(RecordingObserver::Change, observer.calls[i].kind);
        EXPECT_EQ(KnobParameter, observer.calls[i].parameterId);
        EXPECT_EQ(1.0f, observer.calls[i].value);
        EXPECT_TRUE(observer.calls[i].showStatus);
    }
    EXPECT_EQ(knob.GetWindow(), GetCapture());
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, 0));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(4u, observer.calls.size()) << "the release sends nothing";
    EXPECT_EQ(FrameColour(90), ShownColour(knob));
}

TEST_F(KnobTest, WithShiftTenPixelsMoveOneFrame)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    PressAt(knob.GetWindow(), MK_SHIFT, 12, PressY);
    for (int y = PressY - 1; y > PressY - 10; --y) {
        Move(knob, MK_SHIFT, y);
    }
    EXPECT_EQ(FrameColour(0), ShownColour(knob)) << "nine pixels are not yet a frame";
    Move(knob, MK_SHIFT, PressY - 10);
    EXPECT_EQ(FrameColour(1), ShownColour(knob));
    // Downward moves turn it back, at the full speed without Shift.
    Move(knob, 0, PressY);
    EXPECT_EQ(0.0f, knob.GetValue());
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, PressY));
}

TEST_F(KnobTest, CtrlPressResetsBeforeTheDragStarts)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    knob.AddObserver(&observer);
    observer.resetTarget = &knob;
    observer.defaultValue = 0.5f;
    knob.SetValue(1.0f);
    PressAt(knob.GetWindow(), MK_CONTROL, 12, PressY);
    Move(knob, MK_CONTROL, PressY - 5);
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, PressY - 5));
    ASSERT_EQ(
        (std::vector<RecordingObserver::Kind> {RecordingObserver::Reset, RecordingObserver::Change}), observer.Kinds());
    EXPECT_EQ(KnobParameter, observer.calls[0].parameterId);
    EXPECT_FLOAT_EQ(50.0f / 90.0f, observer.calls[1].value);
}

TEST_F(KnobTest, ReleasePutsThePointerBackWhereThePressHappened)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    PressAt(knob.GetWindow(), 0, 5, PressY);
    POINT pressPoint = ScreenPoint(knob.GetWindow(), 5, PressY);
    Move(knob, 0, 3);
    SetCursorPos(pressPoint.x + 30, pressPoint.y + 30);
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(35, 50));
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(pressPoint.x, pointer.x);
    EXPECT_EQ(pressPoint.y, pointer.y);
}

TEST_F(KnobTest, FewerThanTwoFramesReportZero)
{
    Knob single(dialog, IDC_KNOB, KnobParameter, background, FilmStrip(FrameWidth, FrameHeight, 1), 1);
    Knob empty(dialog, IDC_KNOB_SPARE, KnobParameter, background, strip, 0);
    for (Knob* knob : {&single, &empty}) {
        knob->AddObserver(&observer);
        knob->SetValue(1.0f);
        PressAt(knob->GetWindow(), 0, 12, PressY);
        Move(*knob, 0, PressY - 10);
        SendMessageA(knob->GetWindow(), WM_LBUTTONUP, 0, Point(12, PressY - 10));
        EXPECT_EQ(0.0f, knob->GetValue());
    }
    ASSERT_EQ(2u, observer.calls.size());
    EXPECT_EQ(0.0f, observer.calls[0].value);
    EXPECT_EQ(0.0f, observer.calls[1].value);
}

TEST_F(KnobTest, WithoutAnImageItIsInertAndShowsTheBackground)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, nullptr, 91);
    RedrawDialog();
    knob.AddObserver(&observer);
    PressAt(knob.GetWindow(), MK_CONTROL, 12, PressY);
    EXPECT_EQ(nullptr, GetCapture());
    Move(knob, 0, 0);
    SendMessageA(knob.GetWindow(), WM_MOUSEHOVER, 0, Point(12, 12));
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, 0));
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(BackgroundColour(10 + 12, 10 + 13), ShownColour(knob));
}

TEST_F(KnobTest, MovesWithTheButtonDownThatDidNotStartHereChangeNothing)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    knob.AddObserver(&observer);
    Move(knob, 0, 0);
    SendMessageA(knob.GetWindow(), WM_LBUTTONUP, 0, Point(12, 0));
    EXPECT_TRUE(observer.calls.empty());
    EXPECT_EQ(0.0f, knob.GetValue());
}

TEST_F(KnobTest, HoverShowsAndLeaveClearsTheStatus)
{
    Knob knob(dialog, IDC_KNOB, KnobParameter, background, strip, 91);
    knob.AddObserver(&observer);
    SendMessageA(knob.GetWindow(), WM_MOUSEHOVER, 0, Point(12, 12));
    SendMessageA(knob.GetWindow(), WM_MOUSELEAVE, 0, 0);
    ASSERT_EQ(
        (std::vector<RecordingObserver::Kind> {RecordingObserver::Show, RecordingObserver::Clear}), observer.Kinds());
    EXPECT_EQ(KnobParameter, observer.calls[0].parameterId);
}

TEST_F(KnobTest, PreconditionsAreReported)
{
    AssertionRecorder recorder;
    Knob negative(dialog, IDC_KNOB, KnobParameter, background, strip, -1);
    EXPECT_EQ(std::vector<std::string> {"knobCount >= 0"}, recorder.expressions());
    recorder.clear();
    Knob knob(dialog, IDC_KNOB_SPARE, KnobParameter, background, strip, 91);
    knob.SetValue(1.5f);
    EXPECT_EQ(std::vector<std::string> {"value >= 0.0f && value <= 1.0f"}, recorder.expressions());
    EXPECT_EQ(1.0f, knob.GetValue()) << "an out-of-range value is held at the range";
}

} // namespace
