#pragma once

#include "PluginHost.h"

#include <string>

/// The names of the effect flags that are set, comma separated: "editor, replacing".
std::string FlagNames(VstInt32 flags);

/// Prints what a host's plug-in scanner shows: identity, flags, programs, and parameters
/// with names, current display texts, labels, normalised values and, where the plug-in gives
/// them, long names.
void PrintListing(const PluginHost& host);
