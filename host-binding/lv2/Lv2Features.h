#pragma once

#include <lv2/core/lv2.h>

// Whether the host offers the feature with this URI in its null-terminated
// list (which may itself be null), and the feature's data. Any thread.
bool HasLv2Feature(const LV2_Feature* const* features, const char* uri);
const void* FindLv2Feature(const LV2_Feature* const* features, const char* uri);
