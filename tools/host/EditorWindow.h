#pragma once

#include "PluginHost.h"

#if defined(_WIN32)
#include "Screenshot.h"

#include <windows.h>
#else
#include <X11/Xlib.h>
#endif

#include <string>

/// The top-level window that holds a plug-in's editor, the way a sequencer's plug-in window
/// does: its client area is the size effEditGetRect reports, the editor is opened into it with
/// effEditOpen (an HWND on Windows, an X11 window id elsewhere), effEditIdle is sent every 30 ms
/// from a timer, and effEditClose is sent when the window closes. The client area takes the
/// size the plug-in asks for with audioMasterSizeWindow (its panel follows the display's
/// scale). Optionally saves the client area as a PNG after a number of idle calls and then
/// closes itself. Everything here runs on the thread that created the window.
class EditorWindow {
public:
    static constexpr unsigned IdleIntervalMs = 30;

    explicit EditorWindow(PluginHost& host);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    /// Creates and shows the window and opens the editor in it. On failure answers false with
    /// a one-line reason in `error`; nothing stays open.
    bool Open(const std::string& title, std::string& error);
    /// Saves the client area to `path` after the `idleCount`-th idle call, then closes.
    void ScreenshotAfter(int idleCount, const std::string& path);
    /// Moves the mouse pointer onto client pixel (x, y), where it rests as a user's would, so
    /// that the control there sees the pointer arrive and hover.
    void PointAt(int x, int y);
    /// Dispatches events until the window is closed. Answers false, with the reason in
    /// `error`, when a screenshot was asked for and could not be saved.
    bool Run(std::string& error);

    int GetClientWidth() const { return clientWidth; }
    int GetClientHeight() const { return clientHeight; }

private:
    /// Reads the editor's size; false with the reason in `error` when it reports none.
    bool ReadEditorSize(std::string& error);
    /// Gives the client area the size the plug-in asks for; answers whether it took it.
    bool Resize(int width, int height);
    /// One idle call, and the screenshot when its turn has come; answers whether the window
    /// should close now.
    bool IdleAndMaybeSave();
    bool SaveScreenshot();
    /// Once the window has closed: false, with the reason in `error`, when a screenshot was
    /// asked for and not saved.
    bool ScreenshotSavedIfAsked(std::string& error) const;
    void CloseEditor();

#if defined(_WIN32)
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    GdiplusSession gdiplus;
    HWND window = nullptr;
#else
    void FixSize();

    Display* display = nullptr;
    Window window = 0;
    Atom deleteWindow = 0;
#endif
    PluginHost& host;
    bool editorOpen = false;
    int clientWidth = 0;
    int clientHeight = 0;
    int idleCalls = 0;
    int screenshotIdleCount = 0;
    std::string screenshotPath;
    std::string screenshotError;
    bool screenshotSaved = false;
};

#if defined(_WIN32)
/// Tells Windows that the process draws its windows for each monitor's resolution itself, as
/// current hosts do, so that a plug-in sees the display's resolution rather than a 96-dpi
/// picture the system enlarges. Call before any window exists.
void DeclareDpiAwareness();
#endif
