#include "GUI/ControlMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ControlMathTest, KnobFrameIsTheValueTruncatedToAFrame)
{
    EXPECT_EQ(45, KnobFrameIndex(KnobPositionFromValue(0.5f, 91)));
    EXPECT_EQ(90, KnobFrameIndex(KnobPositionFromValue(1.0f, 91)));
    EXPECT_EQ(89, KnobFrameIndex(KnobPositionFromValue(0.999f, 91)));
    EXPECT_EQ(0.5f, KnobValueFromPosition(45.0f, 91));
    EXPECT_EQ(27, KnobFrameHeight(2457, 91));
    EXPECT_EQ(2, KnobFrameHeight(5, 2)) << "unsigned integer division";
    EXPECT_EQ(0, KnobFrameHeight(2457, 0));
}

TEST(ControlMathTest, KnobsOfFewerThanTwoFramesStayAtZero)
{
    for (int knobCount : {0, 1}) {
        EXPECT_EQ(0.0f, KnobPositionLimit(knobCount));
        EXPECT_EQ(0.0f, KnobValueFromPosition(ClampPosition(50.0f, KnobPositionLimit(knobCount)), knobCount));
        EXPECT_EQ(0.0f, KnobPositionFromValue(1.0f, knobCount));
    }
}

TEST(ControlMathTest, SliderMappingsPutTheHorizontalMinimumLeftAndTheVerticalMaximumTop)
{
    EXPECT_EQ(45, SliderTravel(60, 15, true));
    EXPECT_EQ(0, SliderTravel(15, 15, true));
    EXPECT_EQ(0, SliderTravel(10, 15, true));
    EXPECT_EQ(0, SliderTravel(60, 15, false));

    EXPECT_EQ(0.0f, SliderPositionFromValue(0.0f, 45, SliderOrientation::Horizontal));
    EXPECT_EQ(9.0f, SliderPositionFromValue(0.2f, 45, SliderOrientation::Horizontal));
    EXPECT_EQ(0.0f, SliderPositionFromValue(1.0f, 45, SliderOrientation::Vertical));
    EXPECT_EQ(45.0f, SliderPositionFromValue(0.0f, 45, SliderOrientation::Vertical));
    EXPECT_FLOAT_EQ(0.2f, SliderValueFromPosition(9.0f, 45, SliderOrientation::Horizontal));
    EXPECT_EQ(1.0f, SliderValueFromPosition(0.0f, 45, SliderOrientation::Vertical));

    // No travel: horizontal sliders report their minimum, vertical ones
    // their maximum, and SetValue leaves the thumb at 0.
    EXPECT_EQ(0.0f, SliderValueFromPosition(0.0f, 0, SliderOrientation::Horizontal));
    EXPECT_EQ(1.0f, SliderValueFromPosition(0.0f, 0, SliderOrientation::Vertical));
    EXPECT_EQ(0.0f, SliderPositionFromValue(0.3f, 0, SliderOrientation::Vertical));
}

TEST(ControlMathTest, SweptBandCoversTheThumbAtBothPositions)
{
    PixelBand forward = SliderSweptBand(2.5f, 10.7f, 15);
    EXPECT_EQ(2, forward.begin);
    EXPECT_EQ(25, forward.end);
    PixelBand backward = SliderSweptBand(10.7f, 2.5f, 15);
    EXPECT_EQ(2, backward.begin);
    EXPECT_EQ(25, backward.end);
}

TEST(ControlMathTest, DragDeltaFollowsTheSenseAndShiftIsATenth)
{
    EXPECT_EQ(5.0f, DragDelta(20, 15, DragSense::AgainstCoordinate, false));
    EXPECT_EQ(-5.0f, DragDelta(20, 15, DragSense::WithCoordinate, false));
    EXPECT_EQ(0.1f, DragDelta(20, 19, DragSense::AgainstCoordinate, true));
    float position = 0.0f;
    for (int pixel = 0; pixel < 10; ++pixel) {
        position += DragDelta(1, 0, DragSense::AgainstCoordinate, true);
    }
    EXPECT_EQ(1, KnobFrameIndex(position)) << "ten fine pixels make one frame";
    EXPECT_EQ(0.0f, ClampPosition(-0.5f, 90.0f));
    EXPECT_EQ(90.0f, ClampPosition(90.5f, 90.0f));
    EXPECT_EQ(12.25f, ClampPosition(12.25f, 90.0f));
}

TEST(ControlMathTest, ComboItemsWrapAndSpreadOverTheUnitRange)
{
    EXPECT_EQ(1, NextItem(3, 3));
    EXPECT_EQ(3, PreviousItem(1, 3));
    EXPECT_EQ(2, NextItem(1, 3));
    EXPECT_EQ(0, NextItem(0, 0));
    EXPECT_EQ(0, PreviousItem(0, 0));
    const float values[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const int items[] = {1, 2, 2, 3, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i], ComboItemFromValue(values[i], 3)) << values[i];
    }
    EXPECT_EQ(0.5f, ComboValueFromItem(2, 3));
    EXPECT_EQ(0.0f, ComboValueFromItem(1, 1));
    EXPECT_EQ(0.0f, ComboValueFromItem(0, 0));
}

TEST(ControlMathTest, ClampToUnitHoldsValuesInRange)
{
    EXPECT_EQ(0.0f, ClampToUnit(-1.0f));
    EXPECT_EQ(1.0f, ClampToUnit(1.5f));
    EXPECT_EQ(0.25f, ClampToUnit(0.25f));
    EXPECT_EQ(0.0f, ClampToUnit(std::nanf("")));
}

} // namespace
