#include "HostOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
bool ParseProgram(const char* text, int& program)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < 0 || value > 0x7FFFFFFF)
        return false;
    program = static_cast<int>(value);
    return true;
}

bool ParsePoint(const char* text, int& x, int& y)
{
    char* end = nullptr;
    const long parsedX = std::strtol(text, &end, 10);
    if (end == text || *end != ',' || parsedX < 0 || parsedX > 32767)
        return false;
    const char* second = end + 1;
    const long parsedY = std::strtol(second, &end, 10);
    if (end == second || *end != '\0' || parsedY < 0 || parsedY > 32767)
        return false;
    x = static_cast<int>(parsedX);
    y = static_cast<int>(parsedY);
    return true;
}
} // namespace

const char* HostUsage()
{
    return "usage: ombrix-host [options] [PLUGIN.dll]\n"
           "Opens the plug-in's editor in a window, as a sequencer does.\n"
           "PLUGIN.dll defaults to OmbrixChorus.dll next to ombrix-host.exe.\n"
           "  --program N        select program N (0-based) before opening the editor\n"
           "  --audio            run a silent audio stream through the plug-in in real time\n"
           "  --point X,Y        rest the mouse pointer on pixel X,Y of the editor once it is open\n"
           "  --screenshot FILE  save the editor as a PNG image once it has drawn itself, then exit\n"
           "  --help             show this text\n";
}

bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            options.help = true;
        } else if (std::strcmp(argument, "--audio") == 0) {
            options.audio = true;
        } else if (std::strcmp(argument, "--screenshot") == 0) {
            if (!hasValue || argv[i + 1][0] == '\0') {
                error = "--screenshot needs a file name";
                return false;
            }
            options.screenshotPath = argv[++i];
        } else if (std::strcmp(argument, "--point") == 0) {
            if (!hasValue || !ParsePoint(argv[i + 1], options.pointX, options.pointY)) {
                error = "--point needs a position X,Y in editor pixels";
                return false;
            }
            options.point = true;
            ++i;
        } else if (std::strcmp(argument, "--program") == 0) {
            if (!hasValue || !ParseProgram(argv[i + 1], options.program)) {
                error = std::string("--program needs a program number (0 or more), not ")
                    + (hasValue ? "\"" + std::string(argv[i + 1]) + "\"" : "nothing");
                return false;
            }
            ++i;
        } else if (argument[0] == '-' && argument[1] != '\0') {
            error = std::string("unknown option ") + argument;
            return false;
        } else if (!options.pluginPath.empty()) {
            error = std::string("one plug-in at a time: ") + argument + " follows " + options.pluginPath;
            return false;
        } else {
            options.pluginPath = argument;
        }
    }
    return true;
}
