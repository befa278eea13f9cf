#include "GUI/DisplayScale.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(DisplayScaleTest, PixelsRoundToTheNearestWithHalvesUp)
{
    EXPECT_EQ(DisplayScale(96).Pixels(27), 27);
    EXPECT_EQ(DisplayScale(120).Pixels(27), 34) << "33.75";
    EXPECT_EQ(DisplayScale(120).Pixels(2), 3) << "2.5";
    EXPECT_EQ(DisplayScale(144).Pixels(27), 41) << "40.5";
    EXPECT_EQ(DisplayScale(192).Pixels(27), 54);
    EXPECT_EQ(DisplayScale(110).Pixels(400), 458) << "458.33";
    EXPECT_FLOAT_EQ(DisplayScale(144).GetFactor(), 1.5f);
}

TEST(DisplayScaleTest, ResolutionsOutsideOneToFourTimesAreHeldAtTheEnds)
{
    EXPECT_EQ(DisplayScale(0).GetDpi(), 96);
    EXPECT_EQ(DisplayScale(72).GetDpi(), 96) << "the panel never shrinks below its artwork";
    EXPECT_EQ(DisplayScale(1000).GetDpi(), 384);
    EXPECT_EQ(DisplayScale(), DisplayScale(96));
}

// Rectangles scale by their edges: neighbours that touch at 96 dpi still
// touch, and nothing leaves the scaled panel.
TEST(DisplayScaleTest, RectanglesScaleByTheirEdges)
{
    const DisplayScale scale(120);
    const PixelRect left = scale.Rect({53, 39, 26, 28});
    const PixelRect right = scale.Rect({79, 39, 7, 28});
    EXPECT_TRUE(left == (PixelRect {66, 49, 33, 35}));
    EXPECT_EQ(left.left + left.width, right.left);
    const PixelRect status = scale.Rect({293, 3, 101, 23});
    EXPECT_TRUE(status == (PixelRect {366, 4, 127, 29})) << "edges 366.25, 3.75, 492.5, 32.5";
    EXPECT_LE(status.left + status.width, scale.Pixels(400));
}

// The about area's bounds are inclusive: its last pixel is the one before
// the scaled end, so a click one pixel beyond it at 96 dpi stays outside.
TEST(DisplayScaleTest, AboutAreasKeepTheirInclusiveBounds)
{
    const AboutRect title = {0, 0, 25, 225};
    EXPECT_TRUE(DisplayScale(96).About(title) == title);
    EXPECT_TRUE(DisplayScale(192).About(title) == (AboutRect {0, 0, 51, 451}));
    EXPECT_TRUE(DisplayScale(144).About(title) == (AboutRect {0, 0, 38, 338}));
    EXPECT_TRUE(DisplayScale(144).About({4, 6, 20, 40}) == (AboutRect {6, 9, 31, 61}));
}

TEST(DisplayScaleTest, TheArtworkDrawnAtTwiceTheSizeServesFromOneAndAHalfTimesOn)
{
    EXPECT_EQ(DisplayScale(96).ArtworkResolution(), 1);
    EXPECT_EQ(DisplayScale(143).ArtworkResolution(), 1);
    EXPECT_EQ(DisplayScale(144).ArtworkResolution(), 2);
    EXPECT_EQ(DisplayScale(384).ArtworkResolution(), 2);
}

TEST(DesktopScaleTest, GdkScaleWinsOverXftDpi)
{
    EXPECT_EQ(DesktopScale("2", "Xft.dpi:\t144\n").GetDpi(), 192);
    EXPECT_EQ(DesktopScale("1", "Xft.dpi:\t192\n").GetDpi(), 96) << "a desktop at 1x that renders text larger";
    EXPECT_EQ(DesktopScale("3", nullptr).GetDpi(), 288);
    EXPECT_EQ(DesktopScale("99", nullptr).GetDpi(), 384);
}

TEST(DesktopScaleTest, MalformedGdkScalesAreIgnored)
{
    for (const char* text : {"", "0", "-2", "1.5", "2x", " 2", "two"}) {
        EXPECT_EQ(DesktopScale(text, "Xft.dpi: 144").GetDpi(), 144) << '"' << text << '"';
    }
}

TEST(DesktopScaleTest, XftDpiIsFoundOnAnyLineOfTheResources)
{
    EXPECT_EQ(DesktopScale(nullptr, "Xft.antialias:\t1\nXft.dpi:\t120\nXft.hinting:\t1\n").GetDpi(), 120);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi : 144").GetDpi(), 144);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t143.5\n").GetDpi(), 144);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi: 191.4").GetDpi(), 191);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpis: 192\nXft.dpi: 120").GetDpi(), 120);
    EXPECT_EQ(DesktopScale(nullptr, "*dpi: 192\nXcursor.size: 48").GetDpi(), 96);
    EXPECT_EQ(DesktopScale(nullptr, nullptr).GetDpi(), 96);
    EXPECT_EQ(DesktopScale(nullptr, "").GetDpi(), 96);
}

TEST(DesktopScaleTest, MalformedXftDpiValuesAreIgnored)
{
    for (const char* resources : {"Xft.dpi:", "Xft.dpi: high", "Xft.dpi: 144 dpi", "Xft.dpi 144", "Xft.dpi: -144",
             "Xft.dpi: 99999999999999999999"}) {
        EXPECT_EQ(DesktopScale(nullptr, resources).GetDpi(), 96) << resources;
    }
}

// A host may run with a locale whose decimal mark is a comma.
TEST(DesktopScaleTest, XftDpiReadsTheSameInAnyLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    for (const char* locale : {"de_DE.UTF-8", "fr_FR.UTF-8", "C"}) {
        std::setlocale(LC_NUMERIC, locale);
        EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi: 144.0").GetDpi(), 144) << locale;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
