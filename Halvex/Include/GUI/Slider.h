#pragma once

#include "GUI/DragControl.h"

// A thumb image that moves along the control; the track is part of the
// dialog background. The position is the thumb's offset in pixels from the
// control's left edge (horizontal) or top edge (vertical), 0 ... travel,
// where travel is the control's extent minus the thumb's along the axis.
// A horizontal slider has its minimum at the left; a vertical one has its
// maximum at the top. Without a thumb the slider ignores the mouse and
// draws only the background. The thumb is not owned; its size is read once,
// at construction, so that SetValue (which may run on another thread) never
// touches the image while the window thread draws it.
class Slider : public DragControl {
public:
    float GetValue() const override;
    void SetValue(float value) override;
    void Draw(Gdiplus::Graphics& graphics) override;

protected:
    Slider(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* thumb,
        SliderOrientation orientation);

    bool HasImage() const override { return thumb != nullptr; }
    float GetPositionLimit() const override;
    void InvalidateDragStep(float oldPosition, float newPosition) override;
    // Over the thumb's leading edge, at the other coordinate of the press.
    POINT GetReleasePoint() const override;

private:
    int GetThumbExtent() const;
    int GetTravel(const RECT& clientRect) const;
    int GetTravel() const;

    Gdiplus::Bitmap* thumb;
    int thumbWidth;
    int thumbHeight;
};
