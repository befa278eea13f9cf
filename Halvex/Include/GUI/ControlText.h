#pragma once

#include <windows.h>
#include <gdiplus.h>

// How a control prints its text on the panel: an Arial font created for
// each paint, a text colour, DrawTextA flags, and how many pixels are taken
// off the bottom of the client rectangle.
struct ControlTextStyle {
    int fontHeight;
    int weight;
    DWORD quality;
    COLORREF colour;
    UINT format;
    int bottomInset;
};

// Draws text with GDI through the device context of a GDI+ graphics, over
// what the graphics already holds, inside the client rectangle of hWnd.
// Window thread only.
void DrawControlText(Gdiplus::Graphics& graphics, HWND hWnd, const char* text, const ControlTextStyle& style);
