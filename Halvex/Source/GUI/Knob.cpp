#include "GUI/Knob.h"

#include "Assert.h"

Knob::Knob(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* image, int knobCount)
    : DragControl(hDlg, id, parameterId, background, SliderOrientation::Vertical, DragSense::AgainstCoordinate)
    , image(image)
    , knobCount(knobCount)
    , frameHeight(0)
{
    HALVEX_ASSERT(knobCount >= 0);
    if (image != nullptr) {
        frameHeight = KnobFrameHeight(image->GetHeight(), knobCount);
    }
}

float Knob::GetValue() const
{
    return KnobValueFromPosition(GetPosition(), knobCount);
}

void Knob::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    SetPosition(KnobPositionFromValue(ClampToUnit(value), knobCount));
    InvalidateRect(hWnd, nullptr, FALSE);
}

void Knob::Draw(Gdiplus::Graphics& graphics)
{
    if (image == nullptr || frameHeight <= 0) {
        return;
    }
    int width = static_cast<int>(image->GetWidth());
    int frameTop = KnobFrameIndex(GetPosition()) * frameHeight;
    graphics.DrawImage(
        image, Gdiplus::Rect(0, 0, width, frameHeight), 0, frameTop, width, frameHeight, Gdiplus::UnitPixel);
}

// The knob is small: it repaints whole.
void Knob::InvalidateDragStep(float, float)
{
    InvalidateRect(hWnd, nullptr, FALSE);
}
