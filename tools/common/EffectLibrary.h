#pragma once

#include "ClapLibrary.h"
#include "EffectInstance.h"
#include "PluginLibrary.h"

#include <memory>
#include <string>

/// True for a path that names a CLAP plug-in (its name ends in ".clap").
bool IsClapPath(const std::string& path);

/// A plug-in file of either format loaded once, as a host loads it for every track that uses it:
/// a CLAP file (ClapLibrary) when its name ends in ".clap", otherwise a VST 2.4 library
/// (PluginLibrary). Every instance opened from it must be gone before it unloads.
///
/// Load belongs to one thread; while loaded, any number of threads may open instances at once.
class EffectLibrary {
public:
    /// On failure answers false with a one-line reason in `error` and leaves nothing loaded.
    bool Load(const std::string& path, std::string& error);
    const std::string& GetPath() const { return isClap ? clap.GetPath() : vst.GetPath(); }
    /// A new instance of the file's (first) plug-in, or null with the reason in `error`.
    std::unique_ptr<EffectInstance> Open(std::string& error) const;

private:
    bool isClap = false;
    PluginLibrary vst;
    ClapLibrary clap;
};
