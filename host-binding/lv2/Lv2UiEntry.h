#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>

// One instance of an LV2 plug-in UI as the entry point's descriptor sees it.
// The host calls everything on its UI thread: port events, idle and cleanup.
class Lv2Ui {
public:
    virtual ~Lv2Ui() = default;
    // A value the host has for a port: a control value is one float in
    // format 0. Anything else is ignored.
    virtual void PortEvent(std::uint32_t port, std::uint32_t bufferSize, std::uint32_t format, const void* buffer) = 0;
    // Handles the window's events and redraws; answers non-zero once the UI
    // has closed.
    virtual int Idle() = 0;
};

// Defined by the product. The UI's URI, which never changes.
const char* Lv2UiUri();
// Defined by the product: a new UI for the plug-in instance the host drives
// with writeFunction and controller, its window stored in *widget; null when
// the host lacks a required feature or the window cannot be made.
Lv2Ui* CreateLv2Ui(const char* bundlePath, LV2UI_Write_Function writeFunction, LV2UI_Controller controller,
    LV2UI_Widget* widget, const LV2_Feature* const* features);
