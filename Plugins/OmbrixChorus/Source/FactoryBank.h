#pragma once

#include "ProgramBank.h"

constexpr int FactoryProgramCount = 32;
constexpr int FactoryParameterCount = 8;

// One preset of the factory bank: its name and the normalised values of the
// eight host parameters, in id order.
struct FactoryProgram {
    const char* name;
    float values[FactoryParameterCount];
};

extern const FactoryProgram FactoryPrograms[FactoryProgramCount];

using ChorusBank = BankChunk<FactoryProgramCount, FactoryParameterCount>;

// The factory bank as the chunk a host would hand back: the identity texts
// and version in the header and in every program, then each program's values
// and name.
ChorusBank MakeFactoryBank(const char* effectName, const char* vendorName, const char* productName, int version);
