#include "GUI/DragControl.h"

DragControl::DragControl(
    HWND hDlg, int id, int parameterId, Gdiplus::Image* background, SliderOrientation axis, DragSense sense)
    : ParameterControl(hDlg, id, parameterId, background)
    , axis(axis)
    , sense(sense)
{
}

void DragControl::OnLeftButtonDown(int keys, int x, int y)
{
    if (!HasImage()) {
        return;
    }
    if (keys & MK_CONTROL) {
        NotifyReset();
    }
    SetCapture(hWnd);
    savedCursor = SetCursor(nullptr);
    GetCursorPos(&savedCursorPos);
    lastCoordinate = AxisCoordinate(x, y);
    dragging = true;
}

void DragControl::OnMouseMove(int keys, int x, int y)
{
    if (!HasImage()) {
        return;
    }
    if (!(keys & MK_LBUTTON)) {
        RequestHoverTracking();
        return;
    }
    if (!dragging) {
        return;
    }
    float oldPosition = GetPosition();
    float delta = DragDelta(lastCoordinate, AxisCoordinate(x, y), sense, (keys & MK_SHIFT) != 0);
    float newPosition = ClampPosition(oldPosition + delta, GetPositionLimit());
    SetPosition(newPosition);
    POINT pointer = {x, y};
    if (PtInRect(&rect, pointer)) {
        lastCoordinate = AxisCoordinate(x, y);
    } else {
        // Put the hidden pointer back where the press happened, so that it
        // never leaves the control and the drag has no length limit.
        SetCursorPos(savedCursorPos.x, savedCursorPos.y);
        POINT pressPoint = savedCursorPos;
        ScreenToClient(hWnd, &pressPoint);
        lastCoordinate = AxisCoordinate(pressPoint.x, pressPoint.y);
    }
    InvalidateDragStep(oldPosition, newPosition);
    NotifyChanged(true);
}

// The release sends no notification: the drag's last ChangeParameter stands.
void DragControl::OnLeftButtonUp(int, int, int)
{
    if (!HasImage() || !dragging) {
        return;
    }
    dragging = false;
    ReleaseCapture();
    SetCursor(savedCursor);
    POINT releasePoint = GetReleasePoint();
    SetCursorPos(releasePoint.x, releasePoint.y);
    ReturnFocus();
}

void DragControl::OnMouseHover(int, int, int)
{
    if (HasImage()) {
        NotifyHovered();
    }
}

void DragControl::OnMouseLeave()
{
    if (HasImage()) {
        NotifyUnhovered();
    }
}
