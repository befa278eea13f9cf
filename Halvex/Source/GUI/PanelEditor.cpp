#include "GUI/PanelEditor.h"

PanelEditor::PanelEditor(
    AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout)
    : Editor(effect, parameters)
    , observer(observer)
    , layout(std::move(layout))
{
    SetViewSize(this->layout.width, this->layout.height);
}

bool PanelEditor::getRect(ERect** rect)
{
    if (!HasView()) {
        SetScaledSize(ClosedViewScale());
    }
    *rect = GetViewSize();
    return true;
}

// The host sized its window from the last getRect.
void PanelEditor::ViewShownAt(DisplayScale scale)
{
    if (SetScaledSize(scale) && observer != nullptr) {
        observer->ResizeEditor(GetViewSize()->right, GetViewSize()->bottom);
    }
}

bool PanelEditor::SetScaledSize(DisplayScale scale)
{
    return SetViewSize(scale.Pixels(layout.width), scale.Pixels(layout.height));
}
