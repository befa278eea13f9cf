#pragma once

#include "GUI/CustomControl.h"
#include "IControlObserver.h"

#include <vector>

// A control that stands for one plug-in parameter: a normalised value in
// [0, 1] and the observers it tells about user actions. SetValue (effect to
// control) moves the control and repaints it but never calls an observer;
// it may be called from the thread the host sets parameters on. Observers
// are not owned and are called in the order they were added.
class ParameterControl : public CustomControl {
public:
    ParameterControl(HWND hDlg, int id, int parameterId, Gdiplus::Image* background);

    // Duplicates are kept: an observer added twice is called twice. Null is
    // ignored.
    void AddObserver(IControlObserver* observer);
    // Removes every entry of the observer.
    void RemoveObserver(IControlObserver* observer);

    virtual float GetValue() const = 0;
    // Reports a value outside [0, 1] and then uses the nearest value inside.
    virtual void SetValue(float value) = 0;

    int GetParameterId() const { return parameterId; }

protected:
    void NotifyReset();
    void NotifyChanged(bool showStatus);
    void NotifyHovered();
    void NotifyUnhovered();

    int parameterId;
    std::vector<IControlObserver*> observers;
};
