#include "SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>

#include <algorithm>
#else
#include <dlfcn.h>
#endif

SharedLibrary::~SharedLibrary()
{
    Close();
}

void* SharedLibrary::OpenPlugin(
    const std::string& path, const char* entryName, const char* formatName, std::string& error)
{
    std::string reason;
    if (!Open(path, reason)) {
        error = "cannot load plug-in " + path + ": " + reason;
        return nullptr;
    }
    void* entry = Find(entryName);
    if (entry == nullptr) {
        error = path + " is not a " + formatName + " plug-in: it exports no " + entryName;
        Close();
    }
    return entry;
}

#if defined(_WIN32)
std::string NativePath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool SharedLibrary::Open(const std::string& path, std::string& error)
{
    Close();
    handle = reinterpret_cast<void*>(LoadLibraryA(NativePath(path).c_str()));
    if (handle == nullptr)
        error = "error " + std::to_string(GetLastError());
    return handle != nullptr;
}

void SharedLibrary::Close()
{
    if (handle != nullptr)
        FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}

void* SharedLibrary::Find(const char* name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
bool SharedLibrary::Open(const std::string& path, std::string& error)
{
    Close();
    // dlopen searches the library path for a bare file name; a plug-in path means a file.
    const std::string filePath = path.find('/') == std::string::npos ? "./" + path : path;
    handle = dlopen(filePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "unknown error";
    }
    return handle != nullptr;
}

void SharedLibrary::Close()
{
    if (handle != nullptr)
        dlclose(handle);
    handle = nullptr;
}

void* SharedLibrary::Find(const char* name) const
{
    return dlsym(handle, name);
}
#endif
