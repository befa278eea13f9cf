#include "X11Library.h"

#include <dlfcn.h>

namespace {

// Loaded once and never closed: Xlib cannot be unloaded safely while
// anything in the process may still hold a display of it.
void* OpenLibrary(const char* name)
{
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

template <class Function>
bool Find(void* library, const char* name, Function& function)
{
    function = library != nullptr ? reinterpret_cast<Function>(dlsym(library, name)) : nullptr;
    return function != nullptr;
}

X11Library Load(bool& complete)
{
    X11Library library;
    void* x11 = OpenLibrary("libX11.so.6");
    void* cairo = OpenLibrary("libcairo.so.2");
    complete = true;
#define HALVEX_FIND_X11(name) complete = Find(x11, #name, library.name) && complete;
#define HALVEX_FIND_CAIRO(name) complete = Find(cairo, #name, library.name) && complete;
    HALVEX_X11_FUNCTIONS(HALVEX_FIND_X11)
    HALVEX_CAIRO_FUNCTIONS(HALVEX_FIND_CAIRO)
#undef HALVEX_FIND_X11
#undef HALVEX_FIND_CAIRO
    return library;
}

} // namespace

const X11Library* X11Library::Get()
{
    static bool complete = false;
    static const X11Library library = Load(complete);
    return complete ? &library : nullptr;
}
