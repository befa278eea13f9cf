#pragma once

#include "GUI/DisplayScale.h"

#include <windows.h>
#include <gdiplus.h>

#include <memory>

// The five pictures a drawn panel is made of; not owned.
struct PanelBitmaps {
    Gdiplus::Bitmap* background = nullptr;
    Gdiplus::Bitmap* knobStrip = nullptr;
    Gdiplus::Bitmap* sliderThumb = nullptr;
    Gdiplus::Bitmap* switchOn = nullptr;
    Gdiplus::Bitmap* switchOff = nullptr;
};

// A panel's pictures as a display of some scale shows them. They are drawn
// twice: for 96 dpi (the originals) and at twice the size for 192 dpi; a
// scale takes the nearer drawing, as it is where it fits, else resampled
// smoothly (ResampleImage; the knob strip frame by frame). A picture without
// an original is missing at every scale; one without a double is resampled
// from its original. GUI thread; GDI+ must be running.
class ScaledPanelBitmaps {
public:
    // Neither set is owned; both must outlive this object. The knob strip
    // holds knobFrames frames.
    ScaledPanelBitmaps(PanelBitmaps original, PanelBitmaps doubled, int knobFrames);
    ~ScaledPanelBitmaps();
    ScaledPanelBitmaps(const ScaledPanelBitmaps&) = delete;
    ScaledPanelBitmaps& operator=(const ScaledPanelBitmaps&) = delete;

    // The pictures for scale. Resampled ones are kept until a call for
    // another scale, or until this object goes.
    PanelBitmaps For(DisplayScale scale);

private:
    Gdiplus::Bitmap* Show(Gdiplus::Bitmap* original, Gdiplus::Bitmap* doubled, DisplayScale scale, int frames);

    PanelBitmaps original;
    PanelBitmaps doubled;
    int knobFrames;
    DisplayScale shownScale;
    PanelBitmaps shown;
    // The resampled ones among shown.
    std::unique_ptr<Gdiplus::Bitmap> resampled[5];
};
