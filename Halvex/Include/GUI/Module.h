#pragma once

#include <windows.h>

// The instance handle of the module that holds the toolkit: the plug-in DLL
// or, in a test program, the executable. Window classes, dialogs and
// resources are registered and loaded under it. Until SetModuleInstance is
// called it answers the module that contains this code. Any thread.
HINSTANCE GetModuleInstance();

// The DLL entry routine hands over the instance handle here.
void SetModuleInstance(HINSTANCE instance);
