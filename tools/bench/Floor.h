#pragma once

// The oscillator's two-multiply recurrence on its own, nothing stored:
// sine += increment * cosine, then cosine -= increment * sine with the new
// sine. Every operation waits for the one before it, and single-precision
// rounding after each forbids regrouping them, so no implementation with
// these exact results runs a frame faster. It is the floor the plug-in's
// time per frame is measured against.
inline void RunFloorRecurrence(float increment, float& sine, float& cosine, long frames)
{
    float s = sine;
    float c = cosine;
    for (long i = 0; i < frames; ++i) {
        s = s + increment * c;
        c = c - increment * s;
    }
    sine = s;
    cosine = c;
}
