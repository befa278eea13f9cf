#pragma once

#include <windows.h>

#include <string>

/// Saves the client area of `window`, as it shows on the screen (child windows included), as a
/// PNG file at `path` (a Windows path, or a Unix path under Wine). GDI+ must have been started.
/// On failure answers false with a one-line reason in `error`. GUI thread.
bool SaveClientAreaAsPng(HWND window, const std::string& path, std::string& error);
