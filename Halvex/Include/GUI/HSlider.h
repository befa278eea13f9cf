#pragma once

#include "GUI/Slider.h"

// A horizontal slider: minimum at the left, dragged rightward to raise it.
class HSlider : public Slider {
public:
    HSlider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
        DisplayScale scale = DisplayScale())
        : Slider(hDlg, id, parameterId, background, thumb, SliderOrientation::Horizontal, scale)
    {
    }
};
