#include "GUI/Switch.h"

#include "Assert.h"
#include "GUI/ControlMath.h"

Switch::Switch(
    HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Image* onImage, Gdiplus::Image* offImage)
    : ParameterControl(hDlg, id, parameterId, background)
    , onImage(onImage)
    , offImage(offImage)
{
}

float Switch::GetValue() const
{
    switch (status.load(std::memory_order_relaxed)) {
    case On:
        return 1.0f;
    case Off:
        return 0.0f;
    default:
        HALVEX_ASSERT(0);
        return 0.0f;
    }
}

void Switch::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    status.store(ClampToUnit(value) < 0.5f ? Off : On, std::memory_order_relaxed);
    InvalidateRect(hWnd, nullptr, FALSE);
}

void Switch::Draw(Gdiplus::Graphics& graphics)
{
    if (!HasImages()) {
        return;
    }
    Gdiplus::Image* image = nullptr;
    switch (status.load(std::memory_order_relaxed)) {
    case On:
        image = onImage;
        break;
    case Off:
        image = offImage;
        break;
    default:
        HALVEX_ASSERT(0);
        return;
    }
    graphics.DrawImage(image, 0, 0, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
}

// The toggle happens on the press; there is no capture and no reset.
void Switch::OnLeftButtonDown(int, int, int)
{
    if (!HasImages()) {
        return;
    }
    if (status.load(std::memory_order_relaxed) == Off) {
        status.store(On, std::memory_order_relaxed);
    } else {
        HALVEX_ASSERT(status == On);
        status.store(Off, std::memory_order_relaxed);
    }
    InvalidateRect(hWnd, nullptr, FALSE);
    NotifyChanged(false);
}

// Each click ends with an empty status display.
void Switch::OnLeftButtonUp(int, int, int)
{
    if (!HasImages()) {
        return;
    }
    NotifyUnhovered();
    ReturnFocus();
}

void Switch::OnMouseMove(int keys, int, int)
{
    if (!(keys & MK_LBUTTON)) {
        RequestHoverTracking();
    }
}

void Switch::OnMouseHover(int, int, int)
{
    NotifyHovered();
}

void Switch::OnMouseLeave()
{
    NotifyUnhovered();
}
