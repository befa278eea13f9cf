#pragma once

#include "GUI/PanelGeometry.h"

#include <cstddef>
#include <vector>

// The bytes of an image file (PNG) built into the binary.
struct EmbeddedImage {
    const unsigned char* bytes;
    std::size_t size;
};

enum class PlacedControlKind { Knob, HorizontalSlider, Switch };

struct ControlPlacement {
    int parameterId;
    PlacedControlKind kind;
    PixelRect rect;
};

// A panel drawn from images, as a product describes it to a drawn view: its
// size, the images, where each control sits and which parameter it shows,
// the status line and the about box. Every control paints the part of the
// background under it, then its image clipped to its rectangle at its
// top-left corner: a frame of the knob strip, the slider thumb at its
// offset, or a switch image. Texts and images must outlive the view.
struct PanelLayout {
    int width;
    int height;
    EmbeddedImage background;
    EmbeddedImage knobStrip;
    int knobFrames;
    EmbeddedImage sliderThumb;
    EmbeddedImage switchOn;
    EmbeddedImage switchOff;
    std::vector<ControlPlacement> controls;
    // The status text's lines, each centred, the first at the top; the font
    // height is the line pitch in pixels.
    PixelRect status;
    int statusFontHeight;
    unsigned char statusRed;
    unsigned char statusGreen;
    unsigned char statusBlue;
    AboutRect about;
    std::vector<const char*> aboutLines;
};
