#pragma once

#include "GUI/PanelLayout.h"

// What the chorus panel is on every platform: the knob strip's frame count,
// the status line's font height and the about area, the title strip at the
// top-left of the 400 x 84 background (bounds inclusive).
constexpr int ChorusPanelWidth = 400;
constexpr int ChorusPanelHeight = 84;
constexpr int ChorusKnobFrames = 91;
constexpr int ChorusStatusFontHeight = 12;
constexpr AboutRect ChorusAboutArea = {0, 0, 25, 225};

// The chorus panel for a drawn view (the X11 editor): the five images built
// into the library and each control where the Windows dialog template puts
// it, in panel pixels.
PanelLayout MakeChorusPanelLayout();
