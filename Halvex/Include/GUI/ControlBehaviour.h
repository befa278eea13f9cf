#pragma once

#include "GUI/ControlMath.h"
#include "IControlObserver.h"

#include <vector>

// The modifier keys and button state that come with a pointer event.
struct PointerKeys {
    bool leftButton = false;
    bool shift = false;
    bool control = false;
};

struct ClientSize {
    int width;
    int height;
};

// What a control's behaviour asks of the window system that shows it: its
// size, repaints and the pointer. Coordinates are the control's client
// pixels. Each view (a Win32 control window, a control placed on a drawn
// panel) implements it for its controls. Window thread only.
class IControlSurface {
public:
    virtual ~IControlSurface() = default;
    virtual ClientSize GetClientSize() const = 0;
    virtual void Repaint() = 0;
    // Only the band [band.begin, band.end) along the axis changed.
    virtual void RepaintBand(SliderOrientation /*axis*/, PixelBand /*band*/) { Repaint(); }
    // A drag starts: every pointer event goes to this control until
    // ReleasePointer, and the pointer is hidden.
    virtual void HoldPointer() = 0;
    // Puts the (hidden) pointer at (x, y).
    virtual void MovePointer(int x, int y) = 0;
    // The drag is over: the pointer shows again at (x, y).
    virtual void ReleasePointer(int x, int y) = 0;
    // The pointer moves over the control without a button: hover and leave
    // are to follow.
    virtual void TrackHover() { }
    // A click or drag is finished: the keyboard focus may go back.
    virtual void InteractionEnded() { }
};

// The behaviour of a control that stands for one plug-in parameter, free of
// any window system: its normalised value in [0, 1], what pointer events do
// to it, and the observers it tells about user actions, gestures included.
// SetValue (effect to control) moves the control and repaints it but never
// calls an observer. Observers are not owned and are called in the order
// they were added. Window thread only, except where a derived class says
// otherwise.
class ParameterBehaviour {
public:
    ParameterBehaviour(IControlSurface& surface, int parameterId);
    virtual ~ParameterBehaviour() = default;
    ParameterBehaviour(const ParameterBehaviour&) = delete;
    ParameterBehaviour& operator=(const ParameterBehaviour&) = delete;

    // Duplicates are kept: an observer added twice is called twice. Null is
    // ignored.
    void AddObserver(IControlObserver* observer);
    // Removes every entry of the observer.
    void RemoveObserver(IControlObserver* observer);
    int GetParameterId() const { return parameterId; }

    virtual float GetValue() const = 0;
    // Reports a value outside [0, 1] and then uses the nearest value inside.
    virtual void SetValue(float value) = 0;

    // Pointer events in client pixels. The wheel counts notches, positive
    // away from the user.
    virtual void Press(PointerKeys /*keys*/, int /*x*/, int /*y*/) { }
    virtual void Release(PointerKeys /*keys*/, int /*x*/, int /*y*/) { }
    virtual void Move(PointerKeys /*keys*/, int /*x*/, int /*y*/) { }
    virtual void Hover() { }
    virtual void Leave() { }
    virtual void Wheel(PointerKeys /*keys*/, float /*notches*/) { }
    // The view goes away in the middle of a gesture: the gesture ends here.
    virtual void CancelGesture() { }

protected:
    void NotifyReset();
    void NotifyChanged(bool showStatus);
    void NotifyHovered();
    void NotifyUnhovered();
    void NotifyBeginEdit();
    void NotifyEndEdit();
    // One edit that is a gesture of its own: begin, the change, end.
    void NotifyChangeStep(bool showStatus);

    IControlSurface& surface;

private:
    int parameterId;
    std::vector<IControlObserver*> observers;
};
