#include "PluginHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

namespace {
constexpr VstInt32 HostVendorVersion = 1000;
constexpr VstIntPtr ProcessLevelOffline = 4;
// Plug-ins write names up to the VST limits (at most 64 characters); the buffers are much larger
// so that a plug-in overrunning a limit does not overrun the host.
constexpr std::size_t TextBufferSize = 512;

// Callbacks find their host through the record's user field, which belongs
// to the host. The effect record does not exist yet while the entry point runs, so callbacks made from inside
// it (and from plug-in constructors) are routed to the host that is creating an effect on this thread.
thread_local PluginHost* loadingHost = nullptr;

bool SameText(const void* text, const char* expected)
{
    return text != nullptr && std::strcmp(static_cast<const char*>(text), expected) == 0;
}
} // namespace

#if defined(_WIN32)
std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string executable(path, length);
    const std::string::size_type slash = executable.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : executable.substr(0, slash + 1);
}
#else
std::string ExecutableFolder()
{
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return std::string();
    const std::string executable(path.data(), static_cast<std::size_t>(length));
    return executable.substr(0, executable.rfind('/') + 1);
}
#endif

std::string FourCharacterText(VstInt32 id)
{
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text + "'";
}

PluginHost::PluginHost()
{
    timeInfo.sampleRate = 44100.0;
    timeInfo.tempo = 120.0;
}

PluginHost::~PluginHost()
{
    Unload();
}

bool PluginHost::Load(const std::string& path, std::string& error)
{
    Unload();
    auto library = std::make_unique<PluginLibrary>();
    if (!library->Load(path, error) || !Open(*library, error))
        return false;
    ownLibrary = std::move(library);
    return true;
}

bool PluginHost::Open(const PluginLibrary& library, std::string& error)
{
    Unload();
    const std::string& path = library.GetPath();
    loadingHost = this;
    AEffect* created = library.CreateEffect(&PluginHost::HostCallback);
    loadingHost = nullptr;
    if (created == nullptr) {
        error = path + " did not create an effect (its VSTPluginMain returned null)";
        return false;
    }
    if (created->magic != kEffectMagic) {
        char magicText[16];
        std::snprintf(magicText, sizeof magicText, "0x%08X", static_cast<unsigned>(created->magic));
        // A record with a foreign magic cannot be trusted to have a dispatcher to close it with.
        error = path + " is not a VST 2.4 effect: its record has the magic " + magicText;
        return false;
    }
    if (created->processReplacing == nullptr || (created->flags & effFlagsCanReplacing) == 0) {
        error = path + " cannot be used: it does not offer replacing processing";
        created->dispatcher(created, effClose, 0, 0, nullptr, 0.0f);
        return false;
    }
    created->user = this;
    effect = created;
    Dispatch(effOpen);
    return true;
}

void PluginHost::Unload()
{
    if (effect != nullptr) {
        Suspend();
        Dispatch(effClose);
        effect = nullptr;
    }
    ownLibrary.reset();
}

VstIntPtr PluginHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginHost::QueryText(VstInt32 opcode, VstInt32 index) const
{
    char text[TextBufferSize] = {};
    Dispatch(opcode, index, 0, text);
    text[TextBufferSize - 1] = '\0';
    return text;
}

std::string PluginHost::GetEffectName() const
{
    return QueryText(effGetEffectName, 0);
}
std::string PluginHost::GetVendorString() const
{
    return QueryText(effGetVendorString, 0);
}
std::string PluginHost::GetProductString() const
{
    return QueryText(effGetProductString, 0);
}
VstInt32 PluginHost::GetVendorVersion() const
{
    return static_cast<VstInt32>(Dispatch(effGetVendorVersion));
}
VstInt32 PluginHost::GetVstVersion() const
{
    return static_cast<VstInt32>(Dispatch(effGetVstVersion));
}

bool PluginHost::HasProgramChunks() const
{
    return (effect->flags & effFlagsProgramChunks) != 0;
}

VstInt32 PluginHost::GetProgram() const
{
    return static_cast<VstInt32>(Dispatch(effGetProgram));
}
void PluginHost::SetProgram(VstInt32 program)
{
    Dispatch(effSetProgram, 0, program);
}

std::string PluginHost::GetProgramName(VstInt32 program) const
{
    return QueryText(effGetProgramNameIndexed, program);
}

std::string PluginHost::GetCurrentProgramName() const
{
    return QueryText(effGetProgramName, 0);
}

void PluginHost::SetCurrentProgramName(const std::string& name)
{
    char text[TextBufferSize] = {};
    std::strncpy(text, name.c_str(), TextBufferSize - 1);
    Dispatch(effSetProgramName, 0, 0, text);
}

std::string PluginHost::GetParameterName(VstInt32 index) const
{
    return QueryText(effGetParamName, index);
}
std::string PluginHost::GetParameterLabel(VstInt32 index) const
{
    return QueryText(effGetParamLabel, index);
}
std::string PluginHost::GetParameterDisplay(VstInt32 index) const
{
    return QueryText(effGetParamDisplay, index);
}

float PluginHost::GetParameter(VstInt32 index) const
{
    return effect->getParameter(effect, index);
}

void PluginHost::SetParameter(VstInt32 index, float value)
{
    effect->setParameter(effect, index, value);
}

bool PluginHost::GetParameterProperties(VstInt32 index, VstParameterProperties& properties) const
{
    properties = {};
    if (Dispatch(effGetParameterProperties, index, 0, &properties) != 0)
        return true;
    properties = {};
    return false;
}

std::string PluginHost::GetParameterLongName(VstInt32 index) const
{
    VstParameterProperties properties;
    if (!GetParameterProperties(index, properties))
        return std::string();
    char* end = std::find(std::begin(properties.label), std::end(properties.label), '\0');
    return std::string(std::begin(properties.label), end);
}

bool PluginHost::SetParameterText(VstInt32 index, const std::string& text)
{
    // The plug-in receives a non-const pointer; it gets its own copy.
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return Dispatch(effString2Parameter, index, 0, copy.data()) != 0;
}

std::vector<char> PluginHost::GetChunk(bool isPreset) const
{
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const char* bytes = static_cast<const char*>(data);
    return std::vector<char>(bytes, bytes + size);
}

bool PluginHost::SetChunk(const std::vector<char>& chunk, bool isPreset)
{
    // The plug-in receives a non-const pointer; it gets its own copy to scribble on.
    std::vector<char> copy(chunk);
    return Dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}

void PluginHost::SetSampleRate(double rate)
{
    timeInfo.sampleRate = rate;
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
}

void PluginHost::SetBlockSize(VstInt32 size)
{
    blockSize = size;
    Dispatch(effSetBlockSize, 0, size);
}

void PluginHost::SetTempo(double beatsPerMinute)
{
    timeInfo.tempo = beatsPerMinute;
    UpdateTimeInfo();
}

void PluginHost::Resume()
{
    timeInfo.samplePos = 0.0;
    UpdateTimeInfo();
    Dispatch(effMainsChanged, 0, 1);
    resumed = true;
}

void PluginHost::Suspend()
{
    if (!resumed)
        return;
    Dispatch(effMainsChanged, 0, 0);
    resumed = false;
}

void PluginHost::Process(
    float** inputs, float** outputs, VstInt32 frameCount, const VstMidiEvent* events, int eventCount)
{
    // VstEvents declares two event pointers and hosts extend the array in place: the list lives
    // in pointer-sized storage long enough for its header and every pointer.
    const std::size_t headerSlots = offsetof(VstEvents, events) / sizeof(VstEvent*);
    const std::size_t slots
        = std::max(sizeof(VstEvents) / sizeof(VstEvent*), headerSlots + static_cast<std::size_t>(eventCount));
    if (eventListStorage.size() < slots)
        eventListStorage.resize(slots);
    eventCopies.assign(events, events + eventCount);

    auto* list = reinterpret_cast<VstEvents*>(eventListStorage.data());
    list->numEvents = eventCount;
    list->reserved = 0;
    for (int i = 0; i < eventCount; ++i)
        list->events[i] = reinterpret_cast<VstEvent*>(&eventCopies[static_cast<std::size_t>(i)]);
    Dispatch(effProcessEvents, 0, 0, list);

    UpdateTimeInfo();
    effect->processReplacing(effect, inputs, outputs, frameCount);
    timeInfo.samplePos += frameCount;
}

void PluginHost::SetGestureListener(std::function<void(VstInt32, VstInt32)> listener)
{
    gestureListener = std::move(listener);
}

void PluginHost::SetResizeListener(std::function<bool(int, int)> listener)
{
    resizeListener = std::move(listener);
}

void PluginHost::UpdateTimeInfo()
{
    timeInfo.ppqPos = timeInfo.samplePos / timeInfo.sampleRate * timeInfo.tempo / 60.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid;
}

PluginHost* PluginHost::FindHost(const AEffect* effect)
{
    if (effect != nullptr && effect->user != nullptr)
        return static_cast<PluginHost*>(effect->user);
    return loadingHost;
}

VstIntPtr PluginHost::HostCallback(
    AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode == audioMasterVersion)
        return kVstVersion;
    PluginHost* host = FindHost(effect);
    return host != nullptr ? host->Answer(opcode, index, value, ptr, opt) : 0;
}

VstIntPtr PluginHost::Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode) {
    case audioMasterAutomate:
        CountAutomation();
        NotifyAutomation(index, opt);
        return 0;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (gestureListener)
            gestureListener(opcode, index);
        return 1;
    case audioMasterWantMidi:
        return 1;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(timeInfo.sampleRate);
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterGetCurrentProcessLevel:
        return ProcessLevelOffline;
    case audioMasterGetVendorString:
        if (ptr != nullptr)
            std::strcpy(static_cast<char*>(ptr), "Tervane Sound Design");
        return 1;
    case audioMasterGetProductString:
        if (ptr != nullptr)
            std::strcpy(static_cast<char*>(ptr), "ombrix-render");
        return 1;
    case audioMasterGetVendorVersion:
        return HostVendorVersion;
    case audioMasterCanDo:
        return SameText(ptr, "sendVstEvents") || SameText(ptr, "sendVstMidiEvent") || SameText(ptr, "sendVstTimeInfo")
                || (SameText(ptr, "sizeWindow") && resizeListener)
            ? 1
            : 0;
    case audioMasterSizeWindow:
        return resizeListener && resizeListener(index, static_cast<int>(value)) ? 1 : 0;
    default:
        return 0;
    }
}

std::string PluginHost::GetIdText() const
{
    return FourCharacterText(GetUniqueId());
}
