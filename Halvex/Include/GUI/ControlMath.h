#pragma once

#include "Halvex.h"

// The arithmetic behind the editor controls, kept free of any window system
// so that it reads on its own and can be tested anywhere. Positions are
// floats: knob positions count frames, slider positions count pixels from
// the control's left or top edge. Values are normalised to [0, 1].

// A value forced into [0, 1]; NaN becomes 0. Used after a range report so
// that a control never leaves its range.
inline float ClampToUnit(float value)
{
    return value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
}

// ---- Knob: a film strip of knobCount frames, frame 0 the minimum.

// Height of one frame: unsigned integer division; 0 without frames.
inline int KnobFrameHeight(unsigned imageHeight, int knobCount)
{
    return knobCount > 0 ? static_cast<int>(imageHeight / static_cast<unsigned>(knobCount)) : 0;
}

// The highest knob position; 0 for strips of fewer than two frames.
inline float KnobPositionLimit(int knobCount)
{
    return knobCount > 1 ? static_cast<float>(knobCount - 1) : 0.0f;
}

inline float KnobValueFromPosition(float position, int knobCount)
{
    return knobCount >= 2 ? position / static_cast<float>(knobCount - 1) : 0.0f;
}

inline float KnobPositionFromValue(float value, int knobCount)
{
    return knobCount > 0 ? value * static_cast<float>(knobCount - 1) : 0.0f;
}

// The frame shown for a position: truncated, never rounded to the nearest.
inline int KnobFrameIndex(float position)
{
    return static_cast<int>(position);
}

// ---- Sliders: a thumb moving along the control; the track is background.

enum class SliderOrientation { Horizontal, Vertical };

// Pixels the thumb can move: the control's extent minus the thumb's along
// the axis, or 0 when there is no thumb or it fills the control.
inline int SliderTravel(int controlExtent, int thumbExtent, bool hasThumb)
{
    return hasThumb && thumbExtent < controlExtent ? controlExtent - thumbExtent : 0;
}

// Horizontal sliders have their minimum at the left; vertical sliders have
// their maximum at the top (position 0) and their minimum at travel.
inline float SliderValueFromPosition(float position, int travel, SliderOrientation orientation)
{
    if (orientation == SliderOrientation::Horizontal) {
        return travel > 0 ? position / static_cast<float>(travel) : 0.0f;
    }
    return travel > 0 ? 1.0f - position / static_cast<float>(travel) : 1.0f;
}

inline float SliderPositionFromValue(float value, int travel, SliderOrientation orientation)
{
    float travelPixels = static_cast<float>(travel);
    if (orientation == SliderOrientation::Horizontal) {
        return value * travelPixels;
    }
    return travelPixels - value * travelPixels;
}

// The band of pixels along the axis that a thumb of thumbExtent pixels
// covers at either of two positions: [begin, end).
struct PixelBand {
    int begin;
    int end;
};

inline PixelBand SliderSweptBand(float oldPosition, float newPosition, int thumbExtent)
{
    float smaller = oldPosition < newPosition ? oldPosition : newPosition;
    float larger = oldPosition < newPosition ? newPosition : oldPosition;
    return {static_cast<int>(smaller), static_cast<int>(larger + static_cast<float>(thumbExtent))};
}

// ---- Dragging: relative moves of the pointer along one axis.

// Whether the position grows with the pointer coordinate (sliders) or
// against it (the knob turns up when the pointer moves up).
enum class DragSense { WithCoordinate, AgainstCoordinate };

// Position change for a pointer move from lastCoordinate to coordinate;
// fine adjustment (Shift) moves a tenth as far.
inline float DragDelta(int lastCoordinate, int coordinate, DragSense sense, bool fine)
{
    int pixels = sense == DragSense::WithCoordinate ? coordinate - lastCoordinate : lastCoordinate - coordinate;
    float delta = static_cast<float>(pixels);
    return fine ? delta * 0.1f : delta;
}

// Holds a dragged position inside [0, limit].
inline float ClampPosition(float position, float limit)
{
    if (position < 0.0f) {
        return 0.0f;
    }
    return position >= limit ? limit : position;
}

// ---- Combo box: 1-based item numbers, 0 when there are no items.

// The following item, wrapping from the last to the first.
inline int NextItem(int selected, int itemCount)
{
    if (itemCount <= 0) {
        return 0;
    }
    return selected + 1 > itemCount ? 1 : selected + 1;
}

// The preceding item, wrapping from the first to the last.
inline int PreviousItem(int selected, int itemCount)
{
    if (itemCount <= 0) {
        return 0;
    }
    return selected - 1 < 1 ? itemCount : selected - 1;
}

// Items spread evenly over [0, 1]: the first is 0, the last 1.
inline float ComboValueFromItem(int selected, int itemCount)
{
    return selected > 0 && itemCount >= 2 ? static_cast<float>(selected - 1) / static_cast<float>(itemCount - 1) : 0.0f;
}

// The nearest item to a value, halves going to the higher item; 0 without items.
inline int ComboItemFromValue(float value, int itemCount)
{
    return itemCount > 0 ? 1 + Round(value * static_cast<float>(itemCount - 1)) : 0;
}
