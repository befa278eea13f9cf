// effSetChunk with any bytes and sizes, for banks and programs, the way a
// corrupt or foreign project file reaches the plug-in; then audio, names,
// and the chunk the plug-in hands back, which must load again unchanged.
//
// Input: one flag byte, then the chunk. Flag bit 0: a program (preset)
// chunk instead of a bank; bit 1: fit the chunk to the size the plug-in
// takes (zero-padded or cut), so that contents are fuzzed even when the
// size mutates; bits 2 to 6: the program to select first.

#include "FuzzHost.h"
#include "OmbrixChorusDescription.h"

#include <cstddef>

namespace {

using Program = ProgramChunk<OmbrixChorusDescription.ParameterCount>;
constexpr int ProgramChunkSize = sizeof(Program);
constexpr int BankChunkSize = sizeof(ChorusBank);
constexpr int ValuesOffset = offsetof(Program, values);
constexpr int ParameterCount = OmbrixChorusDescription.ParameterCount;
constexpr int BankHeaderSize = offsetof(ChorusBank, programs);

std::vector<char> GetChunk(FuzzHost& host, bool isPreset)
{
    void* data = nullptr;
    const VstIntPtr size = host.Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    FuzzHost::Require(size == (isPreset ? ProgramChunkSize : BankChunkSize), "effGetChunk answered a wrong size");
    FuzzHost::Require(data != nullptr, "effGetChunk answered no data");
    return std::vector<char>(static_cast<const char*>(data), static_cast<const char*>(data) + size);
}

// The values of a program record: normalised, never NaN.
void CheckProgramValues(const std::vector<char>& chunk, std::size_t recordOffset)
{
    for (int index = 0; index < ParameterCount; ++index) {
        float value;
        std::memcpy(&value, chunk.data() + recordOffset + ValuesOffset + 4 * index, sizeof value);
        FuzzHost::Require(value >= 0.0f && value <= 1.0f, "a stored program value lies outside [0, 1]");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const uint8_t flags = data[0];
    const bool isPreset = (flags & 1) != 0;
    const bool fitSize = (flags & 2) != 0;
    const VstInt32 program = (flags >> 2) & 31;
    std::vector<char> chunk(data + 1, data + size);
    if (fitSize) {
        chunk.resize(isPreset ? ProgramChunkSize : BankChunkSize, 0);
    }
    chunk.reserve(1);

    FuzzHost host;
    host.Start();
    host.Dispatch(effSetProgram, 0, program);
    const VstIntPtr answer
        = host.Dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<VstIntPtr>(chunk.size()), chunk.data());
    const bool rightSize = chunk.size() == static_cast<std::size_t>(isPreset ? ProgramChunkSize : BankChunkSize);
    FuzzHost::Require(answer == (rightSize ? 1 : 0), "effSetChunk took a chunk of the wrong size or refused one");

    FuzzedDataProvider signal(data, size > 16 ? 16 : size);
    for (int block = 0; block < 3; ++block) {
        host.Process(signal, 512);
    }

    const std::vector<char> bank = GetChunk(host, false);
    for (VstInt32 record = 0; record < host.effect->numPrograms; ++record) {
        CheckProgramValues(bank, BankHeaderSize + static_cast<std::size_t>(record) * ProgramChunkSize);
        host.CheckText(effGetProgramNameIndexed, record);
    }
    CheckProgramValues(GetChunk(host, true), 0);
    host.CheckText(effGetProgramName, 0);
    host.CheckText(effGetEffectName, 0);
    host.CheckText(effGetVendorString, 0);
    host.CheckText(effGetProductString, 0);
    for (VstInt32 index = 0; index < host.effect->numParams; ++index) {
        host.CheckText(effGetParamDisplay, index);
    }

    // What the plug-in hands out loads again and comes back byte for byte.
    std::vector<char> saved = bank;
    FuzzHost::Require(host.Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(saved.size()), saved.data()) == 1,
        "the plug-in refused its own bank");
    FuzzHost::Require(GetChunk(host, false) == bank, "a saved bank did not load back unchanged");

    // Every program of the loaded bank plays.
    for (VstInt32 next = 0; next < host.effect->numPrograms; next += 5) {
        host.Dispatch(effSetProgram, 0, (program + next) % host.effect->numPrograms);
        host.Process(signal, 64);
    }
    host.CheckRecovers();
    return 0;
}
