#pragma once

#include "GUI/DragBehaviour.h"
#include "GUI/PanelGeometry.h"
#include "GUI/SwitchBehaviour.h"

#include <memory>
#include <vector>

// What a panel drawn in one window asks of that window, in its pixels.
class IPanelSurface {
public:
    virtual ~IPanelSurface() = default;
    virtual void RepaintArea(PixelRect area) = 0;
    virtual void RepaintAll() = 0;
    // As IControlSurface: hold the pointer for a drag, move it, let it go.
    virtual void HoldPointer() = 0;
    virtual void MovePointer(int x, int y) = 0;
    virtual void ReleasePointer(int x, int y) = 0;
};

// Controls placed on one drawn panel, with the hit-testing and pointer
// routing a window system with a window per control would do itself: a
// press goes to the control under the pointer, which then receives every
// pointer event until the release (as if it had captured the mouse); a
// pointer that moves onto a control hovers it at once and one that moves off
// it (or off the panel) leaves it; the wheel goes to the control under the
// pointer. A left click on the about area, outside every control, shows the
// about box, and the next click anywhere (or Escape) dismisses it.
// Coordinates are the window's pixels; on a display of another scale than
// 96 dpi the rectangles are given scaled and the knobs and sliders drag as
// far on the screen as at 96 dpi. Free of any window system; window thread
// only.
class Panel {
public:
    enum class PressTarget { Control, AboutShown, AboutDismissed, Nothing };

    Panel(IPanelSurface& surface, AboutRect about, DisplayScale scale = DisplayScale());
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    KnobBehaviour& AddKnob(int parameterId, PixelRect rect, bool hasImage, int knobCount);
    SliderBehaviour& AddSlider(
        int parameterId, PixelRect rect, bool hasThumb, int thumbExtent, SliderOrientation orientation);
    SwitchBehaviour& AddSwitch(int parameterId, PixelRect rect, bool hasImages);
    // Every control reports to observer.
    void AddObserver(IControlObserver* observer);

    // The control of parameterId takes value; ids without a control are ignored.
    void SetParameterValue(int parameterId, float value);

    PressTarget Press(PointerKeys keys, int x, int y);
    void Release(PointerKeys keys, int x, int y);
    void Move(PointerKeys keys, int x, int y);
    void Wheel(PointerKeys keys, float notches, int x, int y);
    // The pointer left the panel's window.
    void PointerLeft();
    void EscapePressed();
    // Ends every gesture in progress (the view is closing).
    void CancelGestures();

    bool IsAboutShown() const { return aboutShown; }
    PixelRect GetControlRect(int index) const { return controls[static_cast<size_t>(index)]->rect; }
    int GetControlCount() const { return static_cast<int>(controls.size()); }

private:
    // One placed control: its rectangle, and the surface through which its
    // behaviour reaches the panel's window in client pixels.
    class PlacedControl : public IControlSurface {
    public:
        PlacedControl(IPanelSurface& panel, PixelRect rect)
            : panel(panel)
            , rect(rect)
        {
        }

        ClientSize GetClientSize() const override { return {rect.width, rect.height}; }
        void Repaint() override { panel.RepaintArea(rect); }
        void HoldPointer() override { panel.HoldPointer(); }
        void MovePointer(int x, int y) override { panel.MovePointer(rect.left + x, rect.top + y); }
        void ReleasePointer(int x, int y) override { panel.ReleasePointer(rect.left + x, rect.top + y); }

        IPanelSurface& panel;
        PixelRect rect;
        std::unique_ptr<ParameterBehaviour> behaviour;
    };

    template <class Behaviour, class... Arguments>
    Behaviour& Place(int parameterId, PixelRect rect, Arguments... arguments);
    PlacedControl* ControlAt(int x, int y) const;
    void HoverOver(PlacedControl* control);
    void SetAboutShown(bool shown);

    IPanelSurface& surface;
    AboutRect about;
    DisplayScale scale;
    std::vector<std::unique_ptr<PlacedControl>> controls;
    // The control that took the last press, until its release.
    PlacedControl* pressed = nullptr;
    PlacedControl* hovered = nullptr;
    bool aboutShown = false;
};
