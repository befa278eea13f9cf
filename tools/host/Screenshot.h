#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>

/// GDI+, started for the lifetime of the object (the PNG encoder needs it).
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (started)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token = 0;
    bool started = false;
};

/// Saves the client area of `window`, as it shows on the screen (child windows included), as a
/// PNG file at `path` (a Windows path, or a Unix path under Wine). GDI+ must have been started.
/// On failure answers false with a one-line reason in `error`. GUI thread.
bool SaveClientAreaAsPng(HWND window, const std::string& path, std::string& error);
