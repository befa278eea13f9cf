// A small stereo gain effect written directly against the VST 2.4 record, used to test the
// renderer without the product. Parameters: 0 "On" (off passes the input through bit for bit),
// 1 "Gain" (twice the value, glided per sample), 2 "Out Bal" (left/right balance). Three programs,
// exchanged as chunks. MIDI control change 80 switches "On", 93 sets "Gain", each at its sample,
// reported to the host as automation. If the host's transport does not match the samples
// processed since resume, the effect outputs silence, so a wrong transport fails every render.
//
// Built in variants by compile definitions: FIXTURE_INPUTS (the input count) and
// FIXTURE_WRONG_MAGIC (the record carries a magic other than 'VstP').

#include "AEffect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#ifndef FIXTURE_INPUTS
#define FIXTURE_INPUTS 2
#endif
#ifdef FIXTURE_WRONG_MAGIC
constexpr VstInt32 FixtureMagic = ToFourCharCode("XstP");
#else
constexpr VstInt32 FixtureMagic = kEffectMagic;
#endif

namespace {
constexpr int ParameterCount = 3;
constexpr int ProgramCount = 3;
constexpr int MaximumEvents = 256;
constexpr float GlidePerSample = 0.01f;

struct Program {
    char name[kVstProgramNameSize];
    float values[ParameterCount];
};

struct Event {
    VstInt32 deltaFrames;
    int controller;
    float value;
};

struct Fixture {
    AEffect effect {};
    audioMasterCallback host = nullptr;
    Program programs[ProgramCount]
        = {{"Unity", {1.0f, 0.5f, 0.5f}}, {"Quiet", {1.0f, 0.25f, 0.5f}}, {"Left Heavy", {1.0f, 0.5f, 0.2f}}};
    int current = 0;
    float sampleRate = 44100.0f;
    float gain = 1.0f;
    double framesSinceResume = 0.0;
    Event events[MaximumEvents] = {};
    int eventCount = 0;
};

Fixture& FixtureOf(AEffect* effect)
{
    return *static_cast<Fixture*>(effect->object);
}

const char* const ParameterNames[ParameterCount] = {"On", "Gain", "Out Bal"};

void SetParameter(AEffect* effect, VstInt32 index, float value)
{
    if (index >= 0 && index < ParameterCount)
        FixtureOf(effect).programs[FixtureOf(effect).current].values[index] = value;
}

float GetParameter(AEffect* effect, VstInt32 index)
{
    return index >= 0 && index < ParameterCount ? FixtureOf(effect).programs[FixtureOf(effect).current].values[index]
                                                : 0.0f;
}

bool TransportMatches(Fixture& fixture)
{
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        fixture.host(&fixture.effect, audioMasterGetTime, 0, kVstTempoValid | kVstPpqPosValid, nullptr, 0.0f));
    if (time == nullptr || (time->flags & (kVstTempoValid | kVstPpqPosValid)) != (kVstTempoValid | kVstPpqPosValid))
        return false;
    const double expectedPpq = fixture.framesSinceResume / time->sampleRate * time->tempo / 60.0;
    return time->samplePos == fixture.framesSinceResume && std::fabs(time->ppqPos - expectedPpq) < 1e-9
        && time->sampleRate == fixture.sampleRate;
}

void ProcessRun(Fixture& fixture, float** inputs, float** outputs, VstInt32 from, VstInt32 to, bool silent)
{
    const float* values = fixture.programs[fixture.current].values;
    const float target = 2.0f * values[1];
    const float left = std::min(1.0f, 2.0f - 2.0f * values[2]);
    const float right = std::min(1.0f, 2.0f * values[2]);
    const bool on = values[0] >= 0.5f;
    for (VstInt32 i = from; i < to; ++i) {
        fixture.gain += (target - fixture.gain) * GlidePerSample;
        const float inLeft = inputs[0][i];
        const float inRight = inputs[FIXTURE_INPUTS > 1 ? 1 : 0][i];
        outputs[0][i] = silent ? 0.0f : on ? inLeft * fixture.gain * left : inLeft;
        outputs[1][i] = silent ? 0.0f : on ? inRight * fixture.gain * right : inRight;
    }
}

void HandleEvent(Fixture& fixture, const Event& event)
{
    const int index = event.controller == 80 ? 0 : event.controller == 93 ? 1 : -1;
    if (index < 0)
        return;
    fixture.programs[fixture.current].values[index] = event.value;
    fixture.host(&fixture.effect, audioMasterAutomate, index, 0, nullptr, event.value);
}

void ProcessReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    Fixture& fixture = FixtureOf(effect);
    const bool silent = !TransportMatches(fixture);
    VstInt32 position = 0;
    for (int e = 0; e < fixture.eventCount; ++e) {
        const VstInt32 at = std::clamp(fixture.events[e].deltaFrames, position, frames);
        ProcessRun(fixture, inputs, outputs, position, at, silent);
        HandleEvent(fixture, fixture.events[e]);
        position = at;
    }
    fixture.eventCount = 0;
    ProcessRun(fixture, inputs, outputs, position, frames, silent);
    fixture.framesSinceResume += frames;
}

void CopyText(void* destination, const char* text, std::size_t limit)
{
    std::strncpy(static_cast<char*>(destination), text, limit - 1);
    static_cast<char*>(destination)[limit - 1] = '\0';
}

VstIntPtr Dispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    Fixture& fixture = FixtureOf(effect);
    Program& program = fixture.programs[fixture.current];
    switch (opcode) {
    case effClose:
        delete &fixture;
        return 1;
    case effSetProgram:
        if (value >= 0 && value < ProgramCount)
            fixture.current = static_cast<int>(value);
        return 0;
    case effGetProgram:
        return fixture.current;
    case effSetProgramName:
        CopyText(program.name, static_cast<const char*>(ptr), kVstProgramNameSize);
        return 0;
    case effGetProgramName:
        CopyText(ptr, program.name, kVstProgramNameSize);
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= ProgramCount)
            return 0;
        CopyText(ptr, fixture.programs[index].name, kVstProgramNameSize);
        return 1;
    case effGetParamName:
        if (index >= 0 && index < ParameterCount)
            CopyText(ptr, ParameterNames[index], kVstParameterTextSize);
        return 0;
    case effGetParamLabel:
        CopyText(ptr, index == 1 ? "x" : "", kVstParameterTextSize);
        return 0;
    case effGetParamDisplay:
        if (index >= 0 && index < ParameterCount) {
            char text[32];
            std::snprintf(text, sizeof text, "%.3f", static_cast<double>(program.values[index]));
            CopyText(ptr, text, kVstParameterTextSize);
        }
        return 0;
    case effSetSampleRate:
        fixture.sampleRate = opt;
        return 0;
    case effMainsChanged:
        if (value != 0)
            fixture.framesSinceResume = 0.0;
        return 0;
    case effGetChunk:
        *static_cast<void**>(ptr) = index != 0 ? static_cast<void*>(&program) : static_cast<void*>(fixture.programs);
        return index != 0 ? sizeof(Program) : sizeof fixture.programs;
    case effSetChunk:
        if (index != 0 && value == sizeof(Program))
            std::memcpy(&program, ptr, sizeof(Program));
        else if (index == 0 && value == sizeof fixture.programs)
            std::memcpy(fixture.programs, ptr, sizeof fixture.programs);
        else
            return 0;
        return 1;
    case effProcessEvents: {
        const auto* list = static_cast<const VstEvents*>(ptr);
        for (VstInt32 i = 0; i < list->numEvents && fixture.eventCount < MaximumEvents; ++i) {
            if (list->events[i]->type != kVstMidiType)
                continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
            if ((midi->midiData[0] & 0xF0) == 0xB0)
                fixture.events[fixture.eventCount++]
                    = {midi->deltaFrames, midi->midiData[1], static_cast<float>(midi->midiData[2]) / 127.0f};
        }
        return 1;
    }
    case effGetEffectName:
        CopyText(ptr, "Fixture Gain", kVstEffectNameSize);
        return 1;
    case effGetVendorString:
        CopyText(ptr, "Test Bench", kVstVendorStringSize);
        return 1;
    case effGetProductString:
        CopyText(ptr, "Fixture Gain", kVstProductStringSize);
        return 1;
    case effGetVendorVersion:
        return 7;
    case effGetVstVersion:
        return kVstVersion;
    default:
        return 0;
    }
}
} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    auto* fixture = new Fixture;
    fixture->host = host;
    AEffect& effect = fixture->effect;
    effect.magic = FixtureMagic;
    effect.dispatcher = Dispatcher;
    effect.setParameter = SetParameter;
    effect.getParameter = GetParameter;
    effect.processReplacing = ProcessReplacing;
    effect.numPrograms = ProgramCount;
    effect.numParams = ParameterCount;
    effect.numInputs = FIXTURE_INPUTS;
    effect.numOutputs = 2;
    effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    effect.ioRatio = 1.0f;
    effect.object = fixture;
    effect.uniqueID = ToFourCharCode("FxGn");
    effect.version = 7;
    return &effect;
}
