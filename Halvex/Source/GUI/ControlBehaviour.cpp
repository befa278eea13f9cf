#include "GUI/ControlBehaviour.h"

#include <algorithm>

ParameterBehaviour::ParameterBehaviour(IControlSurface& surface, int parameterId)
    : surface(surface)
    , parameterId(parameterId)
{
}

void ParameterBehaviour::AddObserver(IControlObserver* observer)
{
    if (observer != nullptr) {
        observers.push_back(observer);
    }
}

void ParameterBehaviour::RemoveObserver(IControlObserver* observer)
{
    observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

// The loops index the list: an observer reacting to a call may reach back
// into the control (the reset pushes the default through SetValue).
void ParameterBehaviour::NotifyReset()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ResetParameter(parameterId);
    }
}

void ParameterBehaviour::NotifyChanged(bool showStatus)
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ChangeParameter(parameterId, GetValue(), showStatus);
    }
}

void ParameterBehaviour::NotifyHovered()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ShowParameterStatus(parameterId);
    }
}

void ParameterBehaviour::NotifyUnhovered()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->ClearStatus();
    }
}

void ParameterBehaviour::NotifyBeginEdit()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->BeginParameterEdit(parameterId);
    }
}

void ParameterBehaviour::NotifyEndEdit()
{
    for (size_t i = 0; i < observers.size(); ++i) {
        observers[i]->EndParameterEdit(parameterId);
    }
}

void ParameterBehaviour::NotifyChangeStep(bool showStatus)
{
    NotifyBeginEdit();
    NotifyChanged(showStatus);
    NotifyEndEdit();
}
