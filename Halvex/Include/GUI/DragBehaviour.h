#pragma once

#include "GUI/ControlBehaviour.h"
#include "GUI/DisplayScale.h"

#include <atomic>

// The drag gesture shared by knobs and sliders. A left press holds the
// pointer (with Ctrl it first resets the parameter, a gesture of its own);
// every move with the button down shifts the position by the pointer's
// movement along one axis (a tenth as far with Shift), clamps it, keeps the
// hidden pointer inside the control and notifies; the release shows the
// pointer again where the control wants it. A press is never a jump: every
// drag is relative. The first step of a drag begins its gesture and the
// release ends it. A wheel notch moves the position as far as a drag of
// WheelStepPixels panel pixels (a tenth with Shift), a gesture per event.
// Pointer coordinates are device pixels; on a scaled display a drag covers
// the same distance on the screen for the same change, whatever the scale.
//
// A control without its image is inert. The position is atomic so that
// drawing may read it anywhere; everything else is the window thread's.
class DragBehaviour : public ParameterBehaviour {
public:
    static constexpr float WheelStepPixels = 3.0f;

    void Press(PointerKeys keys, int x, int y) override;
    void Release(PointerKeys keys, int x, int y) override;
    void Move(PointerKeys keys, int x, int y) override;
    void Hover() override;
    void Leave() override;
    void Wheel(PointerKeys keys, float notches) override;
    void CancelGesture() override;

    float GetPosition() const { return position.load(std::memory_order_relaxed); }

protected:
    // valueSense is +1 where the value grows with the position, -1 where it
    // falls (a vertical slider). The pointer moves pixelsPerUnit device
    // pixels for one unit of position; a wheel notch moves wheelStep units.
    DragBehaviour(IControlSurface& surface, int parameterId, bool active, SliderOrientation axis, DragSense sense,
        float valueSense, float pixelsPerUnit, float wheelStep);

    // The position's upper bound; the lower one is 0.
    virtual float GetPositionLimit() const = 0;
    // Repaints what a move from oldPosition to newPosition changed.
    virtual void RepaintStep(float oldPosition, float newPosition) = 0;
    // The axis coordinate where the pointer reappears after the drag; the
    // other coordinate is the press's.
    virtual int GetReleaseCoordinate(int pressCoordinate) const = 0;

    void SetPosition(float newPosition) { position.store(newPosition, std::memory_order_relaxed); }
    SliderOrientation GetAxis() const { return axis; }
    bool IsActive() const { return active; }

private:
    int AxisCoordinate(int x, int y) const { return axis == SliderOrientation::Horizontal ? x : y; }
    void EndEdit();

    std::atomic<float> position {0.0f};
    bool active;
    SliderOrientation axis;
    DragSense sense;
    float valueSense;
    float pixelsPerUnit;
    float wheelStep;
    int lastCoordinate = 0;
    int pressX = 0;
    int pressY = 0;
    // Only a press on this control starts a drag: moves with the button down
    // and releases that began elsewhere leave it alone.
    bool dragging = false;
    // Between the first step of a drag and its release.
    bool editing = false;
};

// A rotary control over a film strip of knobCount frames, frame 0 the
// minimum. Dragging up turns it up one frame per panel pixel (as many device
// pixels as the scale says). The position counts frames, 0 ... knobCount -
// 1, and keeps fractions; the frame shown is the position truncated. The
// pointer reappears where the press happened.
class KnobBehaviour : public DragBehaviour {
public:
    KnobBehaviour(
        IControlSurface& surface, int parameterId, bool hasImage, int knobCount, DisplayScale scale = DisplayScale());

    float GetValue() const override;
    void SetValue(float value) override;
    int GetFrameIndex() const { return KnobFrameIndex(GetPosition()); }

protected:
    float GetPositionLimit() const override { return KnobPositionLimit(knobCount); }
    void RepaintStep(float, float) override { surface.Repaint(); }
    int GetReleaseCoordinate(int pressCoordinate) const override { return pressCoordinate; }

private:
    int knobCount;
};

// A thumb that moves along the control; the track is background. The
// position is the thumb's offset in device pixels from the control's left
// edge (horizontal) or top edge (vertical), 0 ... travel, where travel is
// the control's extent minus the thumb's along the axis (both as the
// display shows them, so the thumb follows the pointer at any scale). A horizontal slider has
// its minimum at the left; a vertical one its maximum at the top. Only the
// band the thumb sweeps is repainted, and the pointer reappears over the
// thumb's leading edge.
class SliderBehaviour : public DragBehaviour {
public:
    SliderBehaviour(IControlSurface& surface, int parameterId, bool hasThumb, int thumbExtent,
        SliderOrientation orientation, DisplayScale scale = DisplayScale());

    float GetValue() const override;
    void SetValue(float value) override;
    int GetThumbOffset() const { return static_cast<int>(GetPosition()); }

protected:
    float GetPositionLimit() const override { return static_cast<float>(GetTravel()); }
    void RepaintStep(float oldPosition, float newPosition) override;
    int GetReleaseCoordinate(int) const override { return GetThumbOffset(); }

private:
    int GetTravel() const;

    int thumbExtent;
};
