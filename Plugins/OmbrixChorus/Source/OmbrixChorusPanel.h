#pragma once

#include "GUI/PanelLayout.h"

#include <vector>

// What the chorus panel is on every platform: the knob strip's frame count,
// the status line's font height and the about area, the title strip at the
// top-left of the 400 x 84 background (bounds inclusive). All in panel
// pixels, as at 96 dpi; displays of other scales show them scaled.
constexpr int ChorusPanelWidth = 400;
constexpr int ChorusPanelHeight = 84;
constexpr int ChorusKnobFrames = 91;
constexpr int ChorusStatusFontHeight = 12;
constexpr AboutRect ChorusAboutArea = {0, 0, 25, 225};

// The chorus panel as every view places it: each control and the status
// line on its artwork, with the parameter it shows and the item of the
// "MAINDIALOG" template that shows it on Windows.
PanelLayout MakeChorusPanelLayout();

#if !defined(_WIN32)
// The five pictures built into the library, drawn for 96 dpi and for 192
// dpi (the Windows library holds them as resources instead).
std::vector<PanelArtwork> MakeChorusArtwork();
#endif
