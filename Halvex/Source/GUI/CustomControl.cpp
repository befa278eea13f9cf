#include "GUI/CustomControl.h"

#include "Assert.h"
#include "GUI/Module.h"

#include <windowsx.h>

#include <initializer_list>

CustomControl::CustomControl(HWND hDlg, int id, Gdiplus::Image* background)
    : hDlg(hDlg)
    , hWnd(nullptr)
    , hPrevFocus(nullptr)
    , rect {0, 0, 0, 0}
    , id(id)
    , trackMouseEvent {}
    , background(background)
    , origin {0, 0}
{
    HALVEX_ASSERT(hDlg != 0);
    hWnd = GetDlgItem(hDlg, id);
    HALVEX_ASSERT(hWnd != 0);
    if (hWnd != nullptr) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        GetClientRect(hWnd, &rect);
        ClientToScreen(hWnd, &origin);
        ScreenToClient(hDlg, &origin);
    }
    trackMouseEvent.cbSize = sizeof trackMouseEvent;
    trackMouseEvent.dwFlags = TME_HOVER | TME_LEAVE;
    trackMouseEvent.hwndTrack = hWnd;
    trackMouseEvent.dwHoverTime = 100;
}

CustomControl::~CustomControl()
{
    if (hWnd != nullptr && IsWindow(hWnd)
        && GetWindowLongPtrA(hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
    }
}

void CustomControl::Paint(HDC hdc)
{
    int width = rect.right;
    int height = rect.bottom;
    if (width <= 0 || height <= 0) {
        return;
    }
    Gdiplus::Bitmap buffer(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics bufferGraphics(&buffer);
        if (background != nullptr) {
            bufferGraphics.DrawImage(
                background, Gdiplus::Rect(0, 0, width, height), origin.x, origin.y, width, height, Gdiplus::UnitPixel);
        }
        Draw(bufferGraphics);
    }
    Gdiplus::Graphics windowGraphics(hdc);
    windowGraphics.DrawImage(&buffer, 0, 0, width, height);
}

void CustomControl::ReturnFocus()
{
    if (hPrevFocus != nullptr) {
        SetFocus(hPrevFocus);
    }
}

void CustomControl::RequestHoverTracking()
{
    TrackMouseEvent(&trackMouseEvent);
}

void RegisterControlClass(const char* className)
{
    HALVEX_ASSERT(className != 0);
    if (className == nullptr) {
        return;
    }
    HINSTANCE instance = GetModuleInstance();
    WNDCLASSA existing;
    if (GetClassInfoA(instance, className, &existing)) {
        return;
    }
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = CustomControlProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

void RegisterControlClasses()
{
    for (const char* className : {"HSlider", "VSlider", "Switch", "Knob", "CustComboBox", "StatusControl"}) {
        RegisterControlClass(className);
    }
}

LRESULT CALLBACK CustomControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<CustomControl*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (control == nullptr) {
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    int keys = static_cast<int>(wParam);
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_SIZE:
        control->rect.right = LOWORD(lParam);
        control->rect.bottom = HIWORD(lParam);
        return 0;
    case WM_SETFOCUS:
        control->hPrevFocus = reinterpret_cast<HWND>(wParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        control->Paint(hdc);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_MOUSEMOVE:
        control->OnMouseMove(keys, x, y);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hWnd);
        control->OnLeftButtonDown(keys, x, y);
        return 0;
    case WM_LBUTTONUP:
        control->OnLeftButtonUp(keys, x, y);
        return 0;
    case WM_RBUTTONDOWN:
        SetFocus(hWnd);
        control->OnRightButtonDown(keys, x, y);
        return 0;
    case WM_RBUTTONUP:
        control->OnRightButtonUp(keys, x, y);
        return 0;
    case WM_MOUSEWHEEL:
        control->OnMouseWheel(LOWORD(wParam), HIWORD(wParam), x, y);
        return 0;
    case WM_MOUSEHOVER:
        control->OnMouseHover(keys, x, y);
        return 0;
    case WM_MOUSELEAVE:
        control->OnMouseLeave();
        return 0;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
