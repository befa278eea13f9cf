#include "Lv2UiEntry.h"

#include <cstring>

namespace {

Lv2Ui* AsUi(LV2UI_Handle handle)
{
    return static_cast<Lv2Ui*>(handle);
}

// No exception may cross into the host's C code.
LV2UI_Handle Instantiate(const LV2UI_Descriptor* /*descriptor*/, const char* /*pluginUri*/, const char* bundlePath,
    LV2UI_Write_Function writeFunction, LV2UI_Controller controller, LV2UI_Widget* widget,
    const LV2_Feature* const* features)
{
    if (widget == nullptr) {
        return nullptr;
    }
    try {
        return CreateLv2Ui(bundlePath, writeFunction, controller, widget, features);
    } catch (...) {
        return nullptr;
    }
}

void Cleanup(LV2UI_Handle handle)
{
    delete AsUi(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer)
{
    if (handle != nullptr && buffer != nullptr) {
        AsUi(handle)->PortEvent(port, bufferSize, format, buffer);
    }
}

int Idle(LV2UI_Handle handle)
{
    return handle != nullptr ? AsUi(handle)->Idle() : 1;
}

const LV2UI_Idle_Interface IdleInterface = {Idle};

const void* ExtensionData(const char* uri)
{
    if (uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0) {
        return &IdleInterface;
    }
    return nullptr;
}

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    static const LV2UI_Descriptor descriptor = {Lv2UiUri(), Instantiate, Cleanup, PortEvent, ExtensionData};
    return index == 0 ? &descriptor : nullptr;
}
