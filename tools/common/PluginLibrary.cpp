#include "PluginLibrary.h"

PluginLibrary::~PluginLibrary()
{
    Unload();
}

bool PluginLibrary::Load(const std::string& libraryPath, std::string& error)
{
    Unload();
    entry = reinterpret_cast<EntryProc>(library.OpenPlugin(libraryPath, "VSTPluginMain", "VST 2.4", error));
    if (entry == nullptr)
        return false;
    path = libraryPath;
    return true;
}

void PluginLibrary::Unload()
{
    entry = nullptr;
    path.clear();
    library.Close();
}

AEffect* PluginLibrary::CreateEffect(audioMasterCallback host) const
{
    return entry(host);
}
