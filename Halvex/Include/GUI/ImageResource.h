#pragma once

#include <windows.h>
#include <gdiplus.h>

// Decodes an image resource of the module (a PNG, or any format GDI+ reads)
// into a bitmap the caller owns, or answers null when the resource is missing
// or cannot be decoded. The bitmap reads from a copy of the resource bytes in
// global memory that is released when the bitmap is deleted. GDI+ must be
// started. Any thread.
Gdiplus::Bitmap* LoadImageResource(HINSTANCE module, const char* name, const char* type);
