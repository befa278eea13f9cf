// Every edit made in the Windows editor reaches the host as one gesture:
// audioMasterBeginEdit (43), one or more audioMasterAutomate (0), then
// audioMasterEndEdit (44), all for the parameter of the control. The shipped
// DLL is driven with mouse messages to its controls.

#include "ShippedEditorFixture.h"

#include <vector>

namespace {

struct HostEvent {
    VstInt32 opcode;
    VstInt32 index;
};

class ChorusEditorGestureTest : public ShippedEditorFixture {
protected:
    void SetUp() override
    {
        ShippedEditorFixture::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        plugin.SetAutomationListener([this](VstInt32 index, float) { events.push_back({audioMasterAutomate, index}); });
        plugin.SetGestureListener([this](VstInt32 opcode, VstInt32 index) { events.push_back({opcode, index}); });
        ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, host->Get()), 1);
        plugin.Dispatch(effEditIdle);
    }

    void Send(int itemId, UINT message, WPARAM keys, int x, int y)
    {
        SendMessageA(Item(itemId), message, keys, ClientPoint(x, y));
    }

    // A press, moves by (dx, dy) in steps, and the release.
    void Drag(int itemId, WPARAM keys, int dx, int dy, int steps)
    {
        const POINT middle = PointerToMiddle(itemId);
        Send(itemId, WM_LBUTTONDOWN, MK_LBUTTON | keys, middle.x, middle.y);
        for (int step = 1; step <= steps; ++step) {
            Send(itemId, WM_MOUSEMOVE, MK_LBUTTON | keys, middle.x + dx * step / steps, middle.y + dy * step / steps);
        }
        Send(itemId, WM_LBUTTONUP, keys, middle.x + dx, middle.y + dy);
    }

    // Each gesture in turn: 43, `changes` times 0, then 44, all for parameterId.
    void ExpectGestures(int parameterId, std::vector<int> changes) const
    {
        std::vector<VstInt32> expected;
        for (int count : changes) {
            expected.push_back(audioMasterBeginEdit);
            expected.insert(expected.end(), static_cast<size_t>(count), audioMasterAutomate);
            expected.push_back(audioMasterEndEdit);
        }
        std::vector<VstInt32> opcodes;
        for (const HostEvent& event : events) {
            opcodes.push_back(event.opcode);
            EXPECT_EQ(event.index, parameterId);
        }
        EXPECT_EQ(opcodes, expected);
    }

    std::vector<HostEvent> events;
};

} // namespace

TEST_F(ChorusEditorGestureTest, AKnobDragIsOneGestureAroundAllItsChanges)
{
    plugin.SetParameter(1, 0.5f);
    plugin.Dispatch(effEditIdle);
    Drag(1002, 0, 0, -9, 3);
    ExpectGestures(1, {3});
    EXPECT_GT(plugin.GetParameter(1), 0.5f);
}

TEST_F(ChorusEditorGestureTest, ASliderDragIsOneGestureAndAClickWithoutAMoveIsNone)
{
    Drag(1008, 0, 6, 0, 2);
    ExpectGestures(4, {2});
    events.clear();
    Drag(1008, 0, 0, 0, 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ChorusEditorGestureTest, CtrlClickResetIsAGestureOfItsOwnBeforeTheDrag)
{
    plugin.SetParameter(3, 0.8f);
    plugin.Dispatch(effEditIdle);
    Drag(1004, MK_CONTROL, 0, -2, 1);
    ExpectGestures(3, {1, 1});
    EXPECT_NEAR(plugin.GetParameter(3), 2.0f / 90.0f, 1e-6f) << "the drag starts from the default, 0";
}

TEST_F(ChorusEditorGestureTest, EachSwitchClickIsAGesture)
{
    for (int click = 0; click < 2; ++click) {
        const POINT middle = PointerToMiddle(1006);
        Send(1006, WM_LBUTTONDOWN, MK_LBUTTON, middle.x, middle.y);
        Send(1006, WM_LBUTTONUP, 0, middle.x, middle.y);
    }
    ExpectGestures(6, {1, 1});
}

TEST_F(ChorusEditorGestureTest, EachWheelNotchIsAGestureThatStepsTheKnob)
{
    plugin.SetParameter(5, 0.5f);
    plugin.Dispatch(effEditIdle);
    const POINT middle = PointerToMiddle(1005);
    SendMessageA(Item(1005), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ClientPoint(middle.x, middle.y));
    const float raised = plugin.GetParameter(5);
    SendMessageA(
        Item(1005), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), ClientPoint(middle.x, middle.y));
    ExpectGestures(5, {1, 1});
    EXPECT_GT(raised, 0.5f);
    EXPECT_LT(raised, 0.6f);
    EXPECT_NEAR(plugin.GetParameter(5), 0.5f, 1e-6f);
}

TEST_F(ChorusEditorGestureTest, ClosingTheEditorInTheMiddleOfADragEndsTheGesture)
{
    const POINT middle = PointerToMiddle(1003);
    Send(1003, WM_LBUTTONDOWN, MK_LBUTTON, middle.x, middle.y);
    Send(1003, WM_MOUSEMOVE, MK_LBUTTON, middle.x, middle.y - 4);
    plugin.Dispatch(effEditClose);
    ExpectGestures(2, {1});
}
