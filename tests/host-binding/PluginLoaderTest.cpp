// A host's view of the TestEffect library: loaded from disk with the
// platform's loader, entered through its exported symbol, driven only
// through the effect record.

#include "AEffect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using PluginMain = AEffect*(VSTCALL*)(audioMasterCallback audioMaster);

#if defined(_WIN32)
using LibraryHandle = HMODULE;

// The build names the DLL with a Unix path; Wine maps the root to drive Z:.
std::string toWindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

LibraryHandle openLibrary()
{
    return LoadLibraryA(toWindowsPath(TEST_EFFECT_PATH).c_str());
}
void* findSymbol(LibraryHandle library, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(library, name));
}
void closeLibrary(LibraryHandle library)
{
    FreeLibrary(library);
}
#else
using LibraryHandle = void*;

LibraryHandle openLibrary()
{
    return dlopen(TEST_EFFECT_PATH, RTLD_NOW | RTLD_LOCAL);
}
void* findSymbol(LibraryHandle library, const char* name)
{
    return dlsym(library, name);
}
void closeLibrary(LibraryHandle library)
{
    dlclose(library);
}
#endif

VstIntPtr hostVersion = 2400;
std::vector<VstInt32> hostOpcodes;

VstIntPtr VSTCALL hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    hostOpcodes.push_back(opcode);
    return opcode == audioMasterVersion ? hostVersion : 0;
}

class PluginLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostVersion = 2400;
        hostOpcodes.clear();
        library = openLibrary();
        ASSERT_NE(library, nullptr) << "cannot load " << TEST_EFFECT_PATH;
        entry = reinterpret_cast<PluginMain>(findSymbol(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override
    {
        if (library != nullptr) {
            closeLibrary(library);
        }
    }

    LibraryHandle library = nullptr;
    PluginMain entry = nullptr;
};

} // namespace

TEST_F(PluginLoader, ExportsOnlyTheEntryPoint)
{
#if defined(_WIN32)
    // Windows hosts that do not find VSTPluginMain look for main.
    EXPECT_EQ(findSymbol(library, "main"), reinterpret_cast<void*>(entry));
#else
    // The binding's classes and the factory stay inside the library.
    EXPECT_EQ(findSymbol(library, "main"), nullptr);
    EXPECT_EQ(findSymbol(library, "_ZTV11AudioEffect"), nullptr);
    EXPECT_EQ(findSymbol(library, "_ZN11AudioEffect10dispatcherEiilPvf"), nullptr);
#endif
}

TEST_F(PluginLoader, EntryHandsOutAFilledRecord)
{
    AEffect* record = entry(hostCallback);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 2);
    EXPECT_EQ(record->numParams, 1);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(record->uniqueID, ToFourCharCode("HbTe"));
    EXPECT_EQ(record->version, 1);
    EXPECT_NE(record->object, nullptr);
    EXPECT_EQ(hostOpcodes, std::vector<VstInt32> {audioMasterVersion});

    EXPECT_EQ(record->dispatcher(record, effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(PluginLoader, AudioAndParametersPassThroughTheRecord)
{
    AEffect* record = entry(hostCallback);
    ASSERT_NE(record, nullptr);
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    record->setParameter(record, 0, 0.5f);
    EXPECT_EQ(record->getParameter(record, 0), 0.5f);

    float left[3] = {1.0f, -2.0f, 4.0f};
    float right[3] = {8.0f, 0.0f, -1.0f};
    float outLeft[3] = {};
    float outRight[3] = {};
    float* inputs[] = {left, right};
    float* outputs[] = {outLeft, outRight};
    record->processReplacing(record, inputs, outputs, 3);
    EXPECT_EQ(outLeft[2], 2.0f);
    EXPECT_EQ(outRight[0], 4.0f);
    EXPECT_EQ(outRight[2], -0.5f);

    record->dispatcher(record, effMainsChanged, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(PluginLoader, HostAnsweringZeroOrNoHostGetsNoRecord)
{
    hostVersion = 0;
    EXPECT_EQ(entry(hostCallback), nullptr);
    EXPECT_EQ(hostOpcodes, std::vector<VstInt32> {audioMasterVersion});
    EXPECT_EQ(entry(nullptr), nullptr);
}
