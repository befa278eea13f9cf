#pragma once

#include <string>
#include <vector>

/// What one run of ombrix-render is asked to do, as read from its command line.
struct RenderOptions {
    struct ParameterSetting {
        std::string parameter; ///< host parameter name (short or long) or index
        float value = 0.0f; ///< normalised, checked to lie in [0, 1]; unless displayText is set
        std::string displayText; ///< a value for the plug-in to read in its own text form ("12 ms")
    };

    struct ControlChange {
        int controller = 0; ///< 0 to 127
        int value = 0; ///< data byte, 0 to 127
        double seconds = 0.0;
    };

    std::vector<std::string> inputPaths; ///< none: the built-in demo phrase
    std::string outputPath; ///< the one output file; empty: see outputFolder
    std::string outputFolder; ///< where each input is written under its own name; empty: see outputPath
    std::string pluginPath; ///< empty: OmbrixChorus.so beside the executable
    std::string presetPath;
    std::string savePresetPath;
    std::string program; ///< name or number; empty: keep the plug-in's
    std::vector<ParameterSetting> parameters;
    std::vector<ControlChange> controlChanges;
    int blockSize = 512;
    double tempo = 120.0;
    int format = 0; ///< libsndfile major format; 0: follow the input
    int subtype = 0; ///< libsndfile subtype; 0: follow the input
    double tailSeconds = -1.0; ///< after the input; negative: until the output is quiet
    double gainDb = 0.0; ///< applied to the plug-in's output
    int jobs = 0; ///< files rendered at once; 0: one per processor core
    bool list = false;
    bool verbose = false;
    bool help = false;
};

/// Reads the arguments after the program name; on a mistake answers false with the reason.
bool ParseCommandLine(const std::vector<std::string>& arguments, RenderOptions& options, std::string& error);

extern const char* const UsageText;
