#include "X11PanelPictures.h"

#include "GUI/ImageResampling.h"

#include <cstdint>
#include <cstring>

namespace {

struct PngStream {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t offset;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length)
{
    auto* stream = static_cast<PngStream*>(closure);
    if (stream->size - stream->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(data, stream->bytes + stream->offset, length);
    stream->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* DecodePng(const X11Library& x, EmbeddedImage image)
{
    if (image.bytes == nullptr || image.size == 0) {
        return nullptr;
    }
    PngStream stream = {image.bytes, image.size, 0};
    cairo_surface_t* surface = x.cairo_image_surface_create_from_png_stream(&ReadPng, &stream);
    if (x.cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        x.cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

PixelImage PixelsOf(const X11Library& x, cairo_surface_t* image)
{
    return {reinterpret_cast<std::uint32_t*>(x.cairo_image_surface_get_data(image)),
        x.cairo_image_surface_get_width(image), x.cairo_image_surface_get_height(image),
        x.cairo_image_surface_get_stride(image) / 4};
}

// A picture as a display of the given scale shows it (see PlanPicture): a
// new reference to the drawing itself where it fits, else a resampled copy
// in the drawing's format (each colour channel is resampled on its own, so
// the unused byte of an opaque picture does no harm).
cairo_surface_t* ShowAt(
    const X11Library& x, cairo_surface_t* original, cairo_surface_t* doubled, DisplayScale scale, int frames)
{
    if (original == nullptr) {
        return nullptr;
    }
    const PicturePlan plan = PlanPicture(scale, x.cairo_image_surface_get_width(original),
        x.cairo_image_surface_get_height(original), doubled != nullptr, frames);
    cairo_surface_t* source = plan.fromDoubled ? doubled : original;
    if (plan.width == x.cairo_image_surface_get_width(source)
        && plan.height == x.cairo_image_surface_get_height(source)) {
        return x.cairo_surface_reference(source);
    }
    cairo_surface_t* target
        = x.cairo_image_surface_create(x.cairo_image_surface_get_format(source), plan.width, plan.height);
    if (x.cairo_surface_status(target) != CAIRO_STATUS_SUCCESS) {
        x.cairo_surface_destroy(target);
        return nullptr;
    }
    x.cairo_surface_flush(source);
    x.cairo_surface_flush(target);
    ResampleFilmStrip(PixelsOf(x, source), PixelsOf(x, target), frames);
    x.cairo_surface_mark_dirty(target);
    return target;
}

} // namespace

X11PanelPictures::X11PanelPictures(const X11Library& x)
    : x(x)
{
}

X11PanelPictures::~X11PanelPictures()
{
    for (cairo_surface_t* image : {background, knobStrip, sliderThumb, switchOn, switchOff}) {
        if (image != nullptr) {
            x.cairo_surface_destroy(image);
        }
    }
}

std::unique_ptr<X11PanelPictures> X11PanelPictures::Decode(
    const X11Library& x, const std::vector<PanelArtwork>& artwork, int resolution)
{
    auto pictures = std::make_unique<X11PanelPictures>(x);
    for (const PanelArtwork& drawing : artwork) {
        if (drawing.resolution == resolution) {
            pictures->background = DecodePng(x, drawing.background);
            pictures->knobStrip = DecodePng(x, drawing.knobStrip);
            pictures->sliderThumb = DecodePng(x, drawing.sliderThumb);
            pictures->switchOn = DecodePng(x, drawing.switchOn);
            pictures->switchOff = DecodePng(x, drawing.switchOff);
            break;
        }
    }
    return pictures;
}

std::unique_ptr<X11PanelPictures> X11PanelPictures::ShownAt(
    const X11PanelPictures& original, const X11PanelPictures& doubled, DisplayScale scale, int knobFrames)
{
    const X11Library& x = original.x;
    auto shown = std::make_unique<X11PanelPictures>(x);
    shown->background = ShowAt(x, original.background, doubled.background, scale, 1);
    shown->knobStrip = ShowAt(x, original.knobStrip, doubled.knobStrip, scale, knobFrames);
    shown->sliderThumb = ShowAt(x, original.sliderThumb, doubled.sliderThumb, scale, 1);
    shown->switchOn = ShowAt(x, original.switchOn, doubled.switchOn, scale, 1);
    shown->switchOff = ShowAt(x, original.switchOff, doubled.switchOff, scale, 1);
    return shown;
}
