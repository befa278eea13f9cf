#pragma once

#include "GUI/DisplayScale.h"
#include "GUI/PanelLayout.h"
#include "X11Library.h"

#include <memory>
#include <vector>

// A panel's five pictures as cairo image surfaces, each a reference of its
// own released with the set; null where a picture is missing or broken,
// which leaves its controls inert. GUI thread.
class X11PanelPictures {
public:
    explicit X11PanelPictures(const X11Library& x);
    ~X11PanelPictures();
    X11PanelPictures(const X11PanelPictures&) = delete;
    X11PanelPictures& operator=(const X11PanelPictures&) = delete;

    // The artwork of the resolution, decoded (empty where there is none).
    static std::unique_ptr<X11PanelPictures> Decode(
        const X11Library& x, const std::vector<PanelArtwork>& artwork, int resolution);
    // The pictures as a display of the given scale shows them (see
    // PlanPicture), from the originals and their doubles; the knob strip
    // holds knobFrames frames.
    static std::unique_ptr<X11PanelPictures> ShownAt(
        const X11PanelPictures& original, const X11PanelPictures& doubled, DisplayScale scale, int knobFrames);

    int Width(cairo_surface_t* image) const { return image != nullptr ? x.cairo_image_surface_get_width(image) : 0; }
    int Height(cairo_surface_t* image) const { return image != nullptr ? x.cairo_image_surface_get_height(image) : 0; }

    const X11Library& x;
    cairo_surface_t* background = nullptr;
    cairo_surface_t* knobStrip = nullptr;
    cairo_surface_t* sliderThumb = nullptr;
    cairo_surface_t* switchOn = nullptr;
    cairo_surface_t* switchOff = nullptr;
};
