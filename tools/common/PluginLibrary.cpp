#include "PluginLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>

namespace {
#if defined(_WIN32)
void* OpenLibrary(const std::string& path, std::string& reason)
{
    HMODULE module = LoadLibraryA(NativePath(path).c_str());
    if (module == nullptr)
        reason = "error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}

void* FindEntry(void* library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library)
{
    FreeLibrary(static_cast<HMODULE>(library));
}
#else
void* OpenLibrary(const std::string& path, std::string& reason)
{
    // dlopen searches the library path for a bare file name; a plug-in path means a file.
    const std::string filePath = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(filePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        reason = error != nullptr ? error : "unknown error";
    }
    return library;
}

void* FindEntry(void* library, const char* name)
{
    return dlsym(library, name);
}

void CloseLibrary(void* library)
{
    dlclose(library);
}
#endif
} // namespace

#if defined(_WIN32)
std::string NativePath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
#endif

PluginLibrary::~PluginLibrary()
{
    Unload();
}

bool PluginLibrary::Load(const std::string& libraryPath, std::string& error)
{
    Unload();
    std::string reason;
    library = OpenLibrary(libraryPath, reason);
    if (library == nullptr) {
        error = "cannot load plug-in " + libraryPath + ": " + reason;
        return false;
    }
    entry = reinterpret_cast<EntryProc>(FindEntry(library, "VSTPluginMain"));
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
    if (library != nullptr) {
        CloseLibrary(library);
        library = nullptr;
    }
}

AEffect* PluginLibrary::CreateEffect(audioMasterCallback host) const
{
    return entry(host);
}
