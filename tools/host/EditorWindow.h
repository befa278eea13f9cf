#pragma once

#include "PluginHost.h"

#include <windows.h>

#include <string>

/// The top-level window that holds a plug-in's editor, the way a sequencer's plug-in window
/// does: its client area is the size effEditGetRect reports, the editor is opened into it with
/// effEditOpen, effEditIdle is sent every 30 ms from a timer, and effEditClose is sent when the
/// window closes. Optionally saves the client area as a PNG after a number of idle calls and
/// then closes itself. Everything here runs on the thread that created the window.
class EditorWindow {
public:
    static constexpr UINT IdleIntervalMs = 30;

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
    /// Dispatches messages until the window is closed. Answers false, with the reason in
    /// `error`, when a screenshot was asked for and could not be saved.
    bool Run(std::string& error);

    int GetClientWidth() const { return clientWidth; }
    int GetClientHeight() const { return clientHeight; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnIdleTimer();
    void CloseEditor();

    PluginHost& host;
    HWND window = nullptr;
    bool editorOpen = false;
    int clientWidth = 0;
    int clientHeight = 0;
    int idleCalls = 0;
    int screenshotIdleCount = 0;
    std::string screenshotPath;
    std::string screenshotError;
    bool screenshotSaved = false;
};
