#include "GUI/ImageResource.h"

#include <objidl.h>

#include <cstring>
#include <new>

// GDI+ may read from the stream for as long as the bitmap lives, so the
// bytes are copied into a block the stream owns (delete-on-release): the
// bitmap's last reference to the stream frees the block with it.
Gdiplus::Bitmap* LoadImageResource(HINSTANCE module, const char* name, const char* type)
{
    HRSRC resource = FindResourceA(module, name, type);
    if (resource == nullptr) {
        return nullptr;
    }
    DWORD size = SizeofResource(module, resource);
    if (size == 0) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return nullptr;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) {
        return nullptr;
    }
    void* copy = GlobalLock(block);
    if (copy == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(copy, data, size);
    GlobalUnlock(block);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    // GDI+'s allocator answers null rather than throwing (before GDI+ is
    // started, for one), which a plain new-expression would not check.
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Bitmap));
    Gdiplus::Bitmap* bitmap = memory != nullptr ? ::new (memory) Gdiplus::Bitmap(stream, FALSE) : nullptr;
    stream->Release();
    if (bitmap == nullptr) {
        return nullptr;
    }
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}
