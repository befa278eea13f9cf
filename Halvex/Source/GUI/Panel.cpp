#include "GUI/Panel.h"

Panel::Panel(IPanelSurface& surface, AboutRect about, DisplayScale scale)
    : surface(surface)
    , about(about)
    , scale(scale)
{
}

template <class Behaviour, class... Arguments>
Behaviour& Panel::Place(int parameterId, PixelRect rect, Arguments... arguments)
{
    auto placed = std::make_unique<PlacedControl>(surface, rect);
    auto behaviour = std::make_unique<Behaviour>(*placed, parameterId, arguments...);
    Behaviour& added = *behaviour;
    placed->behaviour = std::move(behaviour);
    controls.push_back(std::move(placed));
    return added;
}

KnobBehaviour& Panel::AddKnob(int parameterId, PixelRect rect, bool hasImage, int knobCount)
{
    return Place<KnobBehaviour>(parameterId, rect, hasImage, knobCount, scale);
}

SliderBehaviour& Panel::AddSlider(
    int parameterId, PixelRect rect, bool hasThumb, int thumbExtent, SliderOrientation orientation)
{
    return Place<SliderBehaviour>(parameterId, rect, hasThumb, thumbExtent, orientation, scale);
}

SwitchBehaviour& Panel::AddSwitch(int parameterId, PixelRect rect, bool hasImages)
{
    return Place<SwitchBehaviour>(parameterId, rect, hasImages);
}

void Panel::AddObserver(IControlObserver* observer)
{
    for (auto& control : controls) {
        control->behaviour->AddObserver(observer);
    }
}

void Panel::SetParameterValue(int parameterId, float value)
{
    for (auto& control : controls) {
        if (control->behaviour->GetParameterId() == parameterId) {
            control->behaviour->SetValue(value);
        }
    }
}

Panel::PressTarget Panel::Press(PointerKeys keys, int x, int y)
{
    if (aboutShown) {
        SetAboutShown(false);
        return PressTarget::AboutDismissed;
    }
    PlacedControl* control = ControlAt(x, y);
    if (control == nullptr) {
        if (!about.Contains(x, y)) {
            return PressTarget::Nothing;
        }
        HoverOver(nullptr);
        SetAboutShown(true);
        return PressTarget::AboutShown;
    }
    pressed = control;
    keys.leftButton = true;
    control->behaviour->Press(keys, x - control->rect.left, y - control->rect.top);
    return PressTarget::Control;
}

// After a click the pointer has to move before the control under it counts
// as hovered again, as after a click on a control window.
void Panel::Release(PointerKeys keys, int x, int y)
{
    PlacedControl* control = pressed;
    if (control == nullptr) {
        return;
    }
    pressed = nullptr;
    hovered = nullptr;
    keys.leftButton = false;
    control->behaviour->Release(keys, x - control->rect.left, y - control->rect.top);
}

void Panel::Move(PointerKeys keys, int x, int y)
{
    if (pressed != nullptr) {
        pressed->behaviour->Move(keys, x - pressed->rect.left, y - pressed->rect.top);
        return;
    }
    if (aboutShown) {
        return;
    }
    PlacedControl* control = ControlAt(x, y);
    if (control != nullptr) {
        control->behaviour->Move(keys, x - control->rect.left, y - control->rect.top);
    }
    HoverOver(control);
}

void Panel::Wheel(PointerKeys keys, float notches, int x, int y)
{
    if (pressed != nullptr || aboutShown) {
        return;
    }
    if (PlacedControl* control = ControlAt(x, y)) {
        control->behaviour->Wheel(keys, notches);
    }
}

void Panel::PointerLeft()
{
    if (pressed == nullptr) {
        HoverOver(nullptr);
    }
}

void Panel::EscapePressed()
{
    SetAboutShown(false);
}

void Panel::CancelGestures()
{
    for (auto& control : controls) {
        control->behaviour->CancelGesture();
    }
    pressed = nullptr;
}

Panel::PlacedControl* Panel::ControlAt(int x, int y) const
{
    for (const auto& control : controls) {
        if (control->rect.Contains(x, y)) {
            return control.get();
        }
    }
    return nullptr;
}

void Panel::HoverOver(PlacedControl* control)
{
    if (control == hovered) {
        return;
    }
    if (hovered != nullptr) {
        hovered->behaviour->Leave();
    }
    hovered = control;
    if (hovered != nullptr) {
        hovered->behaviour->Hover();
    }
}

void Panel::SetAboutShown(bool shown)
{
    if (aboutShown != shown) {
        aboutShown = shown;
        surface.RepaintAll();
    }
}
