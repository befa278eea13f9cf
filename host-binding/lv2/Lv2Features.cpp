#include "Lv2Features.h"

#include <cstring>

namespace {

const LV2_Feature* Find(const LV2_Feature* const* features, const char* uri)
{
    for (const LV2_Feature* const* feature = features; feature != nullptr && *feature != nullptr; ++feature) {
        if ((*feature)->URI != nullptr && std::strcmp((*feature)->URI, uri) == 0) {
            return *feature;
        }
    }
    return nullptr;
}

} // namespace

bool HasLv2Feature(const LV2_Feature* const* features, const char* uri)
{
    return Find(features, uri) != nullptr;
}

const void* FindLv2Feature(const LV2_Feature* const* features, const char* uri)
{
    const LV2_Feature* feature = Find(features, uri);
    return feature != nullptr ? feature->data : nullptr;
}
