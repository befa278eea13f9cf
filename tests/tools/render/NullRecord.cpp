// A library whose VST entry point answers the host but creates no effect record.

#include "AEffect.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
    host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    return nullptr;
}
