#pragma once

#include "ClapAbi.h"

// The one symbol a CLAP plug-in exports: clap_entry, a constant record (not a
// function) that the host finds by name and reads. Plug-ins are built with
// hidden visibility and, on Linux, a version script that keeps every other
// symbol local. The entry answers the host's factory query with the
// product's plug-in factory, which the product defines (GetPluginFactory).
#if defined(_WIN32)
#define CLAP_ENTRY_EXPORT __declspec(dllexport)
#else
#define CLAP_ENTRY_EXPORT __attribute__((visibility("default")))
#endif

// The product's plug-in factory: constant, valid while the library is
// loaded, callable from any thread.
const clap_plugin_factory_t* GetPluginFactory();

// A declaration directly inside extern "C" counts as extern: the definition
// keeps external linkage although the record is const.
extern "C" CLAP_ENTRY_EXPORT const clap_plugin_entry_t clap_entry;
