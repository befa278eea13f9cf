#include "EffectLibrary.h"

#include "ClapInstance.h"
#include "PluginHost.h"

bool IsClapPath(const std::string& path)
{
    const std::string extension = ".clap";
    return path.size() > extension.size()
        && path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

bool EffectLibrary::Load(const std::string& libraryPath, std::string& error)
{
    isClap = IsClapPath(libraryPath);
    return isClap ? clap.Load(libraryPath, error) : vst.Load(libraryPath, error);
}

std::unique_ptr<EffectInstance> EffectLibrary::Open(std::string& error) const
{
    if (isClap) {
        auto instance = std::make_unique<ClapInstance>();
        return instance->Open(clap, error) ? std::move(instance) : nullptr;
    }
    auto instance = std::make_unique<PluginHost>();
    return instance->Open(vst, error) ? std::move(instance) : nullptr;
}
