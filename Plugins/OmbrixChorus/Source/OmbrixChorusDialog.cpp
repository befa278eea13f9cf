#include "OmbrixChorusDialog.h"

#include "OmbrixChorusPanel.h"

OmbrixChorusDialog::OmbrixChorusDialog(HWND hDlg, IControlObserver* observer, Gdiplus::Bitmap* background,
    Gdiplus::Bitmap* hThumb, Gdiplus::Bitmap* knob, Gdiplus::Bitmap* switchOn, Gdiplus::Bitmap* switchOff,
    DisplayScale scale)
    : MainDialog(hDlg, background)
    , onOffSwitch(hDlg, 1001, 0, background, switchOn, switchOff)
    , delayKnob(hDlg, 1002, 1, background, knob, ChorusKnobFrames, scale)
    , depthKnob(hDlg, 1003, 2, background, knob, ChorusKnobFrames, scale)
    , feedbackKnob(hDlg, 1004, 3, background, knob, ChorusKnobFrames, scale)
    , mixSlider(hDlg, 1008, 4, background, hThumb, scale)
    , frequencyKnob(hDlg, 1005, 5, background, knob, ChorusKnobFrames, scale)
    , quadSwitch(hDlg, 1006, 6, background, switchOn, switchOff)
    , modWheelSwitch(hDlg, 1007, 7, background, switchOn, switchOff)
    , statusDisplay(hDlg, 1000, background, scale.Pixels(ChorusStatusFontHeight))
    , scale(scale)
{
    ParameterControl* const parameterControls[] = {
        &onOffSwitch, &delayKnob, &depthKnob, &feedbackKnob, &mixSlider, &frequencyKnob, &quadSwitch, &modWheelSwitch};
    for (ParameterControl* control : parameterControls) {
        AddControl(control->GetParameterId(), control);
    }
    for (ParameterControl* control : parameterControls) {
        control->AddObserver(observer);
    }
}

void OmbrixChorusDialog::SetStatusText(const char* text)
{
    statusDisplay.SetText(text);
}

void OmbrixChorusDialog::ClearStatusText()
{
    statusDisplay.ClearText();
}

AboutRect OmbrixChorusDialog::GetAboutRect() const
{
    return scale.About(ChorusAboutArea);
}
