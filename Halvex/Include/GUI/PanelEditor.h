#pragma once

#include "GUI/DisplayScale.h"
#include "GUI/Editor.h"
#include "GUI/PanelLayout.h"
#include "IControlObserver.h"

// An editor whose view shows a PanelLayout's panel at a display's scale,
// whatever the window system: its size is the layout's at that scale, and
// when a view opens at another scale than the size the host last read from
// getRect, the observer is asked to have the host's window resized. Threads
// as for Editor.
class PanelEditor : public Editor {
public:
    // parameters and observer are not owned; the layout's texts must outlive
    // the editor.
    PanelEditor(AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout);

    // The layout's size at the view's scale, or without a view at
    // ClosedViewScale's.
    bool getRect(ERect** rect) override;

protected:
    // Whether the view exists (from its creation in OpenView to CloseView).
    virtual bool HasView() const = 0;
    // The scale a view opened now would be shown at. GUI thread.
    virtual DisplayScale ClosedViewScale() = 0;
    // The view has just been shown at scale: the editor takes its size.
    void ViewShownAt(DisplayScale scale);

    const PanelLayout& GetLayout() const { return layout; }
    IControlObserver* GetObserver() const { return observer; }

private:
    bool SetScaledSize(DisplayScale scale);

    IControlObserver* observer;
    PanelLayout layout;
};
