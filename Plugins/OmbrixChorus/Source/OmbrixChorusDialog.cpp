#include "OmbrixChorusDialog.h"

#include "OmbrixChorusDescription.h"
#include "OmbrixChorusPanel.h"

OmbrixChorusDialog::OmbrixChorusDialog(HWND hDlg, IControlObserver* observer, Gdiplus::Bitmap* background,
    Gdiplus::Bitmap* hThumb, Gdiplus::Bitmap* knob, Gdiplus::Bitmap* switchOn, Gdiplus::Bitmap* switchOff,
    DisplayScale scale)
    : MainDialog(hDlg, background)
    , onOffSwitch(hDlg, 1001, ParameterId::OnOff, background, switchOn, switchOff)
    , delayKnob(hDlg, 1002, ParameterId::DelayTime, background, knob, ChorusKnobFrames, scale)
    , depthKnob(hDlg, 1003, ParameterId::ModDepth, background, knob, ChorusKnobFrames, scale)
    , feedbackKnob(hDlg, 1004, ParameterId::Feedback, background, knob, ChorusKnobFrames, scale)
    , mixSlider(hDlg, 1008, ParameterId::Mix, background, hThumb, scale)
    , frequencyKnob(hDlg, 1005, ParameterId::Frequency, background, knob, ChorusKnobFrames, scale)
    , quadSwitch(hDlg, 1006, ParameterId::QuadMode, background, switchOn, switchOff)
    , modWheelSwitch(hDlg, 1007, ParameterId::ModWheel, background, switchOn, switchOff)
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
