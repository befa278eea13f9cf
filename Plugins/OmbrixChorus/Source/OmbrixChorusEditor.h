#pragma once

#include "GUI/DialogEditor.h"
#include "GUI/PanelBitmaps.h"
#include "IControlObserver.h"

#include <memory>

// The chorus's editor: a 400 x 84 pixel panel at 96 dpi, scaled with the
// display. The five images ("BACKGROUND", "HSLIDER", "KNOB", "SWITCH_ON",
// "SWITCH_OFF", PNG resources of the library, each also drawn at twice the
// size as "..._2X") are loaded once, when the editor is created with the
// effect, and lent to every dialog it opens, resampled where the display's
// scale asks for it. Threads as for Editor.
class OmbrixChorusEditor : public DialogEditor {
public:
    OmbrixChorusEditor(AudioEffect* effect, IControlObserver* observer, IParameterCollection* parameters);
    // Closes the dialog before the images go, and the images go before GDI+.
    ~OmbrixChorusEditor() override;

protected:
    MainDialog* CreateMainDialog(HWND hDlg, DisplayScale scale) override;

private:
    Gdiplus::Bitmap* background;
    Gdiplus::Bitmap* hThumb;
    Gdiplus::Bitmap* knob;
    Gdiplus::Bitmap* switchOn;
    Gdiplus::Bitmap* switchOff;
    PanelBitmaps doubled;
    std::unique_ptr<ScaledPanelBitmaps> scaled;
};
