#include "HostOptions.h"

#include "ParseInteger.h"

#include <cstring>

namespace {
bool ParsePoint(const std::string& text, int& x, int& y)
{
    const std::string::size_type comma = text.find(',');
    int parsedX = 0;
    int parsedY = 0;
    if (comma == std::string::npos || !ParseInteger(text.substr(0, comma), 0, 32767, parsedX)
        || !ParseInteger(text.substr(comma + 1), 0, 32767, parsedY))
        return false;
    x = parsedX;
    y = parsedY;
    return true;
}
} // namespace

const char* HostUsage()
{
#if defined(_WIN32)
    return "usage: ombrix-host [options] [PLUGIN.dll]\n"
           "Opens the plug-in's editor in a window, as a sequencer does, at the display's\n"
           "resolution (under Wine, the prefix's LogPixels).\n"
           "PLUGIN.dll defaults to OmbrixChorus.dll next to ombrix-host.exe.\n"
#else
    return "usage: ombrix-host [options] [PLUGIN.so]\n"
           "Opens the plug-in's editor in an X11 window, as a sequencer does, at the desktop's\n"
           "scale (GDK_SCALE, else the X resource Xft.dpi).\n"
           "PLUGIN.so defaults to OmbrixChorus.so next to ombrix-host.\n"
#endif
           "  --program N        select program N (0-based) before opening the editor\n"
           "  --audio            run a silent audio stream through the plug-in in real time\n"
           "  --point X,Y        rest the mouse pointer on pixel X,Y of the editor (as shown) once it is open\n"
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
            if (!hasValue || !ParseInteger(argv[i + 1], 0, 0x7FFFFFFF, options.program)) {
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
