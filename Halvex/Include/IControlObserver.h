#pragma once

// The editor's channel back to the effect. Controls call it on the editor's
// window thread when the user acts on them.
class IControlObserver {
public:
    virtual ~IControlObserver() = default;
    // Ctrl + left click on a knob or slider: back to the default value.
    virtual void ResetParameter(int parameterId) = 0;
    // A control changed its value; showStatus while a knob or slider is dragged.
    virtual void ChangeParameter(int parameterId, float value, bool showStatus) = 0;
    // The pointer rests on a control.
    virtual void ShowParameterStatus(int parameterId) = 0;
    // The pointer left a control.
    virtual void ClearStatus() = 0;
};
