#include "PluginEntry.h"

#include "AudioEffect.h"

extern "C" PLUGIN_EXPORT AEffect* VSTCALL VSTPluginMain(audioMasterCallback audioMaster)
{
    // A host that cannot tell its version is too old (or absent): make nothing.
    if (audioMaster == nullptr || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}
