#pragma once

#include "AEffect.h"

// The one symbol a plug-in exports: the host calls it on its main thread,
// once per instance, and gets the effect's record or null. Plug-ins are built
// with hidden visibility; on Windows the module-definition file exports it
// under both names hosts look for, VSTPluginMain and main. Programs that link
// a plug-in's sources (fuzzers, stress and soak tests) call it directly.
#if defined(_WIN32)
#define PLUGIN_EXPORT
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PLUGIN_EXPORT AEffect* VSTCALL VSTPluginMain(audioMasterCallback audioMaster);
