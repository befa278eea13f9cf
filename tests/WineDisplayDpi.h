#pragma once

#include <windows.h>

// The display resolution the programs started under Wine see. Wine reads
// it when a program starts, from the registry value LogPixels under
// HKEY_CURRENT_USER\Control Panel\Desktop (what winecfg's screen resolution
// sets), so a program started while a ScopedLogPixels lives runs on a
// display of that resolution; programs already running keep theirs. The
// prefix is shared: only one test at a time may set it (RUN_SERIAL).
inline bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                nullptr, &key, nullptr)
            != ERROR_SUCCESS) {
            key = nullptr;
            return;
        }
        DWORD size = sizeof previous;
        DWORD type = 0;
        hadValue = RegQueryValueExA(key, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&previous), &size)
                == ERROR_SUCCESS
            && type == REG_DWORD;
        set = RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi)
            == ERROR_SUCCESS;
    }
    ~ScopedLogPixels()
    {
        if (key == nullptr) {
            return;
        }
        if (hadValue) {
            RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous), sizeof previous);
        } else {
            RegDeleteValueA(key, "LogPixels");
        }
        RegCloseKey(key);
    }
    ScopedLogPixels(const ScopedLogPixels&) = delete;
    ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;

    bool IsSet() const { return set; }

private:
    HKEY key = nullptr;
    bool hadValue = false;
    bool set = false;
    DWORD previous = 0;
};
