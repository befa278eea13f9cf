#pragma once

#include "GUI/DialogEditor.h"
#include "IControlObserver.h"

// The chorus's editor: a fixed 400 x 84 pixel panel. The five images
// ("BACKGROUND", "HSLIDER", "KNOB", "SWITCH_ON", "SWITCH_OFF", PNG resources
// of the library) are loaded once, when the editor is created with the
// effect, and lent to every dialog it opens. Threads as for Editor.
class OmbrixChorusEditor : public DialogEditor {
public:
    OmbrixChorusEditor(AudioEffect* effect, IControlObserver* observer, IParameterCollection* parameters);
    // Closes the dialog before the images go, and the images go before GDI+.
    ~OmbrixChorusEditor() override;

    bool getRect(ERect** rect) override;

protected:
    MainDialog* CreateMainDialog(HWND hDlg) override;

private:
    IControlObserver* observer;
    ERect rect;
    Gdiplus::Bitmap* background;
    Gdiplus::Bitmap* hThumb;
    Gdiplus::Bitmap* knob;
    Gdiplus::Bitmap* switchOn;
    Gdiplus::Bitmap* switchOff;
};
