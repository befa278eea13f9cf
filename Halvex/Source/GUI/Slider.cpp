#include "GUI/Slider.h"

namespace {

int ImageWidth(Gdiplus::Bitmap* image)
{
    return image != nullptr ? static_cast<int>(image->GetWidth()) : 0;
}

int ImageHeight(Gdiplus::Bitmap* image)
{
    return image != nullptr ? static_cast<int>(image->GetHeight()) : 0;
}

} // namespace

Slider::Slider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
    SliderOrientation orientation, DisplayScale scale)
    : ParameterControl(hDlg, id, parameterId, background)
    , thumb(thumb)
    , thumbWidth(ImageWidth(thumb))
    , thumbHeight(ImageHeight(thumb))
    , orientation(orientation)
    , behaviour(*this, parameterId, thumb != nullptr,
          orientation == SliderOrientation::Horizontal ? thumbWidth : thumbHeight, orientation, scale)
{
}

void Slider::Draw(Gdiplus::Graphics& graphics)
{
    if (thumb == nullptr) {
        return;
    }
    int offset = behaviour.GetThumbOffset();
    int x = orientation == SliderOrientation::Horizontal ? offset : 0;
    int y = orientation == SliderOrientation::Horizontal ? 0 : offset;
    graphics.DrawImage(thumb, x, y, thumbWidth, thumbHeight);
}
