#include "OmbrixChorusEditor.h"

#include "Assert.h"
#include "GUI/ImageResource.h"
#include "GUI/MainDialog.h"
#include "GUI/Module.h"
#include "OmbrixChorusDialog.h"
#include "OmbrixChorusPanel.h"

OmbrixChorusEditor::OmbrixChorusEditor(
    AudioEffect* effect, IControlObserver* observer, IParameterCollection* parameters)
    : DialogEditor(effect, parameters, observer, MakeChorusPanelLayout())
{
    HINSTANCE module = GetModuleInstance();
    RegisterDialogClass(module, "MainDialog");
    background = LoadImageResource(module, "BACKGROUND", "PNG");
    hThumb = LoadImageResource(module, "HSLIDER", "PNG");
    knob = LoadImageResource(module, "KNOB", "PNG");
    switchOn = LoadImageResource(module, "SWITCH_ON", "PNG");
    switchOff = LoadImageResource(module, "SWITCH_OFF", "PNG");
    HALVEX_ASSERT(background != 0);
    HALVEX_ASSERT(hThumb != 0);
    HALVEX_ASSERT(knob != 0);
    HALVEX_ASSERT(switchOn != 0);
    HALVEX_ASSERT(switchOff != 0);
    // Without a double, a picture is resampled from its original.
    doubled.background = LoadImageResource(module, "BACKGROUND_2X", "PNG");
    doubled.sliderThumb = LoadImageResource(module, "HSLIDER_2X", "PNG");
    doubled.knobStrip = LoadImageResource(module, "KNOB_2X", "PNG");
    doubled.switchOn = LoadImageResource(module, "SWITCH_ON_2X", "PNG");
    doubled.switchOff = LoadImageResource(module, "SWITCH_OFF_2X", "PNG");
    scaled = std::make_unique<ScaledPanelBitmaps>(
        PanelBitmaps {background, knob, hThumb, switchOn, switchOff}, doubled, ChorusKnobFrames);
}

OmbrixChorusEditor::~OmbrixChorusEditor()
{
    close();
    scaled.reset();
    for (Gdiplus::Bitmap* image : {background, hThumb, knob, switchOn, switchOff, doubled.background,
             doubled.sliderThumb, doubled.knobStrip, doubled.switchOn, doubled.switchOff}) {
        delete image;
    }
}

MainDialog* OmbrixChorusEditor::CreateMainDialog(HWND hDlg, DisplayScale scale)
{
    const PanelBitmaps shown = scaled->For(scale);
    return new OmbrixChorusDialog(hDlg, GetObserver(), shown.background, shown.sliderThumb, shown.knobStrip,
        shown.switchOn, shown.switchOff, scale);
}
