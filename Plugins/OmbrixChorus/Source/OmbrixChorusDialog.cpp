#include "OmbrixChorusDialog.h"

#include "OmbrixChorusDescription.h"

namespace {

// The knob strip holds 91 frames of 24 x 27 pixels.
constexpr int KnobFrameCount = 91;
constexpr int StatusFontHeight = 12;

} // namespace

OmbrixChorusDialog::OmbrixChorusDialog(HWND hDlg, IControlObserver* observer, Gdiplus::Bitmap* background,
    Gdiplus::Bitmap* hThumb, Gdiplus::Bitmap* knob, Gdiplus::Bitmap* switchOn, Gdiplus::Bitmap* switchOff)
    : MainDialog(hDlg, background)
    , onOffSwitch(hDlg, 1001, ParameterId::OnOff, background, switchOn, switchOff)
    , delayKnob(hDlg, 1002, ParameterId::DelayTime, background, knob, KnobFrameCount)
    , depthKnob(hDlg, 1003, ParameterId::ModDepth, background, knob, KnobFrameCount)
    , feedbackKnob(hDlg, 1004, ParameterId::Feedback, background, knob, KnobFrameCount)
    , mixSlider(hDlg, 1008, ParameterId::Mix, background, hThumb)
    , frequencyKnob(hDlg, 1005, ParameterId::Frequency, background, knob, KnobFrameCount)
    , quadSwitch(hDlg, 1006, ParameterId::QuadMode, background, switchOn, switchOff)
    , modWheelSwitch(hDlg, 1007, ParameterId::ModWheel, background, switchOn, switchOff)
    , statusDisplay(hDlg, 1000, background, StatusFontHeight)
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
    return {0, 0, 25, 225};
}
