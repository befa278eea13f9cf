#include "GUI/WindowScale.h"

namespace {

// Windows 10 1607 and Wine have them; older systems and Wine versions do
// not, so they are looked up rather than imported.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();

template <class Function>
Function FindUserFunction(const char* name)
{
    HMODULE user = GetModuleHandleA("user32.dll");
    return user != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

int ScreenDpi(HWND window)
{
    HDC hdc = GetDC(window);
    const int dpi = hdc != nullptr ? GetDeviceCaps(hdc, LOGPIXELSY) : 0;
    if (hdc != nullptr) {
        ReleaseDC(window, hdc);
    }
    return dpi;
}

} // namespace

DisplayScale WindowDisplayScale(HWND window)
{
    static const auto getDpiForWindow = FindUserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    static const auto getDpiForSystem = FindUserFunction<GetDpiForSystemFunction>("GetDpiForSystem");
    UINT dpi = 0;
    if (window != nullptr && getDpiForWindow != nullptr) {
        dpi = getDpiForWindow(window);
    } else if (window == nullptr && getDpiForSystem != nullptr) {
        dpi = getDpiForSystem();
    }
    return DisplayScale(dpi != 0 ? static_cast<int>(dpi) : ScreenDpi(window));
}
