#include "Lv2Entry.h"

namespace {

Lv2Plugin* AsPlugin(LV2_Handle instance)
{
    return static_cast<Lv2Plugin*>(instance);
}

// No exception may cross into the host's C code: an instance that cannot be
// built is answered with null.
LV2_Handle Instantiate(
    const LV2_Descriptor* /*descriptor*/, double sampleRate, const char* bundlePath, const LV2_Feature* const* features)
{
    try {
        return CreateLv2Plugin(sampleRate, bundlePath, features);
    } catch (...) {
        return nullptr;
    }
}

void ConnectPort(LV2_Handle instance, uint32_t port, void* data)
{
    if (instance != nullptr) {
        AsPlugin(instance)->ConnectPort(port, data);
    }
}

void Activate(LV2_Handle instance)
{
    if (instance != nullptr) {
        AsPlugin(instance)->Activate();
    }
}

void Run(LV2_Handle instance, uint32_t sampleCount)
{
    if (instance != nullptr) {
        AsPlugin(instance)->Run(sampleCount);
    }
}

void Deactivate(LV2_Handle instance)
{
    if (instance != nullptr) {
        AsPlugin(instance)->Deactivate();
    }
}

void Cleanup(LV2_Handle instance)
{
    delete AsPlugin(instance);
}

const void* ExtensionData(const char* /*uri*/)
{
    return nullptr;
}

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    static const LV2_Descriptor descriptor
        = {Lv2PluginUri(), Instantiate, ConnectPort, Activate, Run, Deactivate, Cleanup, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
