#pragma once

#include "ProgramBank.h"

#include <cstddef>
#include <cstdint>

// The state a plug-in format stores for one instance (a CLAP state stream,
// an LV2 state property): the program bank in its chunk layout and the
// number of the current program, behind a header that names the format's
// version and the product, sealed with a checksum. Every number is a
// little-endian 32-bit field:
//
//   offset   size  field
//   0        4     "HxSt"
//   4        4     format version, 1
//   8        4     product code (the product's four-character code)
//   12       4     number of programs
//   16       4     number of parameters per program
//   20       4     current program
//   24       n     the bank, in the chunk layout of ProgramBank.h
//   24 + n   4     CRC-32 (the IEEE polynomial, as zip uses) of every byte before it
//
// Later builds read every version up to their own. A state of a later
// version, of another product, with other counts, a wrong checksum or a
// current program outside the bank is refused before anything is taken
// from it. The functions allocate nothing and may run on any thread.
struct StateHeader {
    std::uint32_t version;
    std::int32_t productCode;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t currentProgram;
};

constexpr std::uint32_t StateVersion = 1;
constexpr std::size_t StateHeaderSize = 24;
constexpr std::size_t StateChecksumSize = 4;

// The bytes of a whole state: header, bank and checksum.
constexpr std::size_t StateSize(int programCount, int parameterCount)
{
    return StateHeaderSize + BankRecordSize(programCount, parameterCount) + StateChecksumSize;
}

std::uint32_t Crc32(const unsigned char* bytes, std::size_t size);

// Writes the header into the first StateHeaderSize bytes.
void WriteStateHeader(const StateHeader& header, unsigned char* bytes);
// Writes the checksum of everything before it into the last four bytes.
void SealState(unsigned char* bytes, std::size_t size);

// Reads a whole state's header: true when the magic and version are known,
// the counts positive, size is the state's size for them, the checksum holds
// and the current program lies in the bank. The product is the caller's to
// check.
bool ReadStateHeader(const unsigned char* bytes, std::size_t size, StateHeader& header);

// Where a checked state's bank image begins.
inline const unsigned char* StateBank(const unsigned char* bytes)
{
    return bytes + StateHeaderSize;
}

// A program's name in a checked state, cut to count - 1 characters and
// terminated.
void ReadStateProgramName(const unsigned char* bytes, const StateHeader& header, int program, char* text, int count);
// Makes program the current one of a checked state and seals it again; a
// program outside the bank changes nothing.
void SetStateCurrentProgram(unsigned char* bytes, std::size_t size, int program);

// The state of a plug-in with ProgramCount programs of ParameterCount values.
template <int ProgramCount, int ParameterCount>
struct PluginState {
    static constexpr std::size_t Size = StateSize(ProgramCount, ParameterCount);

    // Writes the bank, the current program and the product into Size bytes.
    static void Write(const ProgramBank<ProgramCount, ParameterCount>& bank, int currentProgram,
        std::int32_t productCode, unsigned char* bytes)
    {
        WriteStateHeader({StateVersion, productCode, ProgramCount, ParameterCount, currentProgram}, bytes);
        bank.SaveBank(bytes + StateHeaderSize);
        SealState(bytes, Size);
    }

    // Whether size bytes are a whole, intact state of this product and
    // shape; if so, *currentProgram is its current program and StateBank
    // its bank image.
    static bool Check(const unsigned char* bytes, std::size_t size, std::int32_t productCode, int* currentProgram)
    {
        StateHeader header;
        if (!ReadStateHeader(bytes, size, header) || header.productCode != productCode
            || header.programCount != ProgramCount || header.parameterCount != ParameterCount) {
            return false;
        }
        *currentProgram = header.currentProgram;
        return true;
    }
};
