#include "OmbrixChorusPanel.h"

#include "OmbrixChorusDescription.h"

// The images, built into the library from Resources/*.png.
extern const unsigned char BackgroundPng[];
extern const std::size_t BackgroundPngSize;
extern const unsigned char KnobPng[];
extern const std::size_t KnobPngSize;
extern const unsigned char HSliderPng[];
extern const std::size_t HSliderPngSize;
extern const unsigned char SwitchOnPng[];
extern const std::size_t SwitchOnPngSize;
extern const unsigned char SwitchOffPng[];
extern const std::size_t SwitchOffPngSize;

// The rectangles are those of the "MAINDIALOG" items as Windows lays them
// out at 96 dpi (dialog base units of 6 x 13 pixels), so that both panels
// look alike.
PanelLayout MakeChorusPanelLayout()
{
    PanelLayout layout;
    layout.width = ChorusPanelWidth;
    layout.height = ChorusPanelHeight;
    layout.background = {BackgroundPng, BackgroundPngSize};
    layout.knobStrip = {KnobPng, KnobPngSize};
    layout.knobFrames = ChorusKnobFrames;
    layout.sliderThumb = {HSliderPng, HSliderPngSize};
    layout.switchOn = {SwitchOnPng, SwitchOnPngSize};
    layout.switchOff = {SwitchOffPng, SwitchOffPngSize};
    layout.controls = {
        {ParameterId::OnOff, PlacedControlKind::Switch, {3, 34, 18, 31}},
        {ParameterId::DelayTime, PlacedControlKind::Knob, {53, 39, 26, 28}},
        {ParameterId::ModDepth, PlacedControlKind::Knob, {86, 39, 29, 28}},
        {ParameterId::Feedback, PlacedControlKind::Knob, {122, 39, 29, 28}},
        {ParameterId::Mix, PlacedControlKind::HorizontalSlider, {326, 37, 56, 20}},
        {ParameterId::Frequency, PlacedControlKind::Knob, {155, 39, 30, 28}},
        {ParameterId::QuadMode, PlacedControlKind::Switch, {212, 39, 20, 29}},
        {ParameterId::ModWheel, PlacedControlKind::Switch, {276, 39, 20, 29}},
    };
    layout.status = {293, 3, 101, 23};
    layout.statusFontHeight = ChorusStatusFontHeight;
    layout.statusRed = 122;
    layout.statusGreen = 135;
    layout.statusBlue = 149;
    layout.about = ChorusAboutArea;
    layout.aboutLines = {"Ombrix Chorus v1.0", "by Ombrix Audio", "2008", "Graphics by Ombrix Audio"};
    return layout;
}
