#include "GUI/Knob.h"

Knob::Knob(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* image, int knobCount,
    DisplayScale scale)
    : ParameterControl(hDlg, id, parameterId, background)
    , image(image)
    , frameHeight(image != nullptr ? KnobFrameHeight(image->GetHeight(), knobCount) : 0)
    , behaviour(*this, parameterId, image != nullptr, knobCount, scale)
{
}

void Knob::Draw(Gdiplus::Graphics& graphics)
{
    if (image == nullptr || frameHeight <= 0) {
        return;
    }
    int width = static_cast<int>(image->GetWidth());
    int frameTop = behaviour.GetFrameIndex() * frameHeight;
    graphics.DrawImage(
        image, Gdiplus::Rect(0, 0, width, frameHeight), 0, frameTop, width, frameHeight, Gdiplus::UnitPixel);
}
