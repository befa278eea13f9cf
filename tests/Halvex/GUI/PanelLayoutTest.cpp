#include "GUI/PanelLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(PanelLayoutTest, PicturesFitWhereTheScaleMatchesTheirDrawingAndScaleFrameByFrameElsewhere)
{
    const PicturePlan original = PlanPicture(DisplayScale(96), 24, 2457, true, 91);
    EXPECT_FALSE(original.fromDoubled);
    EXPECT_EQ(original.width, 24);
    EXPECT_EQ(original.height, 2457);
    const PicturePlan doubled = PlanPicture(DisplayScale(192), 24, 2457, true, 91);
    EXPECT_TRUE(doubled.fromDoubled);
    EXPECT_EQ(doubled.width, 48);
    EXPECT_EQ(doubled.height, 2 * 2457);
    const PicturePlan between = PlanPicture(DisplayScale(120), 24, 2457, true, 91);
    EXPECT_FALSE(between.fromDoubled) << "1.25 lies nearer to 1 than to 2";
    EXPECT_EQ(between.width, 30);
    EXPECT_EQ(between.height, 91 * 34) << "each 27-row frame becomes 34 rows";
    const PicturePlan withoutDouble = PlanPicture(DisplayScale(144), 400, 84, false);
    EXPECT_FALSE(withoutDouble.fromDoubled);
    EXPECT_EQ(withoutDouble.width, 600);
    EXPECT_EQ(withoutDouble.height, 126);
}

TEST(PanelLayoutTest, ALayoutScalesItsSizeRectanglesAboutAreaAndStatusFont)
{
    PanelLayout layout = {};
    layout.width = 400;
    layout.height = 84;
    layout.controls = {{1, PlacedControlKind::Knob, {53, 39, 26, 28}, 1002}};
    layout.status = {293, 3, 101, 23};
    layout.statusItemId = 1000;
    layout.statusFontHeight = 12;
    layout.about = {0, 0, 25, 225};
    const PanelLayout scaled = ScaleLayout(layout, DisplayScale(144));
    EXPECT_EQ(scaled.width, 600);
    EXPECT_EQ(scaled.height, 126);
    EXPECT_TRUE(scaled.controls[0].rect == (PixelRect {80, 59, 39, 42}));
    EXPECT_EQ(scaled.controls[0].dialogItemId, 1002);
    EXPECT_TRUE(scaled.status == (PixelRect {440, 5, 151, 34}));
    EXPECT_EQ(scaled.statusItemId, 1000);
    EXPECT_EQ(scaled.statusFontHeight, 18);
    EXPECT_TRUE(scaled.about == (AboutRect {0, 0, 38, 338}));
}

} // namespace
