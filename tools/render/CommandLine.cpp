#include "CommandLine.h"

#include "AudioFile.h"
#include "ParseInteger.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* const UsageText
    = "Usage: ombrix-render [OPTIONS] [INPUT] -o OUTPUT\n"
      "       ombrix-render [OPTIONS] INPUT... --output-dir FOLDER\n"
      "Runs audio files through an effect plug-in (VST 2.4 or CLAP) and writes the results.\n"
      "Without INPUT a built-in phrase of plucked notes (stereo, 44100 Hz) is rendered.\n"
      "\n"
      "Input and output:\n"
      "  INPUT                  WAV, AIFF, FLAC or Ogg file, mono or stereo\n"
      "  -o, --output FILE      file to write (stereo); written only when the render succeeds\n"
      "  --output-dir FOLDER    write each INPUT into FOLDER (made if missing) under its own name,\n"
      "                         each with a plug-in instance of its own\n"
      "  -j, --jobs N           render up to N files at once (default: one per processor core)\n"
      "  --format FORMAT        wav, aiff, flac or ogg (default: as the input)\n"
      "  --subtype TYPE         pcm16, pcm24, pcm32, float, double or vorbis (default: as the input)\n"
      "  --tail SECONDS         keep rendering this long after the input ends; 0 stops with the input\n"
      "                         (default: until the output stays below -90 dBFS for 0.1 s, at most 30 s)\n"
      "  --gain DB              scale the plug-in's output by DB decibels (default 0); integer and\n"
      "                         Vorbis files clip samples beyond full scale, and say how many\n"
      "  --block N              samples per processing block (default 512)\n"
      "  --tempo BPM            tempo reported to the plug-in (default 120)\n"
      "\n"
      "Plug-in and sound, applied in this order: preset, program, parameters:\n"
      "  --plugin PATH          the plug-in: a VST 2.4 library, or a CLAP plug-in (a .clap file)\n"
      "                         (default: OmbrixChorus.so beside this program)\n"
      "  --preset FILE          load a .fxp program or .fxb bank\n"
      "  --program N|NAME       select a program by number or by its exact name\n"
      "  --param NAME=VALUE     set a parameter (short or long name, or index) to a normalised value\n"
      "                         in [0, 1], or to a display text the plug-in reads (\"Delay Time=12 ms\")\n"
      "  --cc NUMBER=VALUE@SECONDS\n"
      "                         send MIDI control change NUMBER with data VALUE (0 to 127) at that time\n"
      "  --save-preset FILE     save the current program (.fxp) or the bank (.fxb)\n"
      "\n"
      "Information:\n"
      "  --list                 show the plug-in's identity, programs and parameters\n"
      "  -v, --verbose          report the plug-in's automation calls\n"
      "  -h, --help             show this help\n";

namespace {
bool ParseNumber(const std::string& text, double& result)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value))
        return false;
    result = value;
    return true;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// Whether the whole text reads as a number, finite or not.
bool IsNumber(const std::string& text)
{
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

/// A bare number is a normalised value, as it always was; any other value is a display text
/// that the plug-in itself reads ("12 ms", "Off").
bool ParseParameterSetting(const std::string& text, RenderOptions& options, std::string& error)
{
    // Names may contain '=' only in theory; the value never does, so the last one separates.
    const auto equals = text.rfind('=');
    const std::string name = Trimmed(text.substr(0, equals));
    const std::string valueText = equals == std::string::npos ? std::string() : Trimmed(text.substr(equals + 1));
    if (equals == std::string::npos || name.empty() || valueText.empty()) {
        error = "--param " + text + ": expected NAME=VALUE with a normalised number or a display text as the value";
        return false;
    }
    if (!IsNumber(valueText)) {
        options.parameters.push_back({name, 0.0f, valueText});
        return true;
    }
    double value = 0.0;
    if (!ParseNumber(valueText, value)) {
        error = "--param " + text + ": expected NAME=VALUE with a finite number as the value";
        return false;
    }
    if (value < 0.0 || value > 1.0) {
        error = "--param " + text + ": the value must lie in [0, 1] (a bare number is normalised; a display value"
            + " takes its unit, as in \"Delay Time=12 ms\")";
        return false;
    }
    options.parameters.push_back({name, static_cast<float>(value), std::string()});
    return true;
}

bool ParseControlChange(const std::string& text, RenderOptions& options, std::string& error)
{
    const auto equals = text.find('=');
    const auto at = text.find('@');
    RenderOptions::ControlChange change;
    if (equals == std::string::npos || at == std::string::npos || at < equals
        || !ParseInteger(text.substr(0, equals), 0, 127, change.controller)
        || !ParseInteger(text.substr(equals + 1, at - equals - 1), 0, 127, change.value)
        || !ParseNumber(text.substr(at + 1), change.seconds) || change.seconds < 0.0) {
        error = "--cc " + text + ": expected NUMBER=VALUE@SECONDS with NUMBER and VALUE in 0..127 and SECONDS >= 0";
        return false;
    }
    options.controlChanges.push_back(change);
    return true;
}

bool ApplyOption(const std::string& name, const std::string& value, RenderOptions& options, std::string& error)
{
    if (name == "-o" || name == "--output")
        options.outputPath = value;
    else if (name == "--output-dir")
        options.outputFolder = value;
    else if (name == "--plugin")
        options.pluginPath = value;
    else if (name == "--preset")
        options.presetPath = value;
    else if (name == "--save-preset")
        options.savePresetPath = value;
    else if (name == "--program")
        options.program = value;
    else if (name == "--param")
        return ParseParameterSetting(value, options, error);
    else if (name == "--cc")
        return ParseControlChange(value, options, error);
    else if (name == "--block") {
        if (!ParseInteger(value, 1, 1 << 20, options.blockSize)) {
            error = "--block " + value + ": expected a whole number of samples from 1 to 1048576";
            return false;
        }
    } else if (name == "--tempo") {
        if (!ParseNumber(value, options.tempo) || options.tempo <= 0.0) {
            error = "--tempo " + value + ": expected a positive number of beats per minute";
            return false;
        }
    } else if (name == "-j" || name == "--jobs") {
        if (!ParseInteger(value, 1, 1024, options.jobs)) {
            error = name + " " + value + ": expected a whole number of files from 1 to 1024";
            return false;
        }
    } else if (name == "--tail") {
        if (!ParseNumber(value, options.tailSeconds) || options.tailSeconds < 0.0 || options.tailSeconds > 3600.0) {
            error = "--tail " + value + ": expected a number of seconds from 0 to 3600";
            return false;
        }
    } else if (name == "--gain") {
        if (!ParseNumber(value, options.gainDb) || std::fabs(options.gainDb) > 100.0) {
            error = "--gain " + value + ": expected a number of decibels from -100 to 100";
            return false;
        }
    } else if (name == "--format") {
        options.format = MajorFormatFromName(value);
        if (options.format == 0) {
            error = "--format " + value + ": expected wav, aiff, flac or ogg";
            return false;
        }
    } else if (name == "--subtype") {
        options.subtype = SubtypeFromName(value);
        if (options.subtype == 0) {
            error = "--subtype " + value + ": expected pcm16, pcm24, pcm32, float, double or vorbis";
            return false;
        }
    }
    return true;
}

/// One output file for at most one input, or a folder for the inputs.
bool CheckOutputs(const RenderOptions& options, std::string& error)
{
    if (!options.outputFolder.empty() && !options.outputPath.empty()) {
        error = "-o names one output file and --output-dir a folder for them: give one of the two";
        return false;
    }
    if (!options.outputFolder.empty() && options.inputPaths.empty()) {
        error = "--output-dir needs the input files to render into it";
        return false;
    }
    if (options.inputPaths.size() > 1 && options.outputFolder.empty()) {
        error = std::to_string(options.inputPaths.size()) + " input files need --output-dir FOLDER to be written into";
        return false;
    }
    return true;
}

bool TakesValue(const std::string& name)
{
    static const char* const names[]
        = {"-o", "--output", "--plugin", "--preset", "--save-preset", "--program", "--param", "--cc", "--block",
            "--tempo", "--format", "--subtype", "--output-dir", "-j", "--jobs", "--tail", "--gain"};
    for (const char* candidate : names)
        if (name == candidate)
            return true;
    return false;
}
} // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, RenderOptions& options, std::string& error)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-') {
            options.inputPaths.push_back(argument);
            continue;
        }
        if (argument == "--")
            optionsEnded = true;
        else if (argument == "-h" || argument == "--help")
            options.help = true;
        else if (argument == "--list")
            options.list = true;
        else if (argument == "-v" || argument == "--verbose")
            options.verbose = true;
        else {
            std::string name = argument;
            std::string value;
            const auto equals = argument.find('=');
            const bool inlineValue = argument.compare(0, 2, "--") == 0 && equals != std::string::npos;
            if (inlineValue) {
                name = argument.substr(0, equals);
                value = argument.substr(equals + 1);
            }
            if (!TakesValue(name)) {
                error = "unknown option " + name;
                return false;
            }
            if (!inlineValue) {
                if (i + 1 == arguments.size()) {
                    error = "option " + name + " needs a value";
                    return false;
                }
                value = arguments[++i];
            }
            if (!ApplyOption(name, value, options, error))
                return false;
        }
    }
    return options.help || CheckOutputs(options, error);
}
