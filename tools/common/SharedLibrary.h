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

    /// Opens the plug-in file at `path` and answers the address of its entry point `entryName`,
    /// a function or a record. On failure answers null with a one-line reason in `error` (the
    /// system's when the file does not load; that it is no `formatName` plug-in when it exports
    /// no such entry) and leaves nothing open.
    void* OpenPlugin(const std::string& path, const char* entryName, const char* formatName, std::string& error);
    void Close();
    /// The address of an exported function or object, or null.
    void* Find(const char* name) const;

private:
    /// On failure answers false with the system's reason in `error`.
    bool Open(const std::string& path, std::string& error);

    void* handle = nullptr;
};
