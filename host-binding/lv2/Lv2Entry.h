#pragma once

#include <lv2/core/lv2.h>

#include <cstdint>

// One instance of an LV2 plug-in as the entry point's descriptor sees it.
// The host instantiates and cleans up on its main thread, connects ports on
// any of its threads when no Run is in progress, and runs, activates and
// deactivates as the LV2 threading classes say (Run on its audio thread).
class Lv2Plugin {
public:
    virtual ~Lv2Plugin() = default;
    // A port index the plug-in does not have is ignored.
    virtual void ConnectPort(std::uint32_t port, void* data) = 0;
    virtual void Activate() = 0;
    virtual void Run(std::uint32_t sampleCount) = 0;
    virtual void Deactivate() = 0;
};

// Defined by the product. The plug-in's URI, which never changes.
const char* Lv2PluginUri();
// Defined by the product: a new instance, or null when the host lacks a
// required feature or memory cannot be had. Features may be null.
Lv2Plugin* CreateLv2Plugin(double sampleRate, const char* bundlePath, const LV2_Feature* const* features);
