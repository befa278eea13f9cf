#pragma once

#include "GUI/Slider.h"

// A vertical slider: maximum at the top, dragged downward to lower it.
class VSlider : public Slider {
public:
    VSlider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
        DisplayScale scale = DisplayScale())
        : Slider(hDlg, id, parameterId, background, thumb, SliderOrientation::Vertical, scale)
    {
    }
};
