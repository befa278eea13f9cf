#include "GUI/PanelBitmaps.h"

#include "GUI/ImageResampling.h"
#include "GUI/PanelLayout.h"

#include <cstdint>
#include <new>

namespace {

// The pixels of a locked bitmap, premultiplied ARGB as the resampler takes them.
PixelImage PixelsOf(const Gdiplus::BitmapData& data)
{
    return {static_cast<std::uint32_t*>(data.Scan0), static_cast<int>(data.Width), static_cast<int>(data.Height),
        data.Stride / 4};
}

// A copy of source of the given size, or null when GDI+ cannot have one.
Gdiplus::Bitmap* Resample(Gdiplus::Bitmap* source, int width, int height, int frames)
{
    // GDI+'s allocator answers null rather than throwing.
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Bitmap));
    auto* target = memory != nullptr ? ::new (memory) Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB) : nullptr;
    if (target == nullptr || target->GetLastStatus() != Gdiplus::Ok) {
        delete target;
        return nullptr;
    }
    const Gdiplus::Rect sourceArea(0, 0, static_cast<INT>(source->GetWidth()), static_cast<INT>(source->GetHeight()));
    const Gdiplus::Rect targetArea(0, 0, width, height);
    Gdiplus::BitmapData from;
    Gdiplus::BitmapData to;
    bool done = false;
    if (source->LockBits(&sourceArea, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &from) == Gdiplus::Ok) {
        if (target->LockBits(&targetArea, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &to) == Gdiplus::Ok) {
            ResampleFilmStrip(PixelsOf(from), PixelsOf(to), frames);
            done = target->UnlockBits(&to) == Gdiplus::Ok;
        }
        source->UnlockBits(&from);
    }
    if (!done) {
        delete target;
        return nullptr;
    }
    return target;
}

} // namespace

ScaledPanelBitmaps::ScaledPanelBitmaps(PanelBitmaps original, PanelBitmaps doubled, int knobFrames)
    : original(original)
    , doubled(doubled)
    , knobFrames(knobFrames)
    // At 96 dpi the originals are shown as they are.
    , shown(original)
{
}

ScaledPanelBitmaps::~ScaledPanelBitmaps() = default;

PanelBitmaps ScaledPanelBitmaps::For(DisplayScale scale)
{
    if (scale == shownScale) {
        return shown;
    }
    for (auto& bitmap : resampled) {
        bitmap.reset();
    }
    shown.background = Show(original.background, doubled.background, scale, 1);
    shown.knobStrip = Show(original.knobStrip, doubled.knobStrip, scale, knobFrames);
    shown.sliderThumb = Show(original.sliderThumb, doubled.sliderThumb, scale, 1);
    shown.switchOn = Show(original.switchOn, doubled.switchOn, scale, 1);
    shown.switchOff = Show(original.switchOff, doubled.switchOff, scale, 1);
    shownScale = scale;
    return shown;
}

Gdiplus::Bitmap* ScaledPanelBitmaps::Show(
    Gdiplus::Bitmap* original, Gdiplus::Bitmap* doubled, DisplayScale scale, int frames)
{
    if (original == nullptr) {
        return nullptr;
    }
    const PicturePlan plan = PlanPicture(scale, static_cast<int>(original->GetWidth()),
        static_cast<int>(original->GetHeight()), doubled != nullptr, frames);
    Gdiplus::Bitmap* source = plan.fromDoubled ? doubled : original;
    if (static_cast<int>(source->GetWidth()) == plan.width && static_cast<int>(source->GetHeight()) == plan.height) {
        return source;
    }
    for (auto& bitmap : resampled) {
        if (bitmap == nullptr) {
            bitmap.reset(Resample(source, plan.width, plan.height, frames));
            return bitmap.get();
        }
    }
    return nullptr;
}
