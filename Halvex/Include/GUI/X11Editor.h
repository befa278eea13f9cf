#pragma once

#include "GUI/PanelEditor.h"

#include <memory>
#include <vector>

class X11PanelPictures;

// The toolkit's X11 editor: the panel a PanelLayout describes, drawn with
// cairo into a child window of the host's X11 window (the window id comes
// as open's pointer argument). The host's GUI thread drives it: idle handles
// the window's pointer and key events and redraws what changed; there are no
// threads of its own. Each open has its own connection to the X server, so
// editors of several instances may be open at once.
//
// The panel follows the desktop's scale (GDK_SCALE, else the X resource
// Xft.dpi), read at every open and, while closed, whenever the host asks
// for the size: it is drawn from the artwork nearest to that scale,
// resampled to it, and when an open finds another scale than the size the
// host was last told, the observer is asked to have the host's window
// resized.
//
// Xlib and cairo are loaded at the first open or size query (X11Library);
// where they or an X server are missing, open answers false, the size is
// the 96-dpi one and nothing else changes. The connection a size query
// opens is kept for the next open. The images are decoded at the
// first open that succeeds and kept until the editor goes. The controls'
// behaviour is the window-system-free Panel's; user actions reach observer.
// Threads as for Editor.
class X11Editor : public PanelEditor {
public:
    // parameters and observer are not owned; the artwork's images and the
    // layout's texts must outlive the editor. artwork holds the pictures at
    // resolution 1 and, optionally, 2.
    X11Editor(AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout,
        std::vector<PanelArtwork> artwork);
    ~X11Editor() override;

    void idle() override;
    // The panel's X11 window, a child of the host's; 0 while closed.
    std::uintptr_t GetViewWindow() const override;

protected:
    bool OpenView(void* parentWindow) override;
    void CloseView() override;
    void ShowValue(int parameterId, float value) override;
    void ShowStatusText(const char* text) override;
    void ClearStatusView() override;
    bool HasView() const override { return view != nullptr; }
    // The desktop's scale, read on a connection kept for the next open.
    DisplayScale ClosedViewScale() override;

private:
    class View;

    const X11PanelPictures& PicturesFor(DisplayScale scale);

    std::vector<PanelArtwork> artwork;
    // Decoded at the first open: the pictures at resolution 1 and 2, and
    // those shown at the scale of the last open.
    std::unique_ptr<X11PanelPictures> original;
    std::unique_ptr<X11PanelPictures> doubled;
    std::unique_ptr<X11PanelPictures> shown;
    DisplayScale shownScale;
    std::unique_ptr<View> view;
    // The connection that answered getRect while closed; the next open
    // takes it over.
    class Connection;
    std::unique_ptr<Connection> sizeConnection;
};
