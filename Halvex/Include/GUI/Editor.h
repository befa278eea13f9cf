#pragma once

#include "AEffEditor.h"
#include "Interfaces.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

// The toolkit's editor as the effect sees it, whatever window system draws
// it: it opens and closes a view inside the host's window and keeps the
// view's controls in step with the parameters. The view itself is a derived
// class's (a Win32 dialog, an X11 window); this base has none, so its open
// answers false, and it serves builds and tests without a window system.
//
// Threads: open, close, idle and the status texts belong to the host's GUI
// thread, the one that opened the view. RefreshControl and RequestRefresh
// may come from any thread (host automation, MIDI controllers on the audio
// thread): away from the GUI thread they only raise atomic flags, never touch
// the view, and the next idle pushes the flagged values. So no other thread
// can race with close. On the GUI thread itself RefreshControl pushes at once.
class Editor : public AEffEditor {
public:
    // parameters is where the controls' values are read; not owned. Without
    // it there is nothing to show.
    explicit Editor(AudioEffect* effect, IParameterCollection* parameters = nullptr);
    // A derived editor must have closed its view before this runs.
    ~Editor() override;

    // Opening while open closes the view first. The fresh controls take the
    // parameters' values at the first idle.
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;

    // Every control takes its parameter's value at the next idle (after a
    // program change). Any thread.
    void RequestRefresh();
    // The control of parameterId shows the parameter's current value: at once
    // on the GUI thread, else at the next idle. Unknown ids are ignored. Any
    // thread; never blocks.
    void RefreshControl(int parameterId);
    // Route to the product's status display while the view is open. GUI
    // thread; calls from other threads are dropped.
    void SetStatusText(const char* text);
    void ClearStatusText();
    // The window system's id of the open view (an X11 window), for hosts
    // that embed it by id; 0 while closed or where the view has none. GUI
    // thread.
    virtual std::uintptr_t GetViewWindow() const { return 0; }

protected:
    // The view, on the GUI thread. OpenView builds it inside the host's
    // window and answers whether it exists; CloseView takes it down, ending
    // any gesture still in progress.
    virtual bool OpenView(void* /*parentWindow*/) { return false; }
    virtual void CloseView() { }
    // The control of parameterId shows value (normalised).
    virtual void ShowValue(int /*parameterId*/, float /*value*/) { }
    virtual void ShowStatusText(const char* /*text*/) { }
    virtual void ClearStatusView() { }

    bool IsViewOpen() const { return viewOpen.load(std::memory_order_relaxed); }

    // The view's size in device pixels, for getRect; GUI thread. Setting it
    // answers whether it changed.
    ERect* GetViewSize() { return &viewSize; }
    bool SetViewSize(int width, int height);

private:
    bool OnViewThread() const;
    void PushValue(int parameterId);

    IParameterCollection* parameters;
    std::atomic<bool> viewOpen {false};
    std::atomic<bool> refreshPending {false};
    // The thread that opened the view: the only one that touches it.
    std::atomic<std::thread::id> viewThread {};
    // One flag per parameter, raised by RefreshControl away from the GUI
    // thread and cleared by idle.
    int flagCount;
    std::unique_ptr<std::atomic<bool>[]> refreshFlags;
    ERect viewSize = {0, 0, 0, 0};
};
