#pragma once

#include "GUI/DragBehaviour.h"
#include "GUI/ParameterControl.h"

// The Win32 view of a knob (KnobBehaviour): draws the frame of its position
// from a film strip of knobCount frames of equal height stacked top to
// bottom, frame 0 the minimum. Without an image the knob ignores the mouse
// and draws only the background. The strip is not owned; on a display of
// another scale than 96 dpi it is the strip drawn or resampled for it, and
// scale sets how far a drag turns the knob.
class Knob : public ParameterControl {
public:
    Knob(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* image, int knobCount,
        DisplayScale scale = DisplayScale());

    void Draw(Gdiplus::Graphics& graphics) override;

protected:
    ParameterBehaviour& Behaviour() override { return behaviour; }
    const ParameterBehaviour& Behaviour() const override { return behaviour; }

private:
    Gdiplus::Bitmap* image;
    int frameHeight;
    KnobBehaviour behaviour;
};
