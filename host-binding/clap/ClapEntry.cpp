#include "ClapEntry.h"

#include <cstring>

namespace {

// The factory and its descriptors are constant data: there is nothing to set
// up or tear down, so init and deinit may come any number of times, in any
// order, from any thread.
bool CLAP_ABI Init(const char* /*pluginPath*/)
{
    return true;
}

void CLAP_ABI Deinit() { }

// Hosts ask for factories this library does not have (preset discovery and
// others): those answer null.
const void* CLAP_ABI GetFactory(const char* factoryId)
{
    if (factoryId == nullptr || std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) != 0) {
        return nullptr;
    }
    return GetPluginFactory();
}

} // namespace

extern "C" CLAP_ENTRY_EXPORT const clap_plugin_entry_t clap_entry = {CLAP_VERSION, Init, Deinit, GetFactory};
