#include "GUI/ParameterControl.h"

ParameterControl::ParameterControl(HWND hDlg, int id, int parameterId, Gdiplus::Image* background)
    : CustomControl(hDlg, id, background)
    , parameterId(parameterId)
{
}

PointerKeys ParameterControl::KeysOf(int keys)
{
    PointerKeys pointerKeys;
    pointerKeys.leftButton = (keys & MK_LBUTTON) != 0;
    pointerKeys.shift = (keys & MK_SHIFT) != 0;
    pointerKeys.control = (keys & MK_CONTROL) != 0;
    return pointerKeys;
}

void ParameterControl::OnLeftButtonDown(int keys, int x, int y)
{
    Behaviour().Press(KeysOf(keys), x, y);
}

void ParameterControl::OnLeftButtonUp(int keys, int x, int y)
{
    Behaviour().Release(KeysOf(keys), x, y);
}

void ParameterControl::OnMouseMove(int keys, int x, int y)
{
    Behaviour().Move(KeysOf(keys), x, y);
}

void ParameterControl::OnMouseHover(int, int, int)
{
    Behaviour().Hover();
}

void ParameterControl::OnMouseLeave()
{
    Behaviour().Leave();
}

// delta is the message's high word: signed, WHEEL_DELTA (120) a notch.
void ParameterControl::OnMouseWheel(int keys, int delta, int, int)
{
    Behaviour().Wheel(KeysOf(keys), static_cast<float>(static_cast<short>(delta)) / WHEEL_DELTA);
}

// The size follows every WM_SIZE.
ClientSize ParameterControl::GetClientSize() const
{
    return {rect.right, rect.bottom};
}

void ParameterControl::Repaint()
{
    InvalidateRect(hWnd, nullptr, FALSE);
}

void ParameterControl::RepaintBand(SliderOrientation axis, PixelBand band)
{
    RECT changed = rect;
    if (axis == SliderOrientation::Horizontal) {
        changed.left = band.begin;
        changed.right = band.end;
    } else {
        changed.top = band.begin;
        changed.bottom = band.end;
    }
    InvalidateRect(hWnd, &changed, FALSE);
}

void ParameterControl::HoldPointer()
{
    SetCapture(hWnd);
    savedCursor = SetCursor(nullptr);
}

void ParameterControl::MovePointer(int x, int y)
{
    POINT screen = {x, y};
    ClientToScreen(hWnd, &screen);
    SetCursorPos(screen.x, screen.y);
}

void ParameterControl::ReleasePointer(int x, int y)
{
    ReleaseCapture();
    SetCursor(savedCursor);
    MovePointer(x, y);
}
