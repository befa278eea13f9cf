#pragma once

#include "Parameters/ParameterDescription.h"
#include "ProgramBank.h"

#include <cstdint>

// Who the product is, in the terms of each plug-in format's registry.
struct ProductIdentity {
    const char* effectName; // at most 31 characters
    const char* vendorName; // at most 63 characters
    const char* productName; // at most 63 characters
    int version; // 1000 for 1.0.0.0
    std::int32_t vstUniqueId; // four characters packed big-end first
    const char* clapId; // reverse-domain id, never to change
    const char* lv2Uri; // never to change
    const char* const* features; // "audio-effect", "chorus", ..., then null

    // The first three digits of the version, as registries show them.
    constexpr int MajorVersion() const { return version / 1000; }
    constexpr int MinorVersion() const { return version / 100 % 10; }
    constexpr int MicroVersion() const { return version / 10 % 10; }
};

struct ProductPorts {
    int audioInputs;
    int audioOutputs;
    int midiInputs;
};

// One preset of the factory bank: its name (at most 23 characters) and the
// normalised values of the host parameters, in id order.
template <int ParameterCount>
struct FactoryProgram {
    const char* name;
    float values[ParameterCount];
};

// The one description of a plug-in product that every format reads: its
// identity, its ports, its host parameters (parameters[id] describes
// parameter id) and its factory bank. Plain constant data, declared by the
// product; a plug-in class publishes it as its static member Description,
// through which the format adapters read it without building a plug-in.
template <int ParameterCountValue, int ProgramCountValue>
struct ProductDescription {
    static constexpr int ParameterCount = ParameterCountValue;
    static constexpr int ProgramCount = ProgramCountValue;
    static constexpr int NoParameter = -1;

    ProductIdentity identity;
    ProductPorts ports;
    const ParameterDescription (&parameters)[ParameterCount];
    const FactoryProgram<ParameterCount> (&programs)[ProgramCount];
    // The switch that turns the whole effect on and off, which a host's
    // bypass button may drive; NoParameter when there is none.
    int enableParameter = NoParameter;

    // Whether parameters[i] describes parameter id i, each scale runs from a
    // minimum up to a greater maximum, each controller drives at most one
    // parameter, the enable parameter (if any) is a switch, and each default
    // and factory value lies in [0, 1]: checked
    // where the product declares its description.
    constexpr bool IsConsistent() const
    {
        for (int i = 0; i < ParameterCount; ++i) {
            const ParameterDescription& parameter = parameters[i];
            if (parameter.id != i || !(parameter.scale.minimum < parameter.scale.maximum)
                || !(parameter.defaultValue >= 0.0f && parameter.defaultValue <= 1.0f)) {
                return false;
            }
            for (int j = 0; j < i; ++j) {
                if (parameter.midiController != ParameterDescription::NoController
                    && parameters[j].midiController == parameter.midiController) {
                    return false;
                }
            }
        }
        if (enableParameter != NoParameter
            && (enableParameter < 0 || enableParameter >= ParameterCount
                || parameters[enableParameter].scale.kind != ParameterKind::Switch)) {
            return false;
        }
        for (const FactoryProgram<ParameterCount>& program : programs) {
            for (float value : program.values) {
                if (!(value >= 0.0f && value <= 1.0f)) {
                    return false;
                }
            }
        }
        return true;
    }
};

// The factory bank as the chunk a host would hand back: the identity texts
// and version in the header and in every program, then each program's values
// and name.
template <int ParameterCount, int ProgramCount>
BankChunk<ProgramCount, ParameterCount> MakeFactoryBank(
    const ProductDescription<ParameterCount, ProgramCount>& description)
{
    const ProductIdentity& identity = description.identity;
    ProgramBank<ProgramCount, ParameterCount> programs;
    programs.SetIdentity(identity.effectName, identity.vendorName, identity.productName, identity.version);
    for (int program = 0; program < ProgramCount; ++program) {
        programs.SetProgramIdentity(
            program, identity.effectName, identity.vendorName, identity.productName, identity.version);
        for (int index = 0; index < ParameterCount; ++index) {
            programs.SetValue(program, index, description.programs[program].values[index]);
        }
        programs.SetProgramName(program, description.programs[program].name);
    }
    BankChunk<ProgramCount, ParameterCount> bank;
    programs.SaveBank(&bank);
    return bank;
}
