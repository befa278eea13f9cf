#include "ClapLibrary.h"

#include <cstdio>

ClapLibrary::~ClapLibrary()
{
    Unload();
}

bool ClapLibrary::Load(const std::string& libraryPath, std::string& error)
{
    Unload();
    // clap_entry is a constant record, not a function: its address is the record.
    const auto* found
        = static_cast<const clap_plugin_entry_t*>(library.OpenPlugin(libraryPath, "clap_entry", "CLAP", error));
    if (found == nullptr)
        return false;
    if (!clap_version_is_compatible(found->clap_version) || found->init == nullptr || found->deinit == nullptr
        || found->get_factory == nullptr) {
        char version[48];
        std::snprintf(version, sizeof version, "%u.%u.%u", found->clap_version.major, found->clap_version.minor,
            found->clap_version.revision);
        error = libraryPath + " cannot be used: its clap_entry is of CLAP version " + version;
        library.Close();
        return false;
    }
    if (!found->init(libraryPath.c_str())) {
        error = libraryPath + " refused to initialise (clap_entry.init answered false)";
        library.Close();
        return false;
    }
    factory = static_cast<const clap_plugin_factory_t*>(found->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (factory == nullptr || factory->get_plugin_count == nullptr || factory->get_plugin_descriptor == nullptr
        || factory->create_plugin == nullptr) {
        error = libraryPath + " has no plug-in factory";
        factory = nullptr;
        found->deinit();
        library.Close();
        return false;
    }
    entry = found;
    path = libraryPath;
    return true;
}

void ClapLibrary::Unload()
{
    if (entry != nullptr)
        entry->deinit();
    entry = nullptr;
    factory = nullptr;
    path.clear();
    library.Close();
}

std::vector<const clap_plugin_descriptor_t*> ClapLibrary::GetDescriptors() const
{
    std::vector<const clap_plugin_descriptor_t*> descriptors;
    const std::uint32_t count = factory->get_plugin_count(factory);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (const clap_plugin_descriptor_t* descriptor = factory->get_plugin_descriptor(factory, i))
            descriptors.push_back(descriptor);
    }
    return descriptors;
}
