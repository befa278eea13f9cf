// The controls' behaviour and the panel's pointer routing without any
// window system: a recording surface stands for the window, a recording
// observer for the effect.

#include "GUI/Panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every observer call as a short text: "begin 1", "change 1 0.5 status",
// "reset 1", "show 1", "clear", "end 1".
class GestureLog : public IControlObserver {
public:
    void ResetParameter(int parameterId) override
    {
        calls.push_back("reset " + std::to_string(parameterId));
        if (resetTarget != nullptr) {
            resetTarget->SetValue(defaultValue);
        }
    }
    void ChangeParameter(int parameterId, float value, bool showStatus) override
    {
        calls.push_back("change " + std::to_string(parameterId) + (showStatus ? " status" : ""));
        values.push_back(value);
    }
    void ShowParameterStatus(int parameterId) override { calls.push_back("show " + std::to_string(parameterId)); }
    void ClearStatus() override { calls.push_back("clear"); }
    void BeginParameterEdit(int parameterId) override { calls.push_back("begin " + std::to_string(parameterId)); }
    void EndParameterEdit(int parameterId) override { calls.push_back("end " + std::to_string(parameterId)); }

    std::vector<std::string> calls;
    std::vector<float> values;
    ParameterBehaviour* resetTarget = nullptr;
    float defaultValue = 0.0f;
};

class RecordingPanelSurface : public IPanelSurface {
public:
    void RepaintArea(PixelRect) override { ++repaints; }
    void RepaintAll() override { ++repaints; }
    void HoldPointer() override { held = true; }
    void MovePointer(int x, int y) override { pointer = {x, y, 0, 0}; }
    void ReleasePointer(int x, int y) override
    {
        held = false;
        pointer = {x, y, 0, 0};
    }

    int repaints = 0;
    bool held = false;
    PixelRect pointer = {-1, -1, 0, 0};
};

using Calls = std::vector<std::string>;

constexpr PixelRect KnobRect = {10, 20, 24, 27};
constexpr PixelRect SliderRect = {50, 20, 60, 20};
constexpr PixelRect SwitchRect = {120, 20, 12, 22};
constexpr PointerKeys NoKeys = {};
constexpr PointerKeys Button = {true, false, false};
constexpr PointerKeys ButtonShift = {true, true, false};
constexpr PointerKeys Control = {false, false, true};

class PanelTest : public ::testing::Test {
protected:
    PanelTest()
        : panel(surface, {0, 0, 9, 100})
        , knob(panel.AddKnob(1, KnobRect, true, 91))
        , slider(panel.AddSlider(4, SliderRect, true, 15, SliderOrientation::Horizontal))
        , toggle(panel.AddSwitch(6, SwitchRect, true))
    {
        panel.AddObserver(&log);
    }

    RecordingPanelSurface surface;
    Panel panel;
    KnobBehaviour& knob;
    SliderBehaviour& slider;
    SwitchBehaviour& toggle;
    GestureLog log;
};

TEST_F(PanelTest, ADragIsOneGestureFromItsFirstStepToTheRelease)
{
    panel.Press(NoKeys, 20, 40);
    EXPECT_TRUE(surface.held);
    EXPECT_TRUE(log.calls.empty()) << "a press alone edits nothing";
    panel.Move(Button, 20, 35);
    panel.Move(Button, 20, 30);
    panel.Release(NoKeys, 20, 30);
    EXPECT_EQ(log.calls, (Calls {"begin 1", "change 1 status", "change 1 status", "end 1"}));
    EXPECT_FLOAT_EQ(log.values.back(), 10.0f / 90.0f);
    EXPECT_FALSE(surface.held);
    EXPECT_EQ(surface.pointer.left, 20) << "a knob's pointer comes back where the press was";
    EXPECT_EQ(surface.pointer.top, 40);

    log.calls.clear();
    panel.Press(NoKeys, 20, 40);
    panel.Release(NoKeys, 20, 40);
    EXPECT_TRUE(log.calls.empty()) << "a click without a move is no gesture";
}

TEST_F(PanelTest, TheControlPressedGetsEveryMoveUntilTheReleaseAndTheHiddenPointerStaysInside)
{
    panel.Press(NoKeys, 60, 30);
    panel.Move(Button, 200, 30); // far right, over nothing
    EXPECT_EQ(surface.pointer.left, 60) << "put back at the press point";
    EXPECT_EQ(surface.pointer.top, 30);
    panel.Move(Button, 20, 30); // over the knob: still the slider's drag
    panel.Release(NoKeys, 20, 30);
    EXPECT_EQ(log.calls, (Calls {"begin 4", "change 4 status", "change 4 status", "end 4"}));
    EXPECT_FLOAT_EQ(slider.GetValue(), 45.0f / 45.0f - 40.0f / 45.0f);
    EXPECT_EQ(knob.GetValue(), 0.0f);
    EXPECT_EQ(surface.pointer.left, SliderRect.left + slider.GetThumbOffset()) << "over the thumb's left edge";
    EXPECT_EQ(surface.pointer.top, 30) << "at the height of the press";
}

TEST_F(PanelTest, ShiftDragsMoveATenthAsFar)
{
    panel.Press(NoKeys, 20, 40);
    panel.Move(ButtonShift, 20, 30);
    panel.Release(NoKeys, 20, 30);
    EXPECT_FLOAT_EQ(knob.GetValue(), 1.0f / 90.0f);
}

TEST_F(PanelTest, CtrlClickResetsAsAGestureOfItsOwnBeforeTheDrag)
{
    log.resetTarget = &knob;
    log.defaultValue = 0.5f;
    knob.SetValue(1.0f);
    panel.Press(Control, 20, 40);
    EXPECT_EQ(knob.GetValue(), 0.5f);
    panel.Move({true, false, true}, 20, 38);
    panel.Release(NoKeys, 20, 38);
    EXPECT_EQ(log.calls, (Calls {"begin 1", "reset 1", "end 1", "begin 1", "change 1 status", "end 1"}));
    EXPECT_FLOAT_EQ(log.values.back(), 47.0f / 90.0f);
}

TEST_F(PanelTest, ASwitchClickIsAGestureAndTheReleaseClearsTheStatus)
{
    panel.Press(NoKeys, 125, 30);
    panel.Release(NoKeys, 125, 30);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(log.calls, (Calls {"begin 6", "change 6", "end 6", "clear"}));
    EXPECT_EQ(log.values, (std::vector<float> {0.0f}));
}

TEST_F(PanelTest, EachWheelNotchIsAGestureThatMovesTheControlUnderThePointer)
{
    panel.Wheel(NoKeys, 1.0f, 20, 40);
    panel.Wheel(NoKeys, 1.0f, 20, 40);
    EXPECT_FLOAT_EQ(knob.GetValue(), 2.0f * DragBehaviour::WheelStepPixels / 90.0f);
    panel.Wheel(NoKeys, -1.0f, 60, 30);
    EXPECT_EQ(slider.GetValue(), 0.0f) << "held at the minimum";
    panel.Wheel({false, true, false}, 1.0f, 60, 30);
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.1f * DragBehaviour::WheelStepPixels / 45.0f);
    panel.Wheel(NoKeys, 1.0f, 125, 30); // a switch has no wheel
    panel.Wheel(NoKeys, 1.0f, 5, 5); // nor has the panel
    EXPECT_EQ(log.calls,
        (Calls {"begin 1", "change 1 status", "end 1", "begin 1", "change 1 status", "end 1", "begin 4",
            "change 4 status", "end 4", "begin 4", "change 4 status", "end 4"}));
    EXPECT_TRUE(toggle.IsOn());
}

TEST_F(PanelTest, MovingOverControlsHoversThemAndLeavingClearsTheStatus)
{
    panel.Move(NoKeys, 5, 60); // the panel itself
    panel.Move(NoKeys, 20, 40);
    panel.Move(NoKeys, 21, 41); // still the knob: no second hover
    panel.Move(NoKeys, 60, 30);
    panel.PointerLeft();
    panel.PointerLeft();
    EXPECT_EQ(log.calls, (Calls {"show 1", "clear", "show 4", "clear"}));
}

TEST_F(PanelTest, TheAboutAreaShowsTheAboutBoxUntilTheNextClickOrEscape)
{
    EXPECT_EQ(panel.Press(NoKeys, 100, 9), Panel::PressTarget::AboutShown) << "bounds are inclusive";
    EXPECT_TRUE(panel.IsAboutShown());
    EXPECT_EQ(panel.Press(NoKeys, 125, 30), Panel::PressTarget::AboutDismissed);
    EXPECT_TRUE(toggle.IsOn()) << "the dismissing click reaches no control";
    EXPECT_FALSE(panel.IsAboutShown());
    EXPECT_EQ(panel.Press(NoKeys, 101, 5), Panel::PressTarget::Nothing);
    EXPECT_EQ(panel.Press(NoKeys, 0, 10), Panel::PressTarget::Nothing);
    panel.Press(NoKeys, 0, 0);
    panel.EscapePressed();
    EXPECT_FALSE(panel.IsAboutShown());
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(PanelTest, ClosingInTheMiddleOfADragEndsItsGesture)
{
    panel.Press(NoKeys, 20, 40);
    panel.Move(Button, 20, 35);
    panel.CancelGestures();
    panel.Release(NoKeys, 20, 35);
    panel.CancelGestures();
    EXPECT_EQ(log.calls, (Calls {"begin 1", "change 1 status", "end 1"}));
}

TEST_F(PanelTest, APressWhoseReleaseNeverCameEndsTheGestureBeforeTheNextOne)
{
    panel.Press(NoKeys, 20, 40);
    panel.Move(Button, 20, 35);
    panel.Press(NoKeys, 20, 40);
    EXPECT_EQ(log.calls, (Calls {"begin 1", "change 1 status", "end 1"}));
}

TEST_F(PanelTest, ControlsWithoutImagesAreInert)
{
    KnobBehaviour& blind = panel.AddKnob(2, {200, 20, 24, 27}, false, 91);
    SwitchBehaviour& dark = panel.AddSwitch(7, {240, 20, 12, 22}, false);
    blind.AddObserver(&log);
    dark.AddObserver(&log);
    panel.Press(Control, 210, 30);
    panel.Move(Button, 210, 10);
    panel.Release(NoKeys, 210, 10);
    panel.Wheel(NoKeys, 1.0f, 210, 30);
    panel.Press(NoKeys, 245, 30);
    panel.Release(NoKeys, 245, 30);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(blind.GetValue(), 0.0f);
    EXPECT_TRUE(dark.IsOn());
    EXPECT_FALSE(surface.held);
}

TEST_F(PanelTest, ValuesFromTheEffectMoveTheControlWithoutTellingTheObservers)
{
    panel.SetParameterValue(1, 0.5f);
    panel.SetParameterValue(6, 0.49f);
    panel.SetParameterValue(3, 1.0f); // no control
    EXPECT_EQ(knob.GetFrameIndex(), 45);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_TRUE(log.calls.empty());
    EXPECT_GE(surface.repaints, 2);
}

// At 200 % the controls are twice as large on the screen: a drag moves the
// knob one frame for every two device pixels and the slider's thumb with the
// pointer, so a drag of the same length on the screen changes the same
// value; a wheel notch changes them as much as at 100 %.
TEST(ScaledPanelTest, DragsAndWheelNotchesChangeTheValueAsAtNinetySixDpi)
{
    const DisplayScale scale(192);
    RecordingPanelSurface surface;
    Panel panel(surface, {0, 0, 19, 200}, scale);
    KnobBehaviour& knob = panel.AddKnob(1, scale.Rect(KnobRect), true, 91);
    SliderBehaviour& slider
        = panel.AddSlider(4, scale.Rect(SliderRect), true, scale.Pixels(15), SliderOrientation::Horizontal);

    panel.Press(NoKeys, 40, 80);
    panel.Move(Button, 40, 60);
    panel.Move(ButtonShift, 40, 40);
    panel.Release(NoKeys, 40, 40);
    EXPECT_FLOAT_EQ(knob.GetValue(), 11.0f / 90.0f) << "10 frames, then one with Shift";
    panel.Wheel(NoKeys, 1.0f, 40, 80);
    EXPECT_FLOAT_EQ(knob.GetValue(), (11.0f + DragBehaviour::WheelStepPixels) / 90.0f);

    panel.Press(NoKeys, 120, 60);
    panel.Move(Button, 138, 60);
    panel.Release(NoKeys, 138, 60);
    EXPECT_EQ(slider.GetThumbOffset(), 18);
    EXPECT_FLOAT_EQ(slider.GetValue(), 9.0f / 45.0f) << "as a drag of 9 pixels at 96 dpi";
    panel.Wheel(NoKeys, -1.0f, 120, 60);
    EXPECT_FLOAT_EQ(slider.GetValue(), (9.0f - DragBehaviour::WheelStepPixels) / 45.0f);
    EXPECT_EQ(surface.pointer.left, scale.Pixels(SliderRect.left) + 18) << "the pointer comes back over the thumb";

    EXPECT_EQ(panel.Press(NoKeys, 200, 19), Panel::PressTarget::AboutShown);
}

} // namespace
