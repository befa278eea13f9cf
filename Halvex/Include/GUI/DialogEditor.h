#pragma once

#include "GUI/PanelEditor.h"

#include <windows.h>
#include <gdiplus.h>

class MainDialog;

// The toolkit's Win32 editor: the panel is the dialog "MainDialog", created
// inside the window the host hands to open. It starts GDI+ and registers the
// control classes when it is constructed (with the effect), lets the product
// build its dialog object (CreateMainDialog) and routes values and status
// texts to it.
//
// The dialog template places its items in dialog units, which follow the
// dialog font and the display's resolution; the panel's artwork does not.
// So once the dialog exists, it takes the layout's size and every item of
// the layout is moved to its rectangle, both scaled to the window's display
// (WindowDisplayScale): the controls sit on their artwork whatever the font
// and the scale. When the window's scale changes while the dialog is open
// (a move to another monitor, a new system setting), the next idle builds
// the dialog anew at the new scale and the observer is asked to have the
// host resize its window. Threads as for Editor.
class DialogEditor : public PanelEditor {
public:
    // parameters is where the controls' values are read; observer is asked
    // for the host's window to follow the panel's size. Neither is owned.
    DialogEditor(AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout);
    // A derived editor must have closed the dialog and deleted its GDI+
    // objects before this runs: GDI+ is shut down here.
    ~DialogEditor() override;

    void idle() override;

protected:
    // The product's dialog object for the dialog window just created and
    // placed at scale; the editor owns it and deletes it at close.
    virtual MainDialog* CreateMainDialog(HWND hDlg, DisplayScale scale) = 0;
    // The scale the panel is drawn at in window (null: before there is
    // one): by default its display's.
    virtual DisplayScale ScaleOf(HWND window) const;

    bool OpenView(void* parentWindow) override;
    void CloseView() override;
    void ShowValue(int parameterId, float value) override;
    void ShowStatusText(const char* text) override;
    void ClearStatusView() override;
    bool HasView() const override { return hDlg != nullptr; }
    // Without a dialog, the system's scale.
    DisplayScale ClosedViewScale() override { return ScaleOf(nullptr); }

private:
    void PlaceItems(DisplayScale scale);

    ULONG_PTR gdiplusToken;
    HWND hDlg;
    MainDialog* mainDialog;
    DisplayScale dialogScale;
};
