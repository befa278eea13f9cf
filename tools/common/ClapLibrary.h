#pragma once

#include "ClapAbi.h"
#include "SharedLibrary.h"

#include <string>
#include <vector>

/// A CLAP plug-in file loaded into the process once, as a host loads it for every track that uses
/// one of its plug-ins: the library, its `clap_entry` (initialised with the file's path on load
/// and deinitialised on unload) and its plug-in factory. Each ClapHost opened from it creates one
/// plug-in instance through the factory.
///
/// Load and Unload belong to one thread; while loaded, the factory may be used from any thread.
/// Every instance created from the library must be destroyed before Unload.
class ClapLibrary {
public:
    ClapLibrary() = default;
    ~ClapLibrary();
    ClapLibrary(const ClapLibrary&) = delete;
    ClapLibrary& operator=(const ClapLibrary&) = delete;

    /// Loads the file at `path`, checks its entry's version, initialises it and takes its plug-in
    /// factory. On failure answers false with a one-line reason in `error` and leaves nothing
    /// loaded.
    bool Load(const std::string& path, std::string& error);
    void Unload();
    bool IsLoaded() const { return factory != nullptr; }
    const std::string& GetPath() const { return path; }

    const clap_plugin_entry_t& GetEntry() const { return *entry; }
    const clap_plugin_factory_t& GetFactory() const { return *factory; }
    /// The descriptors the factory lists, in its order.
    std::vector<const clap_plugin_descriptor_t*> GetDescriptors() const;

private:
    SharedLibrary library;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_factory_t* factory = nullptr;
    std::string path;
};
