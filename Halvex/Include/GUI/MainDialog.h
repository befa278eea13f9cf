#pragma once

#include "GUI/PanelGeometry.h"
#include "GUI/ParameterControl.h"

#include <windows.h>
#include <gdiplus.h>

#include <map>

// The object attached to the editor's dialog window (through its DWLP_USER
// slot): paints the background image, opens the about box, and maps
// parameter ids to the controls that show them. The product derives from it,
// owns the controls as members and names its status display and about area.
// The background and the controls are not owned. GUI thread only.
class MainDialog {
public:
    MainDialog(HWND hDlg, Gdiplus::Image* background);
    // Forgets the controls; destroys none.
    virtual ~MainDialog();
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    virtual void SetStatusText(const char* text) = 0;
    virtual void ClearStatusText() = 0;
    virtual AboutRect GetAboutRect() const = 0;

    // A second control for the same id replaces the first.
    void AddControl(int parameterId, ParameterControl* control);
    // The control of parameterId takes value (normalised); ids without a
    // control are ignored.
    void SetParameterValue(int parameterId, float value);
    // Ends every drag still in progress (the dialog is closing).
    void CancelGestures();

private:
    friend INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    void Paint(HWND hwnd);
    // x and y are the click's dialog client pixels.
    void OnLeftButtonDown(HWND hwnd, int x, int y);

    std::map<int, ParameterControl*> controls;
    Gdiplus::Image* background;
};

// The dialog procedure of "MainDialog": paints and handles clicks on the
// dialog's own surface for the MainDialog attached to it; before one is
// attached it leaves everything to the system.
INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog procedure of the modal about box: OK or closing ends it.
INT_PTR CALLBACK AboutDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a dialog window class (DefDlgProcA, DLGWINDOWEXTRA bytes) under
// the instance. A second registration of the same name fails silently.
void RegisterDialogClass(HINSTANCE instance, const char* className);
