#include "GUI/ParameterControl.h"

#include <algorithm>

ParameterControl::ParameterControl(HWND hDlg, int id, int parameterId, Gdiplus::Image* background)
    : CustomControl(hDlg, id, background)
    , parameterId(parameterId)
{
}

void ParameterControl::AddObserver(IControlObserver* observer)
{
    if (observer != nullptr) {
        observers.push_back(observer);
    }
}

void ParameterControl::RemoveObserver(IControlObserver* observer)
{
    observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

// The loops index the list: an observer reacting to a call may reach back
// into the control (the reset pushes the default through SetValue).
void ParameterControl::NotifyReset()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ResetParameter(parameterId);
    }
}

void ParameterControl::NotifyChanged(bool showStatus)
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ChangeParameter(parameterId, GetValue(), showStatus);
    }
}

void ParameterControl::NotifyHovered()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ShowParameterStatus(parameterId);
    }
}

void ParameterControl::NotifyUnhovered()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ClearStatus();
    }
}
