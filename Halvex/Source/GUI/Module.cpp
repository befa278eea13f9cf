#include "GUI/Module.h"

#include <atomic>

namespace {

std::atomic<HINSTANCE> moduleInstance {nullptr};

// The module whose code contains this function: right in an executable and
// in a DLL alike, before any entry routine has run.
HINSTANCE FindContainingModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&FindContainingModule), &module);
    return module;
}

} // namespace

HINSTANCE GetModuleInstance()
{
    HINSTANCE instance = moduleInstance.load(std::memory_order_relaxed);
    return instance != nullptr ? instance : FindContainingModule();
}

void SetModuleInstance(HINSTANCE instance)
{
    moduleInstance.store(instance, std::memory_order_relaxed);
}
