#pragma once

#include "AEffect.h"
#include "SharedLibrary.h"

#include <string>

/// A VST 2.4 plug-in library loaded into the process once, as a host loads it for all the tracks
/// that use the plug-in: the shared library and its entry point `VSTPluginMain`. Each
/// PluginHost opened from it creates one effect instance through that entry.
///
/// Load and Unload belong to one thread; while loaded, any number of threads may call
/// CreateEffect at once. Every effect created from the library must be closed before Unload.
class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    /// Loads the library at `path` and finds its entry point. On failure answers false with a
    /// one-line reason in `error` and leaves nothing loaded.
    bool Load(const std::string& path, std::string& error);
    void Unload();
    bool IsLoaded() const { return entry != nullptr; }
    const std::string& GetPath() const { return path; }

    /// Calls the entry point with `host`; answers the record it returns, which may be null.
    AEffect* CreateEffect(audioMasterCallback host) const;

private:
    using EntryProc = AEffect*(VSTCALL*)(audioMasterCallback);

    SharedLibrary library;
    EntryProc entry = nullptr;
    std::string path;
};
