#include "GUI/PanelBitmaps.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A bitmap of one opaque colour per band of `bandHeight` rows, the bands
// taking the colours in turn: a film strip of frames of those colours.
std::unique_ptr<Gdiplus::Bitmap> Bands(
    int width, int height, int bandHeight, std::initializer_list<Gdiplus::ARGB> colours)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(bitmap.get());
    int band = 0;
    for (int top = 0; top < height; top += bandHeight, ++band) {
        Gdiplus::SolidBrush brush(Gdiplus::Color(*(colours.begin() + band % colours.size())));
        graphics.FillRectangle(&brush, 0, top, width, bandHeight);
    }
    return bitmap;
}

Gdiplus::ARGB PixelAt(Gdiplus::Bitmap* bitmap, int x, int y)
{
    Gdiplus::Color colour;
    bitmap->GetPixel(x, y, &colour);
    return colour.GetValue();
}

class PanelBitmapsTest : public ::testing::Test {
protected:
    PanelBitmapsTest() { Gdiplus::GdiplusStartup(&token, &input, nullptr); }
    ~PanelBitmapsTest() override
    {
        for (auto* images : {&original, &doubled}) {
            for (auto& image : *images) {
                image.reset();
            }
        }
        Gdiplus::GdiplusShutdown(token);
    }

    // The five pictures of a small panel, the doubled ones twice the size;
    // the knob strip holds 3 frames of 6 x 7 pixels, red, green and blue.
    void Draw(bool withDoubles)
    {
        const Gdiplus::ARGB grey = 0xFF7A8795;
        for (int resolution : {1, 2}) {
            auto& images = resolution == 1 ? original : doubled;
            if (resolution == 2 && !withDoubles) {
                break;
            }
            const int r = resolution;
            images[0] = Bands(40 * r, 10 * r, 10 * r, {grey});
            images[1] = Bands(6 * r, 21 * r, 7 * r, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
            images[2] = Bands(5 * r, 8 * r, 8 * r, {grey});
            images[3] = Bands(4 * r, 8 * r, 8 * r, {grey});
            images[4] = Bands(4 * r, 8 * r, 8 * r, {grey});
        }
    }
    static PanelBitmaps Set(std::unique_ptr<Gdiplus::Bitmap> (&images)[5])
    {
        return {images[0].get(), images[1].get(), images[2].get(), images[3].get(), images[4].get()};
    }

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    std::unique_ptr<Gdiplus::Bitmap> original[5];
    std::unique_ptr<Gdiplus::Bitmap> doubled[5];
};

} // namespace

TEST_F(PanelBitmapsTest, EachResolutionShowsItsOwnDrawingAsItIs)
{
    Draw(true);
    ScaledPanelBitmaps scaled(Set(original), Set(doubled), 3);
    EXPECT_EQ(scaled.For(DisplayScale(96)).knobStrip, original[1].get());
    EXPECT_EQ(scaled.For(DisplayScale(192)).background, doubled[0].get());
    EXPECT_EQ(scaled.For(DisplayScale(192)).switchOff, doubled[4].get());
    EXPECT_EQ(scaled.For(DisplayScale(96)).sliderThumb, original[2].get());
}

TEST_F(PanelBitmapsTest, OtherScalesResampleTheNearerDrawingFrameByFrame)
{
    Draw(true);
    ScaledPanelBitmaps scaled(Set(original), Set(doubled), 3);
    const PanelBitmaps at150 = scaled.For(DisplayScale(144));
    ASSERT_NE(at150.background, nullptr);
    EXPECT_EQ(at150.background->GetWidth(), 60u);
    EXPECT_EQ(at150.background->GetHeight(), 15u);
    EXPECT_EQ(PixelAt(at150.background, 30, 7), 0xFF7A8795u);
    ASSERT_NE(at150.knobStrip, nullptr);
    EXPECT_EQ(at150.knobStrip->GetWidth(), 9u);
    EXPECT_EQ(at150.knobStrip->GetHeight(), 3u * 11u) << "frames of 7 rows become 11 (10.5)";
    for (int frame = 0; frame < 3; ++frame) {
        const Gdiplus::ARGB colour = frame == 0 ? 0xFFFF0000 : (frame == 1 ? 0xFF00FF00 : 0xFF0000FF);
        EXPECT_EQ(PixelAt(at150.knobStrip, 4, frame * 11), colour) << "frame " << frame << ", first row";
        EXPECT_EQ(PixelAt(at150.knobStrip, 4, frame * 11 + 10), colour) << "frame " << frame << ", last row";
    }
    EXPECT_EQ(scaled.For(DisplayScale(144)).knobStrip, at150.knobStrip) << "kept while the scale stays";
    const PanelBitmaps at125 = scaled.For(DisplayScale(120));
    EXPECT_EQ(at125.sliderThumb->GetWidth(), 6u) << "6.25";
    EXPECT_EQ(at125.sliderThumb->GetHeight(), 10u);
}

TEST_F(PanelBitmapsTest, WithoutDoublesTheOriginalsAreResampledAndWithoutOriginalsNothingShows)
{
    Draw(false);
    original[3].reset();
    ScaledPanelBitmaps scaled(Set(original), Set(doubled), 3);
    const PanelBitmaps at200 = scaled.For(DisplayScale(192));
    ASSERT_NE(at200.background, nullptr);
    EXPECT_NE(at200.background, original[0].get());
    EXPECT_EQ(at200.background->GetWidth(), 80u);
    EXPECT_EQ(at200.knobStrip->GetHeight(), 42u);
    EXPECT_EQ(at200.switchOn, nullptr);
    EXPECT_NE(at200.switchOff, nullptr);
}
