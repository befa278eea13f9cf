#pragma once

#include "GUI/DisplayScale.h"

#include <windows.h>

// The scale a window is shown at: the dots per inch Windows reports for it
// (GetDpiForWindow, where the system has it: per monitor when the host is
// per-monitor aware, 96 when the host leaves scaling to the system), else
// those of the screen. For a null window, the system's. GUI thread.
DisplayScale WindowDisplayScale(HWND window);
