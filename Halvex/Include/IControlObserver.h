#pragma once

// The editor's channel back to the effect. Controls call it on the editor's
// window thread when the user acts on them.
//
// Every user edit is bracketed as one gesture for the host's touch
// automation and undo: BeginParameterEdit, one or more ChangeParameter or
// ResetParameter calls, then EndParameterEdit, all for the same parameter. A
// drag is one gesture from its first step to the release; a switch click, a
// Ctrl-click reset and a wheel step are a gesture each. An observer that has
// no use for gestures may leave the two calls as they are.
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
    // A gesture on the control of parameterId begins.
    virtual void BeginParameterEdit(int /*parameterId*/) { }
    // The gesture on the control of parameterId is over.
    virtual void EndParameterEdit(int /*parameterId*/) { }
    // The editor's panel now takes width x height device pixels (the
    // display's scale changed): the host is asked to resize the window it
    // gave the editor, where it allows that. Answers whether it did.
    virtual bool ResizeEditor(int /*width*/, int /*height*/) { return false; }
};
