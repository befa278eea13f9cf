#include "GUI/ControlText.h"

void DrawControlText(Gdiplus::Graphics& graphics, HWND hWnd, const char* text, const ControlTextStyle& style)
{
    HDC hdc = graphics.GetHDC();
    if (hdc == nullptr) {
        return;
    }
    HFONT font = CreateFontA(style.fontHeight, 0, 0, 0, style.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, style.quality, FF_SWISS | DEFAULT_PITCH, "Arial");
    HGDIOBJ previousFont = SelectObject(hdc, font);
    RECT textRect = {0, 0, 0, 0};
    GetClientRect(hWnd, &textRect);
    textRect.bottom -= style.bottomInset;
    SetTextColor(hdc, style.colour);
    SetBkMode(hdc, TRANSPARENT);
    DrawTextA(hdc, text, -1, &textRect, style.format);
    SelectObject(hdc, previousFont);
    DeleteObject(font);
    graphics.ReleaseHDC(hdc);
}
