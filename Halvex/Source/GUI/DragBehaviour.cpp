#include "GUI/DragBehaviour.h"

#include "Assert.h"

DragBehaviour::DragBehaviour(IControlSurface& surface, int parameterId, bool active, SliderOrientation axis,
    DragSense sense, float valueSense, float pixelsPerUnit, float wheelStep)
    : ParameterBehaviour(surface, parameterId)
    , active(active)
    , axis(axis)
    , sense(sense)
    , valueSense(valueSense)
    , pixelsPerUnit(pixelsPerUnit)
    , wheelStep(wheelStep)
{
}

void DragBehaviour::Press(PointerKeys keys, int x, int y)
{
    if (!active) {
        return;
    }
    // A release that never came (the pointer was taken away) ends the last drag.
    EndEdit();
    if (keys.control) {
        NotifyBeginEdit();
        NotifyReset();
        NotifyEndEdit();
    }
    surface.HoldPointer();
    pressX = x;
    pressY = y;
    lastCoordinate = AxisCoordinate(x, y);
    dragging = true;
}

void DragBehaviour::Move(PointerKeys keys, int x, int y)
{
    if (!active) {
        return;
    }
    if (!keys.leftButton) {
        surface.TrackHover();
        return;
    }
    if (!dragging) {
        return;
    }
    const float oldPosition = GetPosition();
    const float delta = DragDelta(lastCoordinate, AxisCoordinate(x, y), sense, keys.shift) / pixelsPerUnit;
    const float newPosition = ClampPosition(oldPosition + delta, GetPositionLimit());
    SetPosition(newPosition);
    const ClientSize size = surface.GetClientSize();
    if (x >= 0 && y >= 0 && x < size.width && y < size.height) {
        lastCoordinate = AxisCoordinate(x, y);
    } else {
        // Put the hidden pointer back where the press happened, so that it
        // never leaves the control and the drag has no length limit.
        surface.MovePointer(pressX, pressY);
        lastCoordinate = AxisCoordinate(pressX, pressY);
    }
    RepaintStep(oldPosition, newPosition);
    if (!editing) {
        editing = true;
        NotifyBeginEdit();
    }
    NotifyChanged(true);
}

// The release sends no change: the drag's last ChangeParameter stands.
void DragBehaviour::Release(PointerKeys, int, int)
{
    if (!active || !dragging) {
        return;
    }
    dragging = false;
    if (axis == SliderOrientation::Horizontal) {
        surface.ReleasePointer(GetReleaseCoordinate(pressX), pressY);
    } else {
        surface.ReleasePointer(pressX, GetReleaseCoordinate(pressY));
    }
    surface.InteractionEnded();
    EndEdit();
}

void DragBehaviour::Hover()
{
    if (active) {
        NotifyHovered();
    }
}

void DragBehaviour::Leave()
{
    if (active) {
        NotifyUnhovered();
    }
}

void DragBehaviour::Wheel(PointerKeys keys, float notches)
{
    if (!active || dragging || notches == 0.0f) {
        return;
    }
    const float step = notches * valueSense * wheelStep;
    const float oldPosition = GetPosition();
    const float newPosition = ClampPosition(oldPosition + (keys.shift ? step * 0.1f : step), GetPositionLimit());
    SetPosition(newPosition);
    RepaintStep(oldPosition, newPosition);
    NotifyChangeStep(true);
}

void DragBehaviour::CancelGesture()
{
    dragging = false;
    EndEdit();
}

void DragBehaviour::EndEdit()
{
    if (editing) {
        editing = false;
        NotifyEndEdit();
    }
}

KnobBehaviour::KnobBehaviour(
    IControlSurface& surface, int parameterId, bool hasImage, int knobCount, DisplayScale scale)
    : DragBehaviour(surface, parameterId, hasImage, SliderOrientation::Vertical, DragSense::AgainstCoordinate, 1.0f,
        scale.GetFactor(), WheelStepPixels)
    , knobCount(knobCount)
{
    HALVEX_ASSERT(knobCount >= 0);
}

float KnobBehaviour::GetValue() const
{
    return KnobValueFromPosition(GetPosition(), knobCount);
}

void KnobBehaviour::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    SetPosition(KnobPositionFromValue(ClampToUnit(value), knobCount));
    surface.Repaint();
}

SliderBehaviour::SliderBehaviour(IControlSurface& surface, int parameterId, bool hasThumb, int thumbExtent,
    SliderOrientation orientation, DisplayScale scale)
    : DragBehaviour(surface, parameterId, hasThumb, orientation, DragSense::WithCoordinate,
        orientation == SliderOrientation::Horizontal ? 1.0f : -1.0f, 1.0f, WheelStepPixels * scale.GetFactor())
    , thumbExtent(thumbExtent)
{
}

// The control's size is read afresh: the window may have been resized.
int SliderBehaviour::GetTravel() const
{
    const ClientSize size = surface.GetClientSize();
    const int extent = GetAxis() == SliderOrientation::Horizontal ? size.width : size.height;
    return SliderTravel(extent, thumbExtent, IsActive());
}

float SliderBehaviour::GetValue() const
{
    return SliderValueFromPosition(GetPosition(), GetTravel(), GetAxis());
}

void SliderBehaviour::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    SetPosition(SliderPositionFromValue(ClampToUnit(value), GetTravel(), GetAxis()));
    surface.Repaint();
}

void SliderBehaviour::RepaintStep(float oldPosition, float newPosition)
{
    surface.RepaintBand(GetAxis(), SliderSweptBand(oldPosition, newPosition, thumbExtent));
}
