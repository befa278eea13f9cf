#include "EditorWindow.h"

// The parts of the editor window that every platform shares; the window
// itself is in EditorWindowWin32.cpp and EditorWindowX11.cpp.

EditorWindow::EditorWindow(PluginHost& host)
    : host(host)
{
    host.SetResizeListener([this](int width, int height) { return Resize(width, height); });
}

bool EditorWindow::ReadEditorSize(std::string& error)
{
    ERect* rect = nullptr;
    host.Dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top) {
        error = "the editor reports no size (effEditGetRect)";
        return false;
    }
    clientWidth = rect->right - rect->left;
    clientHeight = rect->bottom - rect->top;
    return true;
}

void EditorWindow::ScreenshotAfter(int idleCount, const std::string& path)
{
    screenshotIdleCount = idleCount;
    screenshotPath = path;
}

bool EditorWindow::IdleAndMaybeSave()
{
    if (!editorOpen)
        return false;
    host.Dispatch(effEditIdle);
    ++idleCalls;
    if (screenshotPath.empty() || screenshotSaved || idleCalls < screenshotIdleCount)
        return false;
    screenshotSaved = SaveScreenshot();
    return true;
}

bool EditorWindow::ScreenshotSavedIfAsked(std::string& error) const
{
    if (!screenshotPath.empty() && !screenshotSaved) {
        error = screenshotError.empty() ? "the window closed before the screenshot was taken" : screenshotError;
        return false;
    }
    return true;
}

void EditorWindow::CloseEditor()
{
    if (!editorOpen)
        return;
    editorOpen = false;
    host.Dispatch(effEditClose);
}
