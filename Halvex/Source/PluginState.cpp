#include "PluginState.h"

#include <cstring>

namespace {

constexpr unsigned char Magic[4] = {'H', 'x', 'S', 't'};

void WriteWord(unsigned char* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

std::uint32_t ReadWord(const unsigned char* bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return value;
}

std::int32_t ReadSigned(const unsigned char* bytes)
{
    return static_cast<std::int32_t>(ReadWord(bytes));
}

// Counts large enough to overflow a size are not a state of any plug-in.
constexpr std::int32_t MostPrograms = 1 << 16;
constexpr std::int32_t MostParameters = 1 << 16;

} // namespace

std::uint32_t Crc32(const unsigned char* bytes, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void WriteStateHeader(const StateHeader& header, unsigned char* bytes)
{
    std::memcpy(bytes, Magic, sizeof Magic);
    WriteWord(bytes + 4, header.version);
    WriteWord(bytes + 8, static_cast<std::uint32_t>(header.productCode));
    WriteWord(bytes + 12, static_cast<std::uint32_t>(header.programCount));
    WriteWord(bytes + 16, static_cast<std::uint32_t>(header.parameterCount));
    WriteWord(bytes + 20, static_cast<std::uint32_t>(header.currentProgram));
}

void SealState(unsigned char* bytes, std::size_t size)
{
    WriteWord(bytes + size - StateChecksumSize, Crc32(bytes, size - StateChecksumSize));
}

bool ReadStateHeader(const unsigned char* bytes, std::size_t size, StateHeader& header)
{
    if (bytes == nullptr || size < StateHeaderSize + StateChecksumSize
        || std::memcmp(bytes, Magic, sizeof Magic) != 0) {
        return false;
    }
    StateHeader read = {ReadWord(bytes + 4), ReadSigned(bytes + 8), ReadSigned(bytes + 12), ReadSigned(bytes + 16),
        ReadSigned(bytes + 20)};
    if (read.version < 1 || read.version > StateVersion || read.programCount <= 0 || read.programCount > MostPrograms
        || read.parameterCount <= 0 || read.parameterCount > MostParameters
        || size != StateSize(read.programCount, read.parameterCount)
        || ReadWord(bytes + size - StateChecksumSize) != Crc32(bytes, size - StateChecksumSize)
        || read.currentProgram < 0 || read.currentProgram >= read.programCount) {
        return false;
    }
    header = read;
    return true;
}

void ReadStateProgramName(const unsigned char* bytes, const StateHeader& header, int program, char* text, int count)
{
    if (text == nullptr || count <= 0) {
        return;
    }
    int length = 0;
    if (program >= 0 && program < header.programCount) {
        const unsigned char* name = StateBank(bytes) + IdentityFieldsSize
            + static_cast<std::size_t>(program) * ProgramRecordSize(header.parameterCount)
            + ProgramNameOffset(header.parameterCount);
        while (length < ProgramNameSize && length < count - 1 && name[length] != 0) {
            text[length] = static_cast<char>(name[length]);
            ++length;
        }
    }
    text[length] = '\0';
}

void SetStateCurrentProgram(unsigned char* bytes, std::size_t size, int program)
{
    StateHeader header;
    if (!ReadStateHeader(bytes, size, header) || program < 0 || program >= header.programCount) {
        return;
    }
    WriteWord(bytes + 20, static_cast<std::uint32_t>(program));
    SealState(bytes, size);
}
