#pragma once

#include "GUI/Editor.h"

#include <windows.h>
#include <gdiplus.h>

class MainDialog;

// The toolkit's Win32 editor: the panel is the dialog "MainDialog", created
// inside the window the host hands to open. It starts GDI+ and registers the
// control classes when it is constructed (with the effect), lets the product
// build its dialog object (CreateMainDialog) and routes values and status
// texts to it. Threads as for Editor.
class DialogEditor : public Editor {
public:
    // parameters is where the controls' values are read; not owned.
    DialogEditor(AudioEffect* effect, IParameterCollection* parameters);
    // A derived editor must have closed the dialog and deleted its GDI+
    // objects before this runs: GDI+ is shut down here.
    ~DialogEditor() override;

protected:
    // The product's dialog object for the dialog window just created; the
    // editor owns it and deletes it at close.
    virtual MainDialog* CreateMainDialog(HWND hDlg) = 0;

    bool OpenView(void* parentWindow) override;
    void CloseView() override;
    void ShowValue(int parameterId, float value) override;
    void ShowStatusText(const char* text) override;
    void ClearStatusView() override;

private:
    ULONG_PTR gdiplusToken;
    HWND hDlg;
    MainDialog* mainDialog;
};
