#include "GUI/PanelLayout.h"

PanelLayout ScaleLayout(const PanelLayout& layout, DisplayScale scale)
{
    PanelLayout scaled = layout;
    scaled.width = scale.Pixels(layout.width);
    scaled.height = scale.Pixels(layout.height);
    for (ControlPlacement& placement : scaled.controls) {
        placement.rect = scale.Rect(placement.rect);
    }
    scaled.status = scale.Rect(layout.status);
    scaled.statusFontHeight = scale.Pixels(layout.statusFontHeight);
    scaled.about = scale.About(layout.about);
    return scaled;
}

PicturePlan PlanPicture(DisplayScale scale, int originalWidth, int originalHeight, bool hasDoubled, int frames)
{
    const int frameCount = frames > 0 ? frames : 1;
    return {hasDoubled && scale.ArtworkResolution() == 2, scale.Pixels(originalWidth),
        frameCount * scale.Pixels(originalHeight / frameCount)};
}
