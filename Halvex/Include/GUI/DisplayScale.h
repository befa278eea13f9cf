#pragma once

#include "GUI/PanelGeometry.h"

// How large a display shows a panel designed in pixels at 96 dots per inch:
// its resolution in dots per inch, 96 for 100 %, 144 for 150 %, 192 for
// 200 %. Panel pixels become device pixels by the factor dpi / 96, rounded
// to the nearest, halves up; rectangles scale by their edges, so that
// neighbouring rectangles stay neighbours. Resolutions below 96 dpi count
// as 96 (a panel never shrinks below its artwork) and above 384 as 384.
// A value; any thread.
class DisplayScale {
public:
    static constexpr int BaseDpi = 96;
    static constexpr int MaxDpi = 4 * BaseDpi;

    constexpr DisplayScale() = default;
    constexpr explicit DisplayScale(int dpi)
        : dpi(dpi < BaseDpi ? BaseDpi : (dpi > MaxDpi ? MaxDpi : dpi))
    {
    }

    constexpr int GetDpi() const { return dpi; }
    // Device pixels per panel pixel.
    constexpr float GetFactor() const { return static_cast<float>(dpi) / static_cast<float>(BaseDpi); }
    constexpr bool operator==(DisplayScale other) const { return dpi == other.dpi; }
    constexpr bool operator!=(DisplayScale other) const { return dpi != other.dpi; }

    // A coordinate or a length of panel pixels (0 or more) in device pixels.
    constexpr int Pixels(int panelPixels) const { return (panelPixels * dpi + BaseDpi / 2) / BaseDpi; }
    constexpr PixelRect Rect(PixelRect rect) const
    {
        return {Pixels(rect.left), Pixels(rect.top), Pixels(rect.left + rect.width) - Pixels(rect.left),
            Pixels(rect.top + rect.height) - Pixels(rect.top)};
    }
    // Inclusive bounds: the last pixel is the one before the scaled end.
    constexpr AboutRect About(AboutRect about) const
    {
        return {Pixels(about.top), Pixels(about.left), Pixels(about.bottom + 1) - 1, Pixels(about.right + 1) - 1};
    }

    // The artwork that suits the display best: 1 (drawn for 96 dpi) or 2
    // (drawn for 192 dpi), whichever lies nearer; from 150 % on the larger
    // pictures are resampled down rather than the smaller ones up.
    constexpr int ArtworkResolution() const { return dpi >= 3 * BaseDpi / 2 ? 2 : 1; }

private:
    int dpi = BaseDpi;
};

// The scale an X11 desktop asks for: GDK_SCALE, a whole factor, where it is
// set to one; otherwise the Xft.dpi entry of the X resources (the root
// window's RESOURCE_MANAGER text, lines of "name: value"); otherwise 96 dpi.
// Either text may be null; malformed values are ignored.
DisplayScale DesktopScale(const char* gdkScale, const char* xResources);
