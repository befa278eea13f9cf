#include "GUI/Module.h"

#include <windows.h>

// The loader hands over the library's instance handle: the editor registers
// its window classes and loads its dialogs and images under it.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/)
{
    SetModuleInstance(instance);
    return TRUE;
}
