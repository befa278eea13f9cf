#pragma once

#include "AEffEditor.h"
#include "Interfaces.h"

#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <memory>

class MainDialog;

// The toolkit's editor: the host's view of the plug-in's panel. It starts
// GDI+ and registers the control classes when it is constructed (with the
// effect), creates the dialog "MainDialog" inside the window the host hands
// to open, lets the product build its dialog object (CreateMainDialog) and
// keeps the controls in step with the parameters.
//
// Threads: open, close, idle and the status texts belong to the host's GUI
// thread, the one that opened the dialog. RefreshControl and RequestRefresh
// may come from any thread (host automation, MIDI controllers on the audio
// thread): away from the GUI thread they only raise atomic flags, never touch
// a window or a control, and the next idle pushes the flagged values. So no
// other thread can race with close. On the GUI thread itself RefreshControl
// pushes at once.
class Editor : public AEffEditor {
public:
    // parameters is where the controls' values are read; not owned.
    Editor(AudioEffect* effect, IParameterCollection* parameters);
    // A derived editor must have closed the dialog and deleted its GDI+
    // objects before this runs: GDI+ is shut down here.
    ~Editor() override;

    bool open(void* ptr) override;
    void close() override;
    void idle() override;

    // Every control takes its parameter's value at the next idle (after a
    // program change). Any thread.
    void RequestRefresh();
    // The control of parameterId shows the parameter's current value: at once
    // on the GUI thread, else at the next idle. Unknown ids are ignored. Any
    // thread; never blocks.
    void RefreshControl(int parameterId);
    // Route to the product's status display while the dialog is open. GUI
    // thread; calls from other threads are dropped.
    void SetStatusText(const char* text);
    void ClearStatusText();

protected:
    // The product's dialog object for the dialog window just created; the
    // editor owns it and deletes it at close.
    virtual MainDialog* CreateMainDialog(HWND hDlg) = 0;

private:
    bool OnWindowThread() const;
    void PushValue(int parameterId);

    IParameterCollection* parameters;
    ULONG_PTR gdiplusToken;
    HWND hDlg;
    MainDialog* mainDialog;
    std::atomic<bool> dialogOpen;
    std::atomic<bool> refreshPending;
    // The thread that opened the dialog: the only one that touches it.
    std::atomic<DWORD> windowThreadId;
    // One flag per parameter, raised by RefreshControl away from the GUI
    // thread and cleared by idle.
    int flagCount;
    std::unique_ptr<std::atomic<bool>[]> refreshFlags;
};
