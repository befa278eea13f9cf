#include "AudioEffect.h"

// The one symbol a plug-in exports. Plug-ins are built with hidden
// visibility; on Windows the module-definition file exports it under both
// names hosts look for, VSTPluginMain and main.
#if defined(_WIN32)
#define PLUGIN_EXPORT
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

// Called by the host on its main thread, once per instance.
extern "C" PLUGIN_EXPORT AEffect* VSTCALL VSTPluginMain(audioMasterCallback audioMaster)
{
    // A host that cannot tell its version is too old (or absent): make nothing.
    if (audioMaster == nullptr || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}
