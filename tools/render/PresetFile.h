#pragma once

#include "PluginHost.h"

#include <string>
#include <vector>

/// A VST preset file in memory: a program (.fxp) or a bank of programs (.fxb), each either in
/// the opaque-chunk form ('FPCh', 'FBCh': the plug-in's own chunk bytes) or the plain form
/// ('FxCk', 'FxBk': a name and normalised parameter values per program). On disk every number
/// is big-endian and every record starts with 'CcnK' and its byte size.
struct PresetFile {
    struct Program {
        std::string name;
        std::vector<float> values;
    };

    bool isBank = false;
    bool isOpaque = true;
    VstInt32 pluginId = 0;
    VstInt32 pluginVersion = 0;
    /// Parameters per program (programs file) and programs per bank, as the header states them.
    VstInt32 parameterCount = 0;
    VstInt32 programCount = 0;
    /// The bank's current program (bank format version 2), or -1.
    VstInt32 currentProgram = -1;
    /// The program's name in an opaque program file.
    std::string programName;
    std::vector<char> chunk;
    /// The plain forms' programs: one for a program file, `programCount` for a bank.
    std::vector<Program> programs;
};

/// Decodes a whole preset file; on failure answers false with the reason in `error`.
bool ParsePresetFile(const std::string& bytes, PresetFile& preset, std::string& error);
std::string SerializePresetFile(const PresetFile& preset);

/// Reads a preset file and loads it into the plug-in, checking that it is made for it.
bool LoadPresetFile(const std::string& path, PluginHost& host, std::string& error);
/// The plug-in's current program (isBank false) or its whole bank, in the opaque forms when the
/// plug-in keeps its programs as chunks and in the plain forms otherwise.
bool CapturePreset(PluginHost& host, bool isBank, PresetFile& preset, std::string& error);
