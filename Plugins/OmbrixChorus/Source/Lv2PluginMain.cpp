// Ombrix Chorus as the plug-in of the OmbrixChorus.lv2 bundle.

#include "Lv2/Lv2Effect.h"
#include "OmbrixChorus.h"

const char* Lv2PluginUri()
{
    return OmbrixChorus::Description.identity.lv2Uri;
}

Lv2Plugin* CreateLv2Plugin(double sampleRate, const char* /*bundlePath*/, const LV2_Feature* const* features)
{
    return Lv2Effect<OmbrixChorus>::Create(sampleRate, features);
}
