#pragma once

#include "PluginLibrary.h"

#include <string>
#include <vector>

/// One host parameter as a user meets it: its names, its texts at both ends of its range and at
/// its default, and the MIDI controllers that move it with the texts they set at a few data bytes.
struct ParameterFacts {
    std::string shortName;
    std::string longName;
    std::string label;
    bool isSwitch = false;
    std::string minimumText;
    std::string maximumText;
    std::string defaultText;
    std::vector<int> controllers;
    /// The texts after each of ControllerProbeValues arrives on the first controller.
    std::vector<std::string> controllerTexts;
};

/// One program of the bank: its name and every parameter's display text.
struct ProgramFacts {
    std::string name;
    std::vector<std::string> texts;
};

/// What a plug-in binary shows of itself, read through its entry point and nothing else.
struct PluginFacts {
    std::vector<ParameterFacts> parameters;
    std::vector<ProgramFacts> programs;
};

/// The MIDI data bytes whose effect on a mapped parameter is recorded.
inline constexpr int ControllerProbeValues[] = {0, 64, 127};

/// Reads the facts of the plug-in in `library`, each kind from an instance of its own, the way a
/// user would find them out:
/// - names, labels and the texts at 0 and 1 through the parameter calls;
/// - the defaults by handing the plug-in a program chunk whose values are all NaN, which it must
///   refuse value by value and replace with its defaults (where each value lies in the chunk is
///   found by moving one parameter at a time and seeing which four bytes change);
/// - the controller map by sending every controller number as a MIDI control change and
///   watching which parameter the plug-in reports as automated;
/// - each program's settings by selecting it and reading every parameter's text.
/// Answers false with a one-line reason in `error` when the plug-in cannot be read so (no
/// program chunks, a chunk it refuses, a default it does not restore).
/// Calls the plug-in from the calling thread only.
bool ReadPluginFacts(const PluginLibrary& library, PluginFacts& facts, std::string& error);
