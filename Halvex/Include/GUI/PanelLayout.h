#pragma once

#include "GUI/DisplayScale.h"
#include "GUI/PanelGeometry.h"

#include <cstddef>
#include <vector>

enum class PlacedControlKind { Knob, HorizontalSlider, Switch };

struct ControlPlacement {
    int parameterId;
    PlacedControlKind kind;
    PixelRect rect;
    // The item of the product's dialog template that shows the control.
    int dialogItemId;
};

// A panel drawn from pictures, as a product describes it to every view: its
// size, where each control sits and which parameter it shows, the status
// line and the about box, all in panel pixels (as at 96 dpi). Every control
// paints the part of the background under it, then its picture clipped to
// its rectangle at its top-left corner: a frame of the knob strip, the
// slider thumb at its offset, or a switch picture. A dialog-based view moves
// the items of its template to these rectangles. Texts must outlive the view.
struct PanelLayout {
    int width;
    int height;
    int knobFrames;
    std::vector<ControlPlacement> controls;
    // The status text's lines, each centred, the first at the top; the font
    // height is the line pitch in pixels.
    PixelRect status;
    int statusItemId;
    int statusFontHeight;
    unsigned char statusRed;
    unsigned char statusGreen;
    unsigned char statusBlue;
    AboutRect about;
    std::vector<const char*> aboutLines;
};

// The layout in the device pixels of a display of the given scale: sizes,
// rectangles, the about area and the status font.
PanelLayout ScaleLayout(const PanelLayout& layout, DisplayScale scale);

// The bytes of an image file (PNG) built into the binary.
struct EmbeddedImage {
    const unsigned char* bytes;
    std::size_t size;
};

// A panel's five pictures, drawn for one artwork resolution: 1 for 96 dpi,
// 2 for 192 dpi (twice as many pixels each way). Missing pictures have no
// bytes.
struct PanelArtwork {
    int resolution;
    EmbeddedImage background;
    EmbeddedImage knobStrip;
    EmbeddedImage sliderThumb;
    EmbeddedImage switchOn;
    EmbeddedImage switchOff;
};

// How one of the panel's pictures is shown at a display scale: drawn from
// its 2x version (where there is one and the scale is nearer to it) or its
// 1x one, at width x height device pixels. A film strip of frames frames
// scales frame by frame, each frame to whole pixels. When the size equals
// the chosen drawing's own, it is shown as it is.
struct PicturePlan {
    bool fromDoubled;
    int width;
    int height;
};

PicturePlan PlanPicture(DisplayScale scale, int originalWidth, int originalHeight, bool hasDoubled, int frames = 1);
