#include "OmbrixChorusEditor.h"

#include "Assert.h"
#include "GUI/ImageResource.h"
#include "GUI/MainDialog.h"
#include "GUI/Module.h"
#include "OmbrixChorusDialog.h"
#include "OmbrixChorusPanel.h"

OmbrixChorusEditor::OmbrixChorusEditor(
    AudioEffect* effect, IControlObserver* observer, IParameterCollection* parameters)
    : DialogEditor(effect, parameters)
    , observer(observer)
    , rect {0, 0, ChorusPanelHeight, ChorusPanelWidth}
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
}

OmbrixChorusEditor::~OmbrixChorusEditor()
{
    close();
    delete background;
    delete hThumb;
    delete knob;
    delete switchOn;
    delete switchOff;
}

bool OmbrixChorusEditor::getRect(ERect** rect)
{
    *rect = &this->rect;
    return true;
}

MainDialog* OmbrixChorusEditor::CreateMainDialog(HWND hDlg)
{
    return new OmbrixChorusDialog(hDlg, observer, background, hThumb, knob, switchOn, switchOff);
}
