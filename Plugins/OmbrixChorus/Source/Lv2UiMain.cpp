// The Ombrix Chorus panel as the X11 UI of the OmbrixChorus.lv2 bundle.

#include "Lv2/Lv2EditorUi.h"
#include "OmbrixChorus.h"

#include <string>

const char* Lv2UiUri()
{
    static const std::string uri = std::string(OmbrixChorus::Description.identity.lv2Uri) + Lv2UiUriFragment;
    return uri.c_str();
}

Lv2Ui* CreateLv2Ui(const char* /*bundlePath*/, LV2UI_Write_Function writeFunction, LV2UI_Controller controller,
    LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    return Lv2EditorUi<OmbrixChorus>::Create(writeFunction, controller, widget, features);
}
