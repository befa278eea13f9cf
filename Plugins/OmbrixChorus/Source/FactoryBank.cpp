#include "FactoryBank.h"

// Every value is the shortest decimal that converts back to the stored
// 32-bit float; many are multiples of 1/90, 1/41 or 1/127.
//  name                        On/Off Delay  Depth  Feedback  Mix  Freq  Quad  MW
const FactoryProgram FactoryPrograms[FactoryProgramCount] = {
    {"-- KOVRA --", {1, 1, 0.4015748f, 0, 0.7322835f, 0.18897638f, 1, 0}},
    {"Lite Chorus", {1, 0.54330707f, 0.2784777f, 0, 0.53543305f, 0.24409449f, 1, 0}},
    {"Deep Flange", {1, 0.033333335f, 1, 0.79527557f, 0.70731705f, 0.18110237f, 1, 0}},
    {"Vibrato Delight", {1, 0, 1, 0.79527557f, 0.6097561f, 0.47244096f, 1, 0}},
    {"Ominious 1", {1, 0.65555555f, 0.23333333f, 1, 0.2682927f, 0.7888889f, 1, 0}},
    {"Ominous 2", {1, 0.42222223f, 0.33333334f, 1, 0.19512194f, 0.7f, 1, 0}},
    {"Twangy Vibrato  (MW)", {1, 0, 1, 0.76666665f, 1, 0.7222222f, 0, 1}},
    {"Soft Vibrato  (MW)", {1, 0, 1, 0, 1, 0.6888889f, 0, 1}},
    {"Boomerrang", {1, 0.2777778f, 0.5f, 1, 0.29268292f, 1, 1, 0}},
    {"Broken Turntable", {1, 1, 0.76666665f, 1, 1, 0.34444445f, 1, 0}},
    {"Room", {1, 1, 0.2f, 0.96666664f, 0.34146342f, 0, 1, 0}},
    {"Gurgle Machine", {1, 0.7888889f, 1, 1, 1, 1, 1, 0}},
    {"-- PELLIMOR --", {1, 0.32222223f, 0.6333333f, 0.37777779f, 0.4878049f, 0.6111111f, 0, 0}},
    {"Enter The Matrix", {1, 1, 0.24444444f, 0.9777778f, 0.5f, 0.11111111f, 1, 0}},
    {"Extreme Detune", {1, 1, 1, 0.2777778f, 0.5f, 0.15555556f, 0, 0}},
    {"Rotovibe", {1, 0, 0.8333333f, 0.35555556f, 1, 1, 1, 0}},
    {"Extreme Rotovibe", {1, 0, 1, 0.62222224f, 1, 1, 0, 0}},
    {"Mourning Flange", {1, 0.37777779f, 1, 0.9111111f, 0.5f, 0.12222223f, 0, 0}},
    {"Underwater Detune", {1, 1, 1, 0.7888889f, 0.5f, 0.15555556f, 0, 0}},
    {"Flange", {1, 0, 1, 0.9f, 0.5f, 0.12222223f, 0, 0}},
    {"Flange.01", {1, 0.25555557f, 1, 0.9f, 0.5f, 0.12222223f, 0, 0}},
    {"Tectonic Plates", {1, 1, 1, 0.98888886f, 0.31707317f, 0.055555567f, 1, 0}},
    {"-- VANTHE --", {1, 0.98888886f, 0.37777779f, 0.011111111f, 0.5f, 0.18888889f, 1, 0}},
    {"Vanthe01", {1, 0.5888889f, 0.23333333f, 0.53333336f, 0.2195122f, 0.16666667f, 1, 0}},
    {"Vanthe02", {1, 0.11111111f, 0.23333333f, 0.9444444f, 0.5365854f, 0.16666667f, 1, 0}},
    {"Vanthe03", {1, 0.7777778f, 0.76666665f, 0.9444444f, 0.5609756f, 0.044444446f, 1, 0}},
    {"Vanthe04", {1, 0.07777778f, 0.6333333f, 1, 0.24390244f, 0.044444446f, 1, 0}},
    {"Vanthe05", {1, 0.22222222f, 0.2888889f, 1, 0.2682927f, 0.7777778f, 0, 0}},
    {"Vanthe06", {1, 0.7888889f, 0.3888889f, 0.17777778f, 0.5121951f, 0.1f, 1, 0}},
    {"Vanthe07", {1, 0, 0.4f, 1, 0.34146342f, 0, 0, 0}},
    {"Vanthe08", {1, 0.51111114f, 1, 1, 0.2195122f, 0.08888889f, 1, 0}},
    {"Vanthe09", {1, 0.5888889f, 0.45555556f, 0.95555556f, 0.4878049f, 0, 1, 0}},
};

ChorusBank MakeFactoryBank(const char* effectName, const char* vendorName, const char* productName, int version)
{
    ProgramBank<FactoryProgramCount, FactoryParameterCount> programs;
    programs.SetIdentity(effectName, vendorName, productName, version);
    for (int program = 0; program < FactoryProgramCount; ++program) {
        programs.SetProgramIdentity(program, effectName, vendorName, productName, version);
        for (int index = 0; index < FactoryParameterCount; ++index) {
            programs.SetValue(program, index, FactoryPrograms[program].values[index]);
        }
        programs.SetProgramName(program, FactoryPrograms[program].name);
    }
    ChorusBank bank;
    programs.SaveBank(&bank);
    return bank;
}
