#pragma once

#include <string>

/// What ombrix-host was asked to do, parsed from its command line.
struct HostOptions {
    /// The plug-in to load; empty means the chorus (OmbrixChorus.dll or .so) next to the executable.
    std::string pluginPath;
    /// Save the editor's client area as a PNG file here and exit; empty keeps the window open.
    std::string screenshotPath;
    /// The program selected before the editor opens; -1 leaves the plug-in's own choice.
    int program = -1;
    /// Run a silent audio stream through the plug-in while the editor is open.
    bool audio = false;
    /// Rest the mouse pointer on this point of the editor (client pixels) once it is open;
    /// `point` is false when no point was given.
    bool point = false;
    int pointX = 0;
    int pointY = 0;
    bool help = false;
};

/// The usage text, one option a line.
const char* HostUsage();

/// Parses argv[1..argc-1]. On a malformed command line answers false with a one-line reason
/// in `error`; `options` then holds what was parsed so far.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error);
