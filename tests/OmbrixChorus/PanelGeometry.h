#pragma once

// Where the chorus panel puts its parts, in panel pixels at 96 dpi: for the
// editor tests of every plug-in format, which point at them and read them
// back.

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int PanelWidth = 400;
constexpr int PanelHeight = 84;

struct Rect {
    int left;
    int top;
    int width;
    int height;
    constexpr int CentreX() const { return left + width / 2; }
    constexpr int CentreY() const { return top + height / 2; }
};

// Each parameter's control, by parameter id.
constexpr Rect ControlRects[8] = {{3, 34, 18, 31}, {53, 39, 26, 28}, {86, 39, 29, 28}, {122, 39, 29, 28},
    {326, 37, 56, 20}, {155, 39, 30, 28}, {212, 39, 20, 29}, {276, 39, 20, 29}};
constexpr Rect StatusRect = {293, 3, 101, 23};
constexpr Rect TitleStrip = {0, 0, 226, 26};

// Pixels as 0xRRGGBB, row by row.
using Pixels = std::vector<std::uint32_t>;

// The rectangle of a picture `width` pixels wide.
inline Pixels Cut(const Pixels& picture, int width, const Rect& rect)
{
    Pixels cut;
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            cut.push_back(picture[static_cast<std::size_t>(y * width + x)]);
        }
    }
    return cut;
}
