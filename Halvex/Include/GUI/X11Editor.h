#pragma once

#include "GUI/Editor.h"
#include "GUI/PanelLayout.h"
#include "IControlObserver.h"

#include <memory>

// The toolkit's X11 editor: the panel a PanelLayout describes, drawn with
// cairo into a child window of the host's X11 window (the window id comes
// as open's pointer argument). The host's GUI thread drives it: idle handles
// the window's pointer and key events and redraws what changed; there are no
// threads of its own. Each open has its own connection to the X server, so
// editors of several instances may be open at once.
//
// Xlib and cairo are loaded at the first open (X11Library); where they or an
// X server are missing, open answers false and nothing else changes. The
// images are decoded at the first open that succeeds and kept until the
// editor goes. The controls' behaviour is the window-system-free Panel's;
// user actions reach observer. Threads as for Editor.
class X11Editor : public Editor {
public:
    // parameters and observer are not owned; the layout's images and texts
    // must outlive the editor.
    X11Editor(AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout);
    ~X11Editor() override;

    // The layout's size, before and after opening.
    bool getRect(ERect** rect) override;
    void idle() override;
    // The panel's X11 window, a child of the host's; 0 while closed.
    std::uintptr_t GetViewWindow() const override;

protected:
    bool OpenView(void* parentWindow) override;
    void CloseView() override;
    void ShowValue(int parameterId, float value) override;
    void ShowStatusText(const char* text) override;
    void ClearStatusView() override;

private:
    struct Images;
    class View;

    IControlObserver* observer;
    PanelLayout layout;
    ERect rect;
    std::unique_ptr<Images> images;
    std::unique_ptr<View> view;
};
