#pragma once

#include <string>

#if defined(_WIN32)
/// Paths given with forward slashes, or as Unix paths under Wine (whose drive Z: is the root),
/// become Windows paths.
std::string NativePath(std::string path);
#endif

/// A shared library loaded into the process (dlopen on Linux, LoadLibrary on Windows), as hosts
/// load plug-ins: opened at a path, searched for exported symbols, closed at the end. A bare file
/// name means a file in the current folder, not one on the library path. One thread opens and
/// closes it; Find may be called from any thread while it is open.
class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    /// On failure answers false with the system's reason in `error`.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return handle != nullptr; }
    /// The address of an exported function or object, or null.
    void* Find(const char* name) const;

private:
    void* handle = nullptr;
};
