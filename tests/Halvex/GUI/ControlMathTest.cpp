#include "GUI/ControlMath.h"

#include <gtest/gtest.h>

#include <cmath>

// The edge cases of the controls' arithmetic; the window tests cover the
// mappings as the controls use them.
namespace {

TEST(ControlMathTest, KnobFramesUseUnsignedDivisionAndFewFramesStayAtZero)
{
    EXPECT_EQ(27, KnobFrameHeight(2457, 91));
    EXPECT_EQ(2, KnobFrameHeight(5, 2));
    EXPECT_EQ(0, KnobFrameHeight(2457, 0));
    EXPECT_EQ(89, KnobFrameIndex(KnobPositionFromValue(0.999f, 91)));
    for (int knobCount : {0, 1}) {
        EXPECT_EQ(0.0f, ClampPosition(50.0f, KnobPositionLimit(knobCount))) << knobCount;
        EXPECT_EQ(0.0f, KnobPositionFromValue(1.0f, knobCount)) << knobCount;
    }
}

TEST(ControlMathTest, SlidersWithoutTravelReportTheirRestingEnd)
{
    EXPECT_EQ(0, SliderTravel(15, 15, true));
    EXPECT_EQ(0, SliderTravel(10, 15, true));
    EXPECT_EQ(0, SliderTravel(60, 15, false));
    EXPECT_EQ(0.0f, SliderValueFromPosition(0.0f, 0, SliderOrientation::Horizontal));
    EXPECT_EQ(1.0f, SliderValueFromPosition(0.0f, 0, SliderOrientation::Vertical));
    EXPECT_EQ(0.0f, SliderPositionFromValue(0.3f, 0, SliderOrientation::Vertical));
}

TEST(ControlMathTest, SweptBandIsTheSameInBothDirections)
{
    PixelBand forward = SliderSweptBand(2.5f, 10.7f, 15);
    PixelBand backward = SliderSweptBand(10.7f, 2.5f, 15);
    EXPECT_EQ(2, forward.begin);
    EXPECT_EQ(25, forward.end);
    EXPECT_EQ(forward.begin, backward.begin);
    EXPECT_EQ(forward.end, backward.end);
}

TEST(ControlMathTest, ComboWithoutItemsSelectsNothing)
{
    EXPECT_EQ(0, NextItem(0, 0));
    EXPECT_EQ(0, PreviousItem(0, 0));
    EXPECT_EQ(0, ComboItemFromValue(0.7f, 0));
    EXPECT_EQ(0.0f, ComboValueFromItem(0, 0));
    EXPECT_EQ(0.0f, ComboValueFromItem(1, 1));
}

TEST(ControlMathTest, ClampToUnitTurnsNanIntoZero)
{
    EXPECT_EQ(0.0f, ClampToUnit(-1.0f));
    EXPECT_EQ(1.0f, ClampToUnit(1.5f));
    EXPECT_EQ(0.25f, ClampToUnit(0.25f));
    EXPECT_EQ(0.0f, ClampToUnit(std::nanf("")));
}

} // namespace
