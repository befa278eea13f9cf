#pragma once

// A rectangle of panel pixels: left and top inclusive, width and height.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
};

// Where a left click on the panel opens the about box: panel pixels, all
// four bounds inclusive.
struct AboutRect {
    int top;
    int left;
    int bottom;
    int right;

    bool Contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};
