#pragma once

#include "GUI/ControlMath.h"
#include "GUI/ParameterControl.h"

#include <atomic>

// The drag gesture shared by knobs and sliders. A left press captures the
// mouse and hides the pointer (with Ctrl it first asks the observers to
// reset the parameter); every move with the button down shifts the
// position by the pointer's movement along one axis (a tenth as far with
// Shift), clamps it, holds the hidden pointer inside the control and
// notifies; the release shows the pointer again where the derived control
// wants it. A press is never a jump: every drag is relative.
// The position is read and written by SetValue on other threads as well, so
// it is atomic; everything else belongs to the window thread.
class DragControl : public ParameterControl {
public:
    void OnLeftButtonDown(int keys, int x, int y) override;
    void OnLeftButtonUp(int keys, int x, int y) override;
    void OnMouseMove(int keys, int x, int y) override;
    void OnMouseHover(int keys, int x, int y) override;
    void OnMouseLeave() override;

protected:
    DragControl(
        HWND hDlg, int id, int parameterId, Gdiplus::Image* background, SliderOrientation axis, DragSense sense);

    // A control without its image ignores the mouse.
    virtual bool HasImage() const = 0;
    // The position's upper bound; the lower one is 0.
    virtual float GetPositionLimit() const = 0;
    // Invalidates what a move from oldPosition to newPosition changed.
    virtual void InvalidateDragStep(float oldPosition, float newPosition) = 0;
    // Where the pointer reappears after the drag, in screen coordinates.
    virtual POINT GetReleasePoint() const = 0;

    float GetPosition() const { return position.load(std::memory_order_relaxed); }
    void SetPosition(float newPosition) { position.store(newPosition, std::memory_order_relaxed); }
    SliderOrientation GetAxis() const { return axis; }

    HCURSOR savedCursor = nullptr;
    POINT savedCursorPos = {0, 0};

private:
    int AxisCoordinate(int x, int y) const { return axis == SliderOrientation::Horizontal ? x : y; }

    std::atomic<float> position {0.0f};
    int lastCoordinate = 0;
    // Only a press on this control starts a drag: moves with the button down
    // and releases that began elsewhere leave it alone.
    bool dragging = false;
    SliderOrientation axis;
    DragSense sense;
};
