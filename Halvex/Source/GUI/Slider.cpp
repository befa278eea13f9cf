#include "GUI/Slider.h"

#include "Assert.h"

Slider::Slider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
    SliderOrientation orientation)
    : DragControl(hDlg, id, parameterId, background, orientation, DragSense::WithCoordinate)
    , thumb(thumb)
    , thumbWidth(0)
    , thumbHeight(0)
{
    if (thumb != nullptr) {
        thumbWidth = static_cast<int>(thumb->GetWidth());
        thumbHeight = static_cast<int>(thumb->GetHeight());
    }
}

int Slider::GetThumbExtent() const
{
    return GetAxis() == SliderOrientation::Horizontal ? thumbWidth : thumbHeight;
}

int Slider::GetTravel(const RECT& clientRect) const
{
    int controlExtent = GetAxis() == SliderOrientation::Horizontal ? clientRect.right : clientRect.bottom;
    return SliderTravel(controlExtent, GetThumbExtent(), thumb != nullptr);
}

// The value mapping reads the window's size afresh; the drag uses rect,
// which follows every WM_SIZE.
int Slider::GetTravel() const
{
    RECT clientRect = {0, 0, 0, 0};
    GetClientRect(hWnd, &clientRect);
    return GetTravel(clientRect);
}

float Slider::GetValue() const
{
    return SliderValueFromPosition(GetPosition(), GetTravel(), GetAxis());
}

void Slider::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    SetPosition(SliderPositionFromValue(ClampToUnit(value), GetTravel(), GetAxis()));
    InvalidateRect(hWnd, nullptr, FALSE);
}

void Slider::Draw(Gdiplus::Graphics& graphics)
{
    if (thumb == nullptr) {
        return;
    }
    int offset = static_cast<int>(GetPosition());
    int x = GetAxis() == SliderOrientation::Horizontal ? offset : 0;
    int y = GetAxis() == SliderOrientation::Horizontal ? 0 : offset;
    graphics.DrawImage(thumb, x, y, thumbWidth, thumbHeight);
}

float Slider::GetPositionLimit() const
{
    return static_cast<float>(GetTravel(rect));
}

// Only the band the thumb sweeps is repainted.
void Slider::InvalidateDragStep(float oldPosition, float newPosition)
{
    PixelBand band = SliderSweptBand(oldPosition, newPosition, GetThumbExtent());
    RECT changed = rect;
    if (GetAxis() == SliderOrientation::Horizontal) {
        changed.left = band.begin;
        changed.right = band.end;
    } else {
        changed.top = band.begin;
        changed.bottom = band.end;
    }
    InvalidateRect(hWnd, &changed, FALSE);
}

POINT Slider::GetReleasePoint() const
{
    int offset = static_cast<int>(GetPosition());
    POINT thumbEdge = {0, 0};
    if (GetAxis() == SliderOrientation::Horizontal) {
        thumbEdge.x = offset;
    } else {
        thumbEdge.y = offset;
    }
    ClientToScreen(hWnd, &thumbEdge);
    POINT releasePoint = savedCursorPos;
    if (GetAxis() == SliderOrientation::Horizontal) {
        releasePoint.x = thumbEdge.x;
    } else {
        releasePoint.y = thumbEdge.y;
    }
    return releasePoint;
}
