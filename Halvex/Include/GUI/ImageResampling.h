#pragma once

#include <cstdint>

// An image in memory as GDI+ (PixelFormat32bppPARGB) and cairo
// (CAIRO_FORMAT_ARGB32) both keep it: rows of 32-bit pixels, alpha in the
// top byte, then red, green and blue premultiplied by alpha; stride counts
// pixels from one row to the next.
struct PixelImage {
    std::uint32_t* pixels;
    int width;
    int height;
    int stride;
};

// Resamples source into target, whatever their sizes, with a triangle
// filter widened to the source pixels a target pixel covers when it
// shrinks (bilinear interpolation when it grows), edges extended: smooth
// without ringing, and transparent pixels never darken their neighbours.
// At equal sizes every pixel comes out unchanged. Allocates working memory;
// any thread.
void ResampleImage(const PixelImage& source, const PixelImage& target);

// A film strip of frameCount frames stacked top to bottom, resampled frame
// by frame into target's frameCount frames of equal height, so that no
// frame bleeds into its neighbours. Rows left over below the last frame of
// either strip are not read or written.
void ResampleFilmStrip(const PixelImage& source, const PixelImage& target, int frameCount);
