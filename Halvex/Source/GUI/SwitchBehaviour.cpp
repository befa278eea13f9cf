#include "GUI/SwitchBehaviour.h"

#include "Assert.h"

SwitchBehaviour::SwitchBehaviour(IControlSurface& surface, int parameterId, bool hasImages)
    : ParameterBehaviour(surface, parameterId)
    , hasImages(hasImages)
{
}

float SwitchBehaviour::GetValue() const
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

void SwitchBehaviour::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    status.store(ClampToUnit(value) < 0.5f ? Off : On, std::memory_order_relaxed);
    surface.Repaint();
}

// The toggle happens on the press; there is no capture and no reset.
void SwitchBehaviour::Press(PointerKeys, int, int)
{
    if (!hasImages) {
        return;
    }
    if (status.load(std::memory_order_relaxed) == Off) {
        status.store(On, std::memory_order_relaxed);
    } else {
        HALVEX_ASSERT(status == On);
        status.store(Off, std::memory_order_relaxed);
    }
    surface.Repaint();
    NotifyChangeStep(false);
}

// Each click ends with an empty status display.
void SwitchBehaviour::Release(PointerKeys, int, int)
{
    if (!hasImages) {
        return;
    }
    NotifyUnhovered();
    surface.InteractionEnded();
}

void SwitchBehaviour::Move(PointerKeys keys, int, int)
{
    if (!keys.leftButton) {
        surface.TrackHover();
    }
}

void SwitchBehaviour::Hover()
{
    NotifyHovered();
}

void SwitchBehaviour::Leave()
{
    NotifyUnhovered();
}

ChoiceBehaviour::ChoiceBehaviour(IControlSurface& surface, int parameterId, int itemCount)
    : ParameterBehaviour(surface, parameterId)
    , itemCount(itemCount > 0 ? itemCount : 0)
{
    if (this->itemCount > 0) {
        selected.store(1, std::memory_order_relaxed);
    }
}

float ChoiceBehaviour::GetValue() const
{
    return ComboValueFromItem(GetSelected(), itemCount);
}

void ChoiceBehaviour::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    if (itemCount > 0) {
        selected.store(ComboItemFromValue(ClampToUnit(value), itemCount), std::memory_order_relaxed);
    }
    surface.Repaint();
}

void ChoiceBehaviour::Select(int item)
{
    selected.store(item, std::memory_order_relaxed);
    surface.Repaint();
    NotifyChangeStep(false);
    surface.InteractionEnded();
}

void ChoiceBehaviour::Wheel(PointerKeys, float notches)
{
    if (notches < 0.0f) {
        SelectPrevious();
    } else {
        SelectNext();
    }
}
