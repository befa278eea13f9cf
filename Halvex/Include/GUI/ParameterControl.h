#pragma once

#include "GUI/ControlBehaviour.h"
#include "GUI/CustomControl.h"
#include "IControlObserver.h"

// A Win32 control window that stands for one plug-in parameter. It shows
// and feeds a window-system-free behaviour (the derived class's member):
// mouse messages go to the behaviour, and the behaviour's requests (repaints,
// capture, pointer moves, hover tracking, focus) come back here. SetValue
// (effect to control) moves the control and repaints it but never calls an
// observer. Window thread only.
class ParameterControl : public CustomControl, protected IControlSurface {
public:
    ParameterControl(HWND hDlg, int id, int parameterId, Gdiplus::Image* background);

    // Duplicates are kept: an observer added twice is called twice. Null is
    // ignored.
    void AddObserver(IControlObserver* observer) { Behaviour().AddObserver(observer); }
    // Removes every entry of the observer.
    void RemoveObserver(IControlObserver* observer) { Behaviour().RemoveObserver(observer); }

    float GetValue() const { return Behaviour().GetValue(); }
    // Reports a value outside [0, 1] and then uses the nearest value inside.
    void SetValue(float value) { Behaviour().SetValue(value); }
    // Ends a drag that is still going on (the dialog is closing).
    void CancelGesture() { Behaviour().CancelGesture(); }

    int GetParameterId() const { return parameterId; }

    void OnLeftButtonDown(int keys, int x, int y) override;
    void OnLeftButtonUp(int keys, int x, int y) override;
    void OnMouseMove(int keys, int x, int y) override;
    void OnMouseHover(int keys, int x, int y) override;
    void OnMouseLeave() override;
    void OnMouseWheel(int keys, int delta, int x, int y) override;

protected:
    virtual ParameterBehaviour& Behaviour() = 0;
    virtual const ParameterBehaviour& Behaviour() const = 0;

    static PointerKeys KeysOf(int keys);

    // IControlSurface
    ClientSize GetClientSize() const override;
    void Repaint() override;
    void RepaintBand(SliderOrientation axis, PixelBand band) override;
    void HoldPointer() override;
    void MovePointer(int x, int y) override;
    void ReleasePointer(int x, int y) override;
    void TrackHover() override { RequestHoverTracking(); }
    void InteractionEnded() override { ReturnFocus(); }

    int parameterId;

private:
    HCURSOR savedCursor = nullptr;
};
