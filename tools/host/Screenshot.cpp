#include "Screenshot.h"

#include "PluginHost.h"

#include <gdiplus.h>

#include <vector>

namespace {
std::wstring WindowsPath(const std::string& unixOrWindowsPath)
{
    const std::string path = NativePath(unixOrWindowsPath);
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

bool FindEncoder(const wchar_t* mimeType, CLSID& encoder)
{
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> storage(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(encoders[i].MimeType, mimeType) == 0) {
            encoder = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}
} // namespace

bool SaveClientAreaAsPng(HWND window, const std::string& path, std::string& error)
{
    RECT client {};
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) {
        error = "the window has no client area to capture";
        return false;
    }

    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    const BOOL copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY | CAPTUREBLT);
    SelectObject(memoryDc, previous);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);

    bool saved = false;
    CLSID pngEncoder {};
    if (!copied) {
        error = "cannot copy the window's pixels (BitBlt failed)";
    } else if (!FindEncoder(L"image/png", pngEncoder)) {
        error = "GDI+ offers no PNG encoder";
    } else {
        Gdiplus::Bitmap image(bitmap, nullptr);
        const Gdiplus::Status status = image.Save(WindowsPath(path).c_str(), &pngEncoder, nullptr);
        saved = status == Gdiplus::Ok;
        if (!saved)
            error = "cannot write " + path + " (GDI+ status " + std::to_string(static_cast<int>(status)) + ")";
    }
    DeleteObject(bitmap);
    return saved;
}
