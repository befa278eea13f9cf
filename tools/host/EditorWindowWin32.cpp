#include "EditorWindow.h"

#include "Screenshot.h"

namespace {
constexpr char WindowClassName[] = "OmbrixHostEditorWindow";
constexpr UINT_PTR IdleTimerId = 1;
// A fixed-size frame: the editor states its size and cannot follow a resize.
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

bool RegisterWindowClass(WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing {};
    if (GetClassInfoA(instance, WindowClassName, &existing))
        return true;
    WNDCLASSA windowClass {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassA(&windowClass) != 0;
}

// The window's outer size for a client area of width x height.
SIZE FrameSize(int width, int height)
{
    RECT frame {0, 0, width, height};
    AdjustWindowRect(&frame, WindowStyle, FALSE);
    return {frame.right - frame.left, frame.bottom - frame.top};
}
} // namespace

void DeclareDpiAwareness()
{
    // Windows 10 1703 has per-monitor awareness (version 2); older systems the system-wide kind.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    HMODULE user = GetModuleHandleA("user32.dll");
    const auto setContext
        = reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    const auto setAware
        = reinterpret_cast<SetAware>(reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
    const auto perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
    if (setContext == nullptr || !setContext(perMonitorAwareV2)) {
        if (setAware != nullptr)
            setAware();
    }
}

EditorWindow::~EditorWindow()
{
    host.SetResizeListener(nullptr);
    if (window != nullptr)
        DestroyWindow(window);
}

bool EditorWindow::Resize(int width, int height)
{
    if (window == nullptr || width <= 0 || height <= 0)
        return false;
    const SIZE frame = FrameSize(width, height);
    if (!SetWindowPos(window, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    clientWidth = width;
    clientHeight = height;
    return true;
}

bool EditorWindow::Open(const std::string& title, std::string& error)
{
    if (!ReadEditorSize(error))
        return false;

    if (!RegisterWindowClass(&EditorWindow::WindowProc)) {
        error = "cannot register the window class (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    const SIZE frame = FrameSize(clientWidth, clientHeight);
    window = CreateWindowExA(0, WindowClassName, title.c_str(), WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.cx,
        frame.cy, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (window == nullptr) {
        error = "cannot create the editor window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }

    if (host.Dispatch(effEditOpen, 0, 0, window) == 0) {
        error = "the plug-in did not open its editor (effEditOpen answered 0)";
        DestroyWindow(window);
        window = nullptr;
        return false;
    }
    editorOpen = true;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetTimer(window, IdleTimerId, IdleIntervalMs, nullptr);
    return true;
}

void EditorWindow::PointAt(int x, int y)
{
    POINT point {x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
}

bool EditorWindow::Run(std::string& error)
{
    MSG message;
    while (window != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return ScreenshotSavedIfAsked(error);
}

LRESULT CALLBACK EditorWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<EditorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr || self->window != window)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT EditorWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == IdleTimerId && IdleAndMaybeSave())
            PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        // The editor goes first, while its parent window still exists, as in a sequencer.
        CloseEditor();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, IdleTimerId);
        CloseEditor();
        window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Paint whatever the idle calls invalidated before reading the pixels back.
bool EditorWindow::SaveScreenshot()
{
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return SaveClientAreaAsPng(window, screenshotPath, screenshotError);
}
