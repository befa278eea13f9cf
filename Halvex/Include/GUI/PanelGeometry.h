#pragma once

// A rectangle of panel pixels: left and top inclusive, width and height.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
    bool operator==(const PixelRect& other) const
    {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
};

// Where a left click on the panel opens the about box: panel pixels, all
// four bounds inclusive.
struct AboutRect {
    int top;
    int left;
    int bottom;
    int right;

    bool Contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
    bool operator==(const AboutRect& other) const
    {
        return top == other.top && left == other.left && bottom == other.bottom && right == other.right;
    }
};
