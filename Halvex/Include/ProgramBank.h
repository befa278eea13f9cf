#pragma once

#include "Halvex.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The byte layout of the host chunks: a program record is the three identity
// texts, the version, the normalised parameter values (host index order) and
// the program name; a bank is the identity, the version and every program.
// Little-endian, 4-byte numeric fields, packed back to back. Hosts store these
// bytes in their projects, so the layout never changes.
constexpr int EffectNameSize = 32;
constexpr int VendorNameSize = 64;
constexpr int ProductNameSize = 64;
constexpr int ProgramNameSize = 24;

#pragma pack(push, 1)
template <int ParameterCount>
struct ProgramChunk {
    char effectName[EffectNameSize];
    char vendorName[VendorNameSize];
    char productName[ProductNameSize];
    int32_t version;
    float values[ParameterCount];
    char name[ProgramNameSize];
};

template <int ProgramCount, int ParameterCount>
struct BankChunk {
    char effectName[EffectNameSize];
    char vendorName[VendorNameSize];
    char productName[ProductNameSize];
    int32_t version;
    ProgramChunk<ParameterCount> programs[ProgramCount];
};
#pragma pack(pop)

static_assert(sizeof(ProgramChunk<8>) == 220, "program chunk is 220 bytes for 8 parameters");
static_assert(offsetof(ProgramChunk<8>, vendorName) == 32, "program layout");
static_assert(offsetof(ProgramChunk<8>, productName) == 96, "program layout");
static_assert(offsetof(ProgramChunk<8>, version) == 160, "program layout");
static_assert(offsetof(ProgramChunk<8>, values) == 164, "program layout");
static_assert(offsetof(ProgramChunk<8>, name) == 196, "program layout");

// The same layout for counts known only at run time (tools reading a stored
// state). Both a bank and a program record begin with the identity texts and
// the version; a record's values follow them, then its name.
constexpr std::size_t IdentityFieldsSize = EffectNameSize + VendorNameSize + ProductNameSize + 4;
constexpr std::size_t ProgramValuesOffset = IdentityFieldsSize;
constexpr std::size_t ProgramRecordSize(int parameterCount)
{
    return ProgramValuesOffset + 4 * static_cast<std::size_t>(parameterCount) + ProgramNameSize;
}
constexpr std::size_t BankRecordSize(int programCount, int parameterCount)
{
    return IdentityFieldsSize + static_cast<std::size_t>(programCount) * ProgramRecordSize(parameterCount);
}
constexpr std::size_t ProgramNameOffset(int parameterCount)
{
    return ProgramValuesOffset + 4 * static_cast<std::size_t>(parameterCount);
}
static_assert(
    ProgramRecordSize(8) == sizeof(ProgramChunk<8>) && ProgramNameOffset(8) == offsetof(ProgramChunk<8>, name),
    "run-time program layout");

using Bank32x8 = BankChunk<32, 8>;
static_assert(sizeof(Bank32x8) == 7204, "bank chunk is 7204 bytes for 32 programs of 8 parameters");
static_assert(offsetof(Bank32x8, version) == 160, "bank layout");
static_assert(offsetof(Bank32x8, programs) == 164, "bank layout");
static_assert(BankRecordSize(32, 8) == sizeof(Bank32x8), "run-time bank layout");

// The live bank of an effect: the same bytes as BankChunk, held as 32-bit
// words that any thread may read or write without a lock (the host's
// dispatcher, its automation thread, the audio thread and the editor all
// touch programs). One value or one word of a name is always seen whole; a
// bank loaded while another thread reads may be seen partly old, partly new.
template <int ProgramCount, int ParameterCount>
class ProgramBank {
public:
    using Bank = BankChunk<ProgramCount, ParameterCount>;
    using Program = ProgramChunk<ParameterCount>;
    static constexpr int BankSize = static_cast<int>(sizeof(Bank));
    static constexpr int ProgramSize = static_cast<int>(sizeof(Program));

    ProgramBank()
    {
        for (std::atomic<uint32_t>& word : words) {
            word.store(0, std::memory_order_relaxed);
        }
    }

    float GetValue(int program, int index) const
    {
        uint32_t bits = words[ValueWord(program, index)].load(std::memory_order_relaxed);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    void SetValue(int program, int index, float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        words[ValueWord(program, index)].store(bits, std::memory_order_relaxed);
    }

    // Texts are read and written within their fields; a stored text without
    // a terminator comes out cut to count - 1 characters.
    void GetProgramName(int program, char* text, int count) const
    {
        ReadText(ProgramOffset(program) + offsetof(Program, name), ProgramNameSize, text, count);
    }
    void SetProgramName(int program, const char* text)
    {
        WriteText(ProgramOffset(program) + offsetof(Program, name), ProgramNameSize, text);
    }

    void GetEffectName(char* text, int count) const
    {
        ReadText(offsetof(Bank, effectName), EffectNameSize, text, count);
    }
    void GetVendorName(char* text, int count) const
    {
        ReadText(offsetof(Bank, vendorName), VendorNameSize, text, count);
    }
    void GetProductName(char* text, int count) const
    {
        ReadText(offsetof(Bank, productName), ProductNameSize, text, count);
    }

    // Writes the identity texts and version into the bank header, or into one
    // program's copy of them.
    void SetIdentity(const char* effectName, const char* vendorName, const char* productName, int32_t version)
    {
        WriteIdentity(0, effectName, vendorName, productName, version);
    }
    void SetProgramIdentity(
        int program, const char* effectName, const char* vendorName, const char* productName, int32_t version)
    {
        WriteIdentity(ProgramOffset(program), effectName, vendorName, productName, version);
    }

    // Whole records, as the host exchanges them.
    void LoadBank(const void* bytes) { WriteBytes(0, bytes, BankSize); }
    void LoadProgram(int program, const void* bytes) { WriteBytes(ProgramOffset(program), bytes, ProgramSize); }
    void SaveBank(void* bytes) const { ReadBytes(0, bytes, BankSize); }
    void SaveProgram(int program, void* bytes) const { ReadBytes(ProgramOffset(program), bytes, ProgramSize); }

private:
    static_assert(sizeof(Bank) % 4 == 0 && sizeof(Program) % 4 == 0 && offsetof(Bank, programs) % 4 == 0,
        "every field of the chunk layout is a whole number of 32-bit words");
    static_assert(std::atomic<uint32_t>::is_always_lock_free, "the bank must be lock-free");

    static constexpr std::size_t ProgramOffset(int program)
    {
        return offsetof(Bank, programs) + static_cast<std::size_t>(program) * sizeof(Program);
    }
    static constexpr std::size_t ValueWord(int program, int index)
    {
        return (ProgramOffset(program) + offsetof(Program, values)) / 4 + static_cast<std::size_t>(index);
    }

    void WriteIdentity(
        std::size_t offset, const char* effectName, const char* vendorName, const char* productName, int32_t version)
    {
        WriteText(offset + offsetof(Bank, effectName), EffectNameSize, effectName);
        WriteText(offset + offsetof(Bank, vendorName), VendorNameSize, vendorName);
        WriteText(offset + offsetof(Bank, productName), ProductNameSize, productName);
        WriteBytes(offset + offsetof(Bank, version), &version, sizeof version);
    }

    void ReadText(std::size_t offset, int fieldSize, char* text, int count) const
    {
        char field[ProductNameSize];
        ReadBytes(offset, field, static_cast<std::size_t>(fieldSize));
        int length = 0;
        while (length < fieldSize && length < count - 1 && field[length] != 0) {
            text[length] = field[length];
            ++length;
        }
        if (count > 0) {
            text[length] = 0;
        }
    }

    void WriteText(std::size_t offset, int fieldSize, const char* text)
    {
        char field[ProductNameSize];
        CopyString(field, text, fieldSize);
        WriteBytes(offset, field, static_cast<std::size_t>(fieldSize));
    }

    void ReadBytes(std::size_t offset, void* bytes, std::size_t size) const
    {
        auto* out = static_cast<unsigned char*>(bytes);
        for (std::size_t i = 0; i < size; i += 4) {
            uint32_t word = words[(offset + i) / 4].load(std::memory_order_relaxed);
            std::memcpy(out + i, &word, 4);
        }
    }

    void WriteBytes(std::size_t offset, const void* bytes, std::size_t size)
    {
        const auto* in = static_cast<const unsigned char*>(bytes);
        for (std::size_t i = 0; i < size; i += 4) {
            uint32_t word;
            std::memcpy(&word, in + i, 4);
            words[(offset + i) / 4].store(word, std::memory_order_relaxed);
        }
    }

    std::atomic<uint32_t> words[sizeof(Bank) / 4];
};
