#pragma once

#include <cairo/cairo.h>

#include <cstdint>
#include <string>
#include <vector>

// A PNG file's pixels as 0xRRGGBB, row by row, decoded with cairo; empty
// when the file cannot be read. For tests that compare what a panel shows
// with its artwork.
struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

inline PngPicture ReadPngPicture(const std::string& path)
{
    PngPicture picture;
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        picture.width = cairo_image_surface_get_width(image);
        picture.height = cairo_image_surface_get_height(image);
        const int stride = cairo_image_surface_get_stride(image);
        cairo_surface_flush(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                picture.pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
            }
        }
    }
    cairo_surface_destroy(image);
    return picture;
}
