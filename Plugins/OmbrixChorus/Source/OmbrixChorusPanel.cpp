#include "OmbrixChorusPanel.h"

#include "OmbrixChorusDescription.h"

// The rectangles are those of the "MAINDIALOG" items as Windows lays them
// out at 96 dpi (dialog base units of 6 x 13 pixels), where the artwork was
// drawn round them. Every view puts the controls here, whatever the dialog
// font, so that both panels look alike.
PanelLayout MakeChorusPanelLayout()
{
    PanelLayout layout;
    layout.width = ChorusPanelWidth;
    layout.height = ChorusPanelHeight;
    layout.knobFrames = ChorusKnobFrames;
    layout.controls = {
        {ParameterId::OnOff, PlacedControlKind::Switch, {3, 34, 18, 31}, 1001},
        {ParameterId::DelayTime, PlacedControlKind::Knob, {53, 39, 26, 28}, 1002},
        {ParameterId::ModDepth, PlacedControlKind::Knob, {86, 39, 29, 28}, 1003},
        {ParameterId::Feedback, PlacedControlKind::Knob, {122, 39, 29, 28}, 1004},
        {ParameterId::Mix, PlacedControlKind::HorizontalSlider, {326, 37, 56, 20}, 1008},
        {ParameterId::Frequency, PlacedControlKind::Knob, {155, 39, 30, 28}, 1005},
        {ParameterId::QuadMode, PlacedControlKind::Switch, {212, 39, 20, 29}, 1006},
        {ParameterId::ModWheel, PlacedControlKind::Switch, {276, 39, 20, 29}, 1007},
    };
    layout.status = {293, 3, 101, 23};
    layout.statusItemId = 1000;
    layout.statusFontHeight = ChorusStatusFontHeight;
    layout.statusRed = 122;
    layout.statusGreen = 135;
    layout.statusBlue = 149;
    layout.about = ChorusAboutArea;
    layout.aboutLines = {"Ombrix Chorus v1.0", "by Ombrix Audio", "2008", "Graphics by Ombrix Audio"};
    return layout;
}
