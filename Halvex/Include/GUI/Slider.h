#pragma once

#include "GUI/DragBehaviour.h"
#include "GUI/ParameterControl.h"

// The Win32 view of a slider (SliderBehaviour): draws the thumb image at its
// position over the background, whose track it slides along. Without a
// thumb the slider ignores the mouse and draws only the background. The
// thumb is not owned; its size is read once, at construction. On a display
// of another scale than 96 dpi the thumb is the one drawn or resampled for
// it, and scale sets how far a wheel notch moves it.
class Slider : public ParameterControl {
public:
    void Draw(Gdiplus::Graphics& graphics) override;

protected:
    Slider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
        SliderOrientation orientation, DisplayScale scale);

    ParameterBehaviour& Behaviour() override { return behaviour; }
    const ParameterBehaviour& Behaviour() const override { return behaviour; }

private:
    Gdiplus::Bitmap* thumb;
    int thumbWidth;
    int thumbHeight;
    SliderOrientation orientation;
    SliderBehaviour behaviour;
};
