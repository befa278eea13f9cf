#include "PluginFacts.h"

#include "MidiEvents.h"
#include "PluginHost.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int ControllerCount = 128;
constexpr int ProbeFrames = 8;

bool OpenInstance(const PluginLibrary& library, PluginHost& host, std::string& error)
{
    if (!host.Open(library, error))
        return false;
    host.SetSampleRate(44100.0);
    host.SetBlockSize(ProbeFrames);
    host.Resume();
    return true;
}

void ReadNamesAndRange(PluginHost& host, std::vector<ParameterFacts>& parameters)
{
    for (VstInt32 index = 0; index < host.GetParameterCount(); ++index) {
        ParameterFacts parameter;
        parameter.shortName = host.GetParameterName(index);
        parameter.longName = host.GetParameterLongName(index);
        if (parameter.longName.empty())
            parameter.longName = parameter.shortName;
        parameter.label = host.GetParameterLabel(index);
        VstParameterProperties properties;
        parameter.isSwitch
            = host.GetParameterProperties(index, properties) && (properties.flags & kVstParameterIsSwitch) != 0;
        host.SetParameter(index, 0.0f);
        parameter.minimumText = host.GetParameterDisplay(index);
        host.SetParameter(index, 1.0f);
        parameter.maximumText = host.GetParameterDisplay(index);
        parameters.push_back(parameter);
    }
}

// Where the four bytes of one parameter's value lie in a program chunk: the only bytes that change
// when that value alone goes from 0 to 1. Answers -1 when the change is not one float.
long FindValueOffset(const std::vector<char>& atZero, const std::vector<char>& atOne)
{
    if (atZero.size() != atOne.size())
        return -1;
    long first = -1, last = -1;
    for (std::size_t i = 0; i < atZero.size(); ++i) {
        if (atZero[i] != atOne[i]) {
            if (first < 0)
                first = static_cast<long>(i);
            last = static_cast<long>(i);
        }
    }
    if (first < 0)
        return -1;
    const float zero = 0.0f, one = 1.0f;
    for (long start = last - 3 < 0 ? 0 : last - 3; start <= first; ++start) {
        if (static_cast<std::size_t>(start) + sizeof(float) > atZero.size())
            break;
        if (std::memcmp(&atZero[static_cast<std::size_t>(start)], &zero, sizeof zero) == 0
            && std::memcmp(&atOne[static_cast<std::size_t>(start)], &one, sizeof one) == 0)
            return start;
    }
    return -1;
}

bool ReadDefaults(const PluginLibrary& library, std::vector<ParameterFacts>& parameters, std::string& error)
{
    PluginHost host;
    if (!OpenInstance(library, host, error))
        return false;
    if (!host.HasProgramChunks()) {
        error = "the plug-in keeps no program chunks, so its defaults cannot be read";
        return false;
    }
    const VstInt32 count = host.GetParameterCount();
    for (VstInt32 index = 0; index < count; ++index)
        host.SetParameter(index, 0.0f);
    std::vector<char> chunk = host.GetChunk(true);
    std::vector<long> offsets;
    for (VstInt32 index = 0; index < count; ++index) {
        host.SetParameter(index, 1.0f);
        offsets.push_back(FindValueOffset(chunk, host.GetChunk(true)));
        host.SetParameter(index, 0.0f);
        if (offsets.back() < 0) {
            error = "parameter " + std::to_string(index) + " has no value of its own in the program chunk";
            return false;
        }
    }
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    for (long offset : offsets)
        std::memcpy(&chunk[static_cast<std::size_t>(offset)], &notANumber, sizeof notANumber);
    if (!host.SetChunk(chunk, true)) {
        error = "the plug-in refuses a program chunk whose values are not numbers";
        return false;
    }
    for (VstInt32 index = 0; index < count; ++index) {
        if (std::isnan(host.GetParameter(index))) {
            error = "the plug-in keeps a value that is not a number for parameter " + std::to_string(index);
            return false;
        }
        parameters[static_cast<std::size_t>(index)].defaultText = host.GetParameterDisplay(index);
    }
    return true;
}

void SendControlChange(PluginHost& host, int controller, int value)
{
    float silence[2][ProbeFrames] = {};
    float output[2][ProbeFrames] = {};
    float* inputs[2] = {silence[0], silence[1]};
    float* outputs[2] = {output[0], output[1]};
    const VstMidiEvent event = MakeControlChange(0, controller, value);
    host.Process(inputs, outputs, ProbeFrames, &event, 1);
}

bool ReadControllers(const PluginLibrary& library, std::vector<ParameterFacts>& parameters, std::string& error)
{
    PluginHost host;
    if (!OpenInstance(library, host, error))
        return false;
    int controller = 0;
    host.SetAutomationListener([&](VstInt32 index, float) {
        if (index < 0 || static_cast<std::size_t>(index) >= parameters.size())
            return;
        std::vector<int>& controllers = parameters[static_cast<std::size_t>(index)].controllers;
        if (controllers.empty() || controllers.back() != controller)
            controllers.push_back(controller);
    });
    for (; controller < ControllerCount; ++controller)
        SendControlChange(host, controller, ControllerProbeValues[1]);
    host.SetAutomationListener(nullptr);

    for (VstInt32 index = 0; index < host.GetParameterCount(); ++index) {
        ParameterFacts& parameter = parameters[static_cast<std::size_t>(index)];
        if (parameter.controllers.empty())
            continue;
        for (int value : ControllerProbeValues) {
            SendControlChange(host, parameter.controllers.front(), value);
            parameter.controllerTexts.push_back(host.GetParameterDisplay(index));
        }
    }
    return true;
}

bool ReadPrograms(const PluginLibrary& library, std::vector<ProgramFacts>& programs, std::string& error)
{
    PluginHost host;
    if (!OpenInstance(library, host, error))
        return false;
    for (VstInt32 number = 0; number < host.GetProgramCount(); ++number) {
        host.SetProgram(number);
        ProgramFacts program;
        program.name = host.GetCurrentProgramName();
        for (VstInt32 index = 0; index < host.GetParameterCount(); ++index)
            program.texts.push_back(host.GetParameterDisplay(index));
        programs.push_back(program);
    }
    return true;
}
} // namespace

bool ReadPluginFacts(const PluginLibrary& library, PluginFacts& facts, std::string& error)
{
    facts = PluginFacts();
    PluginHost host;
    if (!OpenInstance(library, host, error))
        return false;
    ReadNamesAndRange(host, facts.parameters);
    host.Unload();
    return ReadDefaults(library, facts.parameters, error) && ReadControllers(library, facts.parameters, error)
        && ReadPrograms(library, facts.programs, error);
}
