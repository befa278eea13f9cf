#include "PluginLibrary.h"

PluginLibrary::~PluginLibrary()
{
    Unload();
}

bool PluginLibrary::Load(const std::string& libraryPath, std::string& error)
{
    Unload();
    std::string reason;
    if (!library.Open(libraryPath, reason)) {
        error = "cannot load plug-in " + libraryPath + ": " + reason;
        return false;
    }
    entry = reinterpret_cast<EntryProc>(library.Find("VSTPluginMain"));
    if (entry == nullptr) {
        error = libraryPath + " is not a VST 2.4 plug-in: it exports no VSTPluginMain";
        Unload();
        return false;
    }
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
