#include "PresetFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace {
constexpr VstInt32 RecordMagic = ToFourCharCode("CcnK");
constexpr VstInt32 PlainProgramMagic = ToFourCharCode("FxCk");
constexpr VstInt32 OpaqueProgramMagic = ToFourCharCode("FPCh");
constexpr VstInt32 PlainBankMagic = ToFourCharCode("FxBk");
constexpr VstInt32 OpaqueBankMagic = ToFourCharCode("FBCh");
constexpr std::size_t ProgramNameSize = 28;
constexpr std::size_t BankReservedSize = 124;
// 'CcnK', size, magic, version, id, plug-in version, parameter count and the name.
constexpr std::uint64_t MinimumProgramRecordSize = 7 * 4 + ProgramNameSize;
// Larger preset files are not presets: refuse them before reading them into memory.
constexpr std::streamoff MaximumFileSize = 256 * 1024 * 1024;

/// Reads big-endian fields from a byte string; past the end it fails and stays failed.
class BigEndianReader {
public:
    BigEndianReader(const std::string& bytes, std::size_t end)
        : bytes(bytes)
        , end(end)
    {
    }

    bool Failed() const { return failed; }
    std::size_t Remaining() const { return failed ? 0 : end - position; }

    VstInt32 ReadInt()
    {
        if (!Has(4))
            return 0;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(bytes[position++]);
        return static_cast<VstInt32>(value);
    }

    float ReadFloat()
    {
        const VstInt32 bits = ReadInt();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    std::string ReadText(std::size_t size)
    {
        if (!Has(size))
            return {};
        std::string text(bytes.data() + position, size);
        position += size;
        return text.substr(0, text.find('\0'));
    }

    std::vector<char> ReadBytes(std::size_t size)
    {
        if (!Has(size))
            return {};
        std::vector<char> data(bytes.data() + position, bytes.data() + position + size);
        position += size;
        return data;
    }

    void Skip(std::size_t size)
    {
        if (Has(size))
            position += size;
    }

    std::size_t Position() const { return position; }

private:
    bool Has(std::size_t size)
    {
        if (failed || end - position < size)
            failed = true;
        return !failed;
    }

    const std::string& bytes;
    std::size_t end;
    std::size_t position = 0;
    bool failed = false;
};

/// Builds a preset file: big-endian fields and 'CcnK' records whose sizes are filled in at the end.
class BigEndianWriter {
public:
    void WriteInt(VstInt32 value)
    {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }

    void WriteFloat(float value)
    {
        VstInt32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        WriteInt(bits);
    }

    void WriteText(const std::string& text, std::size_t size)
    {
        std::string field = text.substr(0, size - 1);
        field.resize(size, '\0');
        bytes += field;
    }

    void WriteBytes(const std::vector<char>& data) { bytes.append(data.data(), data.size()); }

    /// Starts a 'CcnK' record; EndRecord fills in its byte size.
    std::size_t BeginRecord()
    {
        WriteInt(RecordMagic);
        const std::size_t sizeField = bytes.size();
        WriteInt(0);
        return sizeField;
    }

    void EndRecord(std::size_t sizeField)
    {
        const auto size = static_cast<std::uint32_t>(bytes.size() - sizeField - 4);
        for (int i = 0; i < 4; ++i)
            bytes[sizeField + static_cast<std::size_t>(i)] = static_cast<char>((size >> (24 - 8 * i)) & 0xFF);
    }

    std::string bytes;
};

/// Reads 'CcnK' and the byte size; answers the position where the record ends, or 0.
std::size_t ReadRecordHeader(BigEndianReader& reader, std::string& error)
{
    if (reader.ReadInt() != RecordMagic || reader.Failed()) {
        error = "it is not a preset file (no 'CcnK' record)";
        return 0;
    }
    const auto byteSize = static_cast<std::uint32_t>(reader.ReadInt());
    if (reader.Failed() || byteSize > reader.Remaining()) {
        error = "it is truncated";
        return 0;
    }
    return reader.Position() + byteSize;
}

/// Reads a program's fields after 'CcnK', its size and its magic.
bool ReadProgramBody(
    BigEndianReader& reader, bool isOpaque, PresetFile& preset, PresetFile::Program& program, std::string& error)
{
    reader.ReadInt(); // format version
    preset.pluginId = reader.ReadInt();
    preset.pluginVersion = reader.ReadInt();
    preset.parameterCount = reader.ReadInt();
    program.name = reader.ReadText(ProgramNameSize);
    if (preset.parameterCount < 0) {
        error = "it states a negative parameter count";
        return false;
    }
    if (isOpaque) {
        const auto chunkSize = static_cast<std::uint32_t>(reader.ReadInt());
        preset.chunk = reader.ReadBytes(chunkSize);
    } else {
        if (static_cast<std::uint64_t>(preset.parameterCount) * 4 > reader.Remaining()) {
            error = "it is truncated";
            return false;
        }
        for (VstInt32 i = 0; i < preset.parameterCount; ++i)
            program.values.push_back(reader.ReadFloat());
    }
    if (reader.Failed()) {
        error = "it is truncated";
        return false;
    }
    return true;
}

bool ReadPlainBankPrograms(BigEndianReader& reader, PresetFile& preset, std::string& error)
{
    if (static_cast<std::uint64_t>(preset.programCount) * MinimumProgramRecordSize > reader.Remaining()) {
        error = "it is truncated";
        return false;
    }
    for (VstInt32 i = 0; i < preset.programCount; ++i) {
        const std::size_t programEnd = ReadRecordHeader(reader, error);
        if (programEnd == 0)
            return false;
        if (reader.ReadInt() != PlainProgramMagic) {
            error = "program " + std::to_string(i) + " of the bank is not a plain program ('FxCk')";
            return false;
        }
        PresetFile programFile;
        PresetFile::Program program;
        if (!ReadProgramBody(reader, false, programFile, program, error))
            return false;
        if (i > 0 && programFile.parameterCount != preset.parameterCount) {
            error = "the programs of the bank have different parameter counts";
            return false;
        }
        preset.parameterCount = programFile.parameterCount;
        preset.programs.push_back(std::move(program));
        reader.Skip(programEnd - reader.Position());
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::ifstream stream(path, std::ios::binary | std::ios::ate);
    if (!stream) {
        error = "cannot read preset " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::streamoff size = stream.tellg();
    if (size < 0 || size > MaximumFileSize) {
        error = "cannot read preset " + path + ": it is not a preset file";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    stream.seekg(0);
    if (!stream.read(&bytes[0], size)) {
        error = "cannot read preset " + path;
        return false;
    }
    return true;
}

void ApplyPlainProgram(const PresetFile::Program& program, PluginHost& host)
{
    for (std::size_t i = 0; i < program.values.size(); ++i)
        host.SetParameter(static_cast<VstInt32>(i), program.values[i]);
    host.SetCurrentProgramName(program.name);
}

PresetFile::Program CapturePlainProgram(PluginHost& host)
{
    PresetFile::Program program;
    program.name = host.GetCurrentProgramName();
    for (VstInt32 i = 0; i < host.GetParameterCount(); ++i)
        program.values.push_back(host.GetParameter(i));
    return program;
}
} // namespace

bool ParsePresetFile(const std::string& bytes, PresetFile& preset, std::string& error)
{
    preset = PresetFile {};
    BigEndianReader header(bytes, bytes.size());
    const std::size_t recordEnd = ReadRecordHeader(header, error);
    if (recordEnd == 0)
        return false;
    BigEndianReader reader(bytes, recordEnd);
    reader.Skip(header.Position());

    const VstInt32 magic = reader.ReadInt();
    if (magic == PlainProgramMagic || magic == OpaqueProgramMagic) {
        preset.isOpaque = magic == OpaqueProgramMagic;
        PresetFile::Program program;
        if (!ReadProgramBody(reader, preset.isOpaque, preset, program, error))
            return false;
        preset.programName = program.name;
        if (!preset.isOpaque)
            preset.programs.push_back(std::move(program));
        return true;
    }
    if (magic != PlainBankMagic && magic != OpaqueBankMagic) {
        error = "it holds neither a program nor a bank (" + FourCharacterText(magic) + ")";
        return false;
    }
    preset.isBank = true;
    preset.isOpaque = magic == OpaqueBankMagic;
    const VstInt32 formatVersion = reader.ReadInt();
    preset.pluginId = reader.ReadInt();
    preset.pluginVersion = reader.ReadInt();
    preset.programCount = reader.ReadInt();
    const VstInt32 currentProgram = reader.ReadInt();
    preset.currentProgram = formatVersion >= 2 ? currentProgram : -1;
    reader.Skip(BankReservedSize);
    if (reader.Failed()) {
        error = "it is truncated";
        return false;
    }
    if (preset.programCount < 0) {
        error = "it states a negative program count";
        return false;
    }
    if (!preset.isOpaque)
        return ReadPlainBankPrograms(reader, preset, error);
    const auto chunkSize = static_cast<std::uint32_t>(reader.ReadInt());
    preset.chunk = reader.ReadBytes(chunkSize);
    if (reader.Failed()) {
        error = "it is truncated";
        return false;
    }
    return true;
}

std::string SerializePresetFile(const PresetFile& preset)
{
    BigEndianWriter writer;
    const std::size_t record = writer.BeginRecord();
    if (!preset.isBank) {
        writer.WriteInt(preset.isOpaque ? OpaqueProgramMagic : PlainProgramMagic);
        writer.WriteInt(1);
        writer.WriteInt(preset.pluginId);
        writer.WriteInt(preset.pluginVersion);
        writer.WriteInt(preset.parameterCount);
        if (preset.isOpaque) {
            writer.WriteText(preset.programName, ProgramNameSize);
            writer.WriteInt(static_cast<VstInt32>(preset.chunk.size()));
            writer.WriteBytes(preset.chunk);
        } else {
            const PresetFile::Program& program = preset.programs.at(0);
            writer.WriteText(program.name, ProgramNameSize);
            for (float value : program.values)
                writer.WriteFloat(value);
        }
        writer.EndRecord(record);
        return writer.bytes;
    }

    writer.WriteInt(preset.isOpaque ? OpaqueBankMagic : PlainBankMagic);
    writer.WriteInt(2);
    writer.WriteInt(preset.pluginId);
    writer.WriteInt(preset.pluginVersion);
    writer.WriteInt(preset.programCount);
    writer.WriteInt(preset.currentProgram);
    writer.bytes.append(BankReservedSize, '\0');
    if (preset.isOpaque) {
        writer.WriteInt(static_cast<VstInt32>(preset.chunk.size()));
        writer.WriteBytes(preset.chunk);
    } else {
        for (const PresetFile::Program& program : preset.programs) {
            PresetFile single;
            single.isOpaque = false;
            single.pluginId = preset.pluginId;
            single.pluginVersion = preset.pluginVersion;
            single.parameterCount = static_cast<VstInt32>(program.values.size());
            single.programs.push_back(program);
            writer.bytes += SerializePresetFile(single);
        }
    }
    writer.EndRecord(record);
    return writer.bytes;
}

bool LoadPresetFile(const std::string& path, PluginHost& host, std::string& error)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    PresetFile preset;
    if (!ParsePresetFile(bytes, preset, error)) {
        error = "cannot use preset " + path + ": " + error;
        return false;
    }
    const std::string problem = "cannot use preset " + path + ": ";
    if (preset.pluginId != host.GetUniqueId()) {
        error = problem + "it was made for the plug-in " + FourCharacterText(preset.pluginId) + ", not "
            + FourCharacterText(host.GetUniqueId());
        return false;
    }
    if (preset.isOpaque) {
        if (!host.HasProgramChunks()) {
            error = problem + "it holds a chunk, and the plug-in does not take chunks";
            return false;
        }
        if (!host.SetChunk(preset.chunk, !preset.isBank)) {
            error = problem + "the plug-in refused its chunk";
            return false;
        }
        if (preset.isBank && preset.currentProgram >= 0 && preset.currentProgram < host.GetProgramCount())
            host.SetProgram(preset.currentProgram);
        return true;
    }

    if (preset.parameterCount != host.GetParameterCount()) {
        error = problem + "it holds " + std::to_string(preset.parameterCount) + " parameters, the plug-in has "
            + std::to_string(host.GetParameterCount());
        return false;
    }
    if (!preset.isBank) {
        ApplyPlainProgram(preset.programs.at(0), host);
        return true;
    }
    if (preset.programCount > host.GetProgramCount()) {
        error = problem + "it holds " + std::to_string(preset.programCount) + " programs, the plug-in has "
            + std::to_string(host.GetProgramCount());
        return false;
    }
    for (VstInt32 i = 0; i < preset.programCount; ++i) {
        host.SetProgram(i);
        ApplyPlainProgram(preset.programs[static_cast<std::size_t>(i)], host);
    }
    host.SetProgram(
        preset.currentProgram >= 0 && preset.currentProgram < preset.programCount ? preset.currentProgram : 0);
    return true;
}

bool CapturePreset(PluginHost& host, bool isBank, PresetFile& preset, std::string& error)
{
    preset = PresetFile {};
    preset.isBank = isBank;
    preset.isOpaque = host.HasProgramChunks();
    preset.pluginId = host.GetUniqueId();
    preset.pluginVersion = host.GetVersion();
    preset.parameterCount = host.GetParameterCount();
    preset.programCount = host.GetProgramCount();
    preset.currentProgram = host.GetProgram();
    preset.programName = host.GetCurrentProgramName();
    if (preset.isOpaque) {
        preset.chunk = host.GetChunk(!isBank);
        if (preset.chunk.empty()) {
            error = "the plug-in handed out no chunk to save";
            return false;
        }
        return true;
    }
    if (!isBank) {
        preset.programs.push_back(CapturePlainProgram(host));
        return true;
    }
    const VstInt32 current = preset.currentProgram;
    for (VstInt32 i = 0; i < preset.programCount; ++i) {
        host.SetProgram(i);
        preset.programs.push_back(CapturePlainProgram(host));
    }
    host.SetProgram(current);
    return true;
}
