#pragma once

#include <windows.h>
#include <gdiplus.h>

// Registers a window class of the toolkit's controls under the module
// instance, unless it is registered already. Classes are never unregistered.
void RegisterControlClass(const char* className);

// Registers "HSlider", "VSlider", "Switch", "Knob", "CustComboBox" and
// "StatusControl". Call before creating a dialog that contains them.
void RegisterControlClasses();

// The window procedure of every control class: forwards mouse and paint
// messages to the control object bound to the window, and everything else
// (and every message before the binding) to DefWindowProcA.
LRESULT CALLBACK CustomControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// A control object bound to an existing dialog item. It paints the part of
// the dialog background it covers and its own content into an off-screen
// bitmap, then copies that to the window in one draw. The window, the
// background image and everything else it points to are not owned.
// Everything runs on the dialog's window thread. The object must outlive
// its window's messages; if it dies first, the window forgets it.
class CustomControl {
public:
    CustomControl(HWND hDlg, int id, Gdiplus::Image* background);
    virtual ~CustomControl();
    CustomControl(const CustomControl&) = delete;
    CustomControl& operator=(const CustomControl&) = delete;

    virtual void Paint(HDC hdc);
    // keys is the mouse message's key-state word (MK_LBUTTON, MK_SHIFT,
    // MK_CONTROL); x and y are client coordinates.
    virtual void OnLeftButtonDown(int, int, int) { }
    virtual void OnLeftButtonUp(int, int, int) { }
    virtual void OnRightButtonDown(int, int, int) { }
    virtual void OnRightButtonUp(int, int, int) { }
    virtual void OnMouseMove(int, int, int) { }
    virtual void OnMouseHover(int, int, int) { }
    virtual void OnMouseLeave() { }
    // delta is the unsigned high word of the message's wParam; x and y are
    // screen coordinates.
    virtual void OnMouseWheel(int, int, int, int) { }
    // Draws the control's content over the background copy.
    virtual void Draw(Gdiplus::Graphics&) { }

    // Gives the keyboard focus back to the window that had it before the
    // control received it.
    void ReturnFocus();

    HWND GetWindow() const { return hWnd; }

protected:
    // Asks for WM_MOUSEHOVER after 100 ms of rest and WM_MOUSELEAVE.
    void RequestHoverTracking();

    HWND hDlg;
    HWND hWnd;
    HWND hPrevFocus;
    RECT rect;
    int id;
    TRACKMOUSEEVENT trackMouseEvent;
    Gdiplus::Image* background;
    POINT origin;

private:
    friend LRESULT CALLBACK CustomControlProc(HWND, UINT, WPARAM, LPARAM);
};
