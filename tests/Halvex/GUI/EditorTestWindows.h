#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// Windows and messages for editor tests: a stand-in for the host's editor
// frame, a message pump, and a probe that finds and closes a modal about box
// opened by a click. Header only, so that the toolkit's tests and the
// plug-in's end-to-end tests share it.

// A top-level window like the frame a host hands to the editor's open.
class HostWindow {
public:
    HostWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "EditorTestHost";
        RegisterClassA(&windowClass); // fails harmlessly when already registered
        window = CreateWindowExA(0, "EditorTestHost", "Editor test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 520,
            200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return window; }
    // The editor's dialog: the host window's child, or null.
    HWND Dialog() const { return GetWindow(window, GW_CHILD); }
    int ChildCount() const
    {
        int count = 0;
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            ++count;
        }
        return count;
    }

private:
    HWND window;
};

// Handles every waiting message of this thread, as a host's loop would.
inline void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

inline LPARAM ClientPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Sends one mouse message to a window and reports whether a modal about box
// (a top-level dialog of this thread) opened meanwhile. While the box runs
// its own message loop, a thread timer finds it and posts the scripted
// messages to it, one per tick, then WM_CLOSE until it is gone; a box that
// outlives many of those is ended, so that the test fails on its
// expectations instead of waiting forever.
class AboutBoxProbe {
public:
    struct Post {
        UINT message;
        WPARAM wParam;
    };

    explicit AboutBoxProbe(std::vector<Post> script = {{WM_COMMAND, IDOK}}) { Script() = std::move(script); }

    bool Click(HWND window, UINT message, WPARAM keys, int x, int y)
    {
        Ticks() = 0;
        CaptionList().clear();
        UINT_PTR timer = SetTimer(nullptr, 0, 40, &Tick);
        SendMessageA(window, message, keys, ClientPoint(x, y));
        KillTimer(nullptr, timer);
        return Ticks() > 0;
    }

    // How many timer ticks found the box open: one more than the scripted
    // messages it survived.
    int TicksOpen() const { return Ticks(); }
    const std::vector<std::string>& Captions() const { return CaptionList(); }

private:
    static constexpr int ClosesBeforeEnding = 50;

    static std::vector<Post>& Script()
    {
        static std::vector<Post> script;
        return script;
    }
    static int& Ticks()
    {
        static int ticks = 0;
        return ticks;
    }
    static std::vector<std::string>& CaptionList()
    {
        static std::vector<std::string> captions;
        return captions;
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM found)
    {
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, "#32770") != 0) {
            return TRUE;
        }
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) {
            return;
        }
        char caption[128] = {};
        GetWindowTextA(box, caption, sizeof caption);
        CaptionList().push_back(caption);
        const int tick = Ticks()++;
        const int scripted = static_cast<int>(Script().size());
        if (tick < scripted) {
            PostMessageA(box, Script()[tick].message, Script()[tick].wParam, 0);
        } else if (tick < scripted + ClosesBeforeEnding) {
            PostMessageA(box, WM_CLOSE, 0, 0);
        } else {
            EndDialog(box, 0);
        }
    }
};
