#pragma once

#include "GUI/DragControl.h"

// A rotary control drawn from a film strip: knobCount frames of equal
// height stacked top to bottom in one image, frame 0 the minimum. Dragging
// up turns it up one frame per pixel. The position counts frames,
// 0 ... knobCount - 1, and keeps fractions; the frame shown is the
// position truncated. Without an image the knob ignores the mouse and draws
// only the background. The strip is not owned.
class Knob : public DragControl {
public:
    Knob(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Bitmap* image, int knobCount);

    float GetValue() const override;
    void SetValue(float value) override;
    void Draw(Gdiplus::Graphics& graphics) override;

protected:
    bool HasImage() const override { return image != nullptr; }
    float GetPositionLimit() const override { return KnobPositionLimit(knobCount); }
    void InvalidateDragStep(float oldPosition, float newPosition) override;
    POINT GetReleasePoint() const override { return savedCursorPos; }

private:
    Gdiplus::Bitmap* image;
    int knobCount;
    int frameHeight;
};
