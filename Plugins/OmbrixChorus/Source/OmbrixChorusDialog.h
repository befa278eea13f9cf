#pragma once

#include "GUI/HSlider.h"
#include "GUI/Knob.h"
#include "GUI/MainDialog.h"
#include "GUI/StatusControl.h"
#include "GUI/Switch.h"
#include "IControlObserver.h"

// The chorus panel inside the editor's dialog: three switches, four knobs
// and the mix slider bound to the host parameters by id, each reporting to the
// effect's observer, and the status line. Built anew at every open of the
// editor, over the child windows of the "MAINDIALOG" template placed at
// scale; the images are the editor's, as that scale shows them. A left
// click on the title strip (0, 0)-(225, 25), scaled, opens the about box.
// GUI thread only.
class OmbrixChorusDialog : public MainDialog {
public:
    OmbrixChorusDialog(HWND hDlg, IControlObserver* observer, Gdiplus::Bitmap* background, Gdiplus::Bitmap* hThumb,
        Gdiplus::Bitmap* knob, Gdiplus::Bitmap* switchOn, Gdiplus::Bitmap* switchOff, DisplayScale scale);

    void SetStatusText(const char* text) override;
    void ClearStatusText() override;
    AboutRect GetAboutRect() const override;

private:
    Switch onOffSwitch;
    Knob delayKnob;
    Knob depthKnob;
    Knob feedbackKnob;
    HSlider mixSlider;
    Knob frequencyKnob;
    Switch quadSwitch;
    Switch modWheelSwitch;
    StatusControl statusDisplay;
    DisplayScale scale;
};
