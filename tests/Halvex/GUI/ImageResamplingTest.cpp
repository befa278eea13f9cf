#include "GUI/ImageResampling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t Argb(unsigned a, unsigned r, unsigned g, unsigned b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

unsigned Alpha(std::uint32_t pixel)
{
    return pixel >> 24;
}

unsigned Red(std::uint32_t pixel)
{
    return (pixel >> 16) & 0xFF;
}

// An image of its own pixels, rows padded by two so that strides count.
struct Image {
    Image(int width, int height, std::uint32_t fill = 0)
        : width(width)
        , height(height)
        , pixels(static_cast<size_t>((width + 2) * height), fill)
    {
    }
    PixelImage View() { return {pixels.data(), width, height, width + 2}; }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y * (width + 2) + x)]; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

TEST(ImageResamplingTest, EqualSizesCopyEveryPixelUnchanged)
{
    Image source(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            source.At(x, y) = Argb(static_cast<unsigned>(40 * y + 10), static_cast<unsigned>(x), 7, 200);
        }
    }
    Image target(5, 3, 0xDEADBEEF);
    ResampleImage(source.View(), target.View());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(target.At(x, y), source.At(x, y)) << x << ", " << y;
        }
        EXPECT_EQ(target.pixels[static_cast<size_t>(y * 7 + 5)], 0xDEADBEEFu) << "the padding is not written";
    }
}

TEST(ImageResamplingTest, AUniformImageStaysUniformGrowingAndShrinking)
{
    const std::uint32_t colour = Argb(255, 122, 135, 149);
    for (const auto& size : {std::pair<int, int> {30, 34}, {12, 9}, {7, 41}, {1, 1}}) {
        Image source(24, 27, colour);
        Image target(size.first, size.second);
        ResampleImage(source.View(), target.View());
        for (int y = 0; y < target.height; ++y) {
            for (int x = 0; x < target.width; ++x) {
                ASSERT_EQ(target.At(x, y), colour) << size.first << " x " << size.second << " at " << x << ", " << y;
            }
        }
    }
}

// Premultiplied pixels blend without the dark fringe that straight alpha
// gives: at the edge of an opaque red square on transparency, every pixel
// is red of some coverage, never a darker red.
TEST(ImageResamplingTest, EdgesAgainstTransparencyKeepTheirColour)
{
    Image source(8, 8, 0);
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 6; ++x) {
            source.At(x, y) = Argb(255, 255, 0, 0);
        }
    }
    Image target(12, 12);
    ResampleImage(source.View(), target.View());
    int partial = 0;
    for (std::uint32_t pixel : target.pixels) {
        EXPECT_EQ(Red(pixel), Alpha(pixel));
        EXPECT_EQ(pixel & 0xFFFF, 0u);
        partial += Alpha(pixel) > 0 && Alpha(pixel) < 255 ? 1 : 0;
    }
    EXPECT_GT(partial, 0) << "the edges are smooth";
    EXPECT_EQ(target.At(0, 0), 0u) << "transparent corners stay so";
    EXPECT_EQ(target.At(6, 6), Argb(255, 255, 0, 0)) << "the middle stays opaque";
}

// Shrinking averages what a target pixel covers: a fine checkerboard
// becomes grey, not a pattern of its own.
TEST(ImageResamplingTest, ShrinkingAveragesFineDetail)
{
    Image source(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            source.At(x, y) = (x + y) % 2 == 0 ? Argb(255, 255, 255, 255) : Argb(255, 0, 0, 0);
        }
    }
    Image target(6, 6);
    ResampleImage(source.View(), target.View());
    for (int y = 1; y < 5; ++y) {
        for (int x = 1; x < 5; ++x) {
            EXPECT_NEAR(Red(target.At(x, y)), 128, 12) << x << ", " << y;
        }
    }
}

// Growing interpolates: a ramp stays a ramp, rising along the row, and its
// ends stay at the source's end values.
TEST(ImageResamplingTest, GrowingInterpolatesBetweenNeighbours)
{
    Image source(4, 1);
    for (int x = 0; x < 4; ++x) {
        source.At(x, 0) = Argb(255, static_cast<unsigned>(60 * x), 0, 0);
    }
    Image target(10, 1);
    ResampleImage(source.View(), target.View());
    EXPECT_EQ(Red(target.At(0, 0)), 0u);
    EXPECT_EQ(Red(target.At(9, 0)), 180u);
    for (int x = 1; x < 10; ++x) {
        EXPECT_GE(Red(target.At(x, 0)), Red(target.At(x - 1, 0))) << x;
    }
    EXPECT_GT(Red(target.At(5, 0)), Red(target.At(4, 0)));
}

// The frames of a film strip are resampled apart: the last rows of one
// frame never take colour from the first rows of the next.
TEST(ImageResamplingTest, FilmStripFramesNeverBleedIntoEachOther)
{
    const std::uint32_t colours[3] = {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255)};
    Image source(4, 3 * 5);
    for (int frame = 0; frame < 3; ++frame) {
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 4; ++x) {
                source.At(x, frame * 5 + y) = colours[frame];
            }
        }
    }
    Image target(6, 3 * 7 + 2, 0x12345678);
    ResampleFilmStrip(source.View(), target.View(), 3);
    for (int frame = 0; frame < 3; ++frame) {
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 6; ++x) {
                ASSERT_EQ(target.At(x, frame * 7 + y), colours[frame]) << "frame " << frame << " row " << y;
            }
        }
    }
    EXPECT_EQ(target.At(0, 21), 0x12345678u) << "rows below the last frame are left alone";
}

} // namespace
