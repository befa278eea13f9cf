// ombrix-host [options] [PLUGIN]: loads a VST 2.4 plug-in through its entry point and opens
// its editor in a window, the way a sequencer does; optionally runs silent audio through it and
// saves the editor as a PNG image. See HostUsage() for the options.

#include "EditorWindow.h"
#include "HostOptions.h"
#include "PluginHost.h"
#include "SilentAudioStream.h"

#include <cstdio>
#include <string>

namespace {
constexpr double SampleRate = 44100.0;
constexpr int BlockSize = 512;
// The editor receives its parameter values at its first idle call and repaints after it; a few
// more calls leave time for every control to draw itself before the picture is taken.
constexpr int ScreenshotIdleCount = 5;
// A control shows its status after the pointer has rested on it for 100 ms: wait longer.
constexpr int PointedScreenshotIdleCount = 12;
#if defined(_WIN32)
constexpr char DefaultPlugin[] = "OmbrixChorus.dll";
#else
constexpr char DefaultPlugin[] = "OmbrixChorus.so";
#endif

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ombrix-host: %s\n", message.c_str());
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
#if defined(_WIN32)
    DeclareDpiAwareness();
#endif
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "ombrix-host: %s\n%s", error.c_str(), HostUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(HostUsage(), stdout);
        return 0;
    }
    const std::string pluginPath = options.pluginPath.empty() ? ExecutableFolder() + DefaultPlugin : options.pluginPath;

    PluginHost host;
    if (!host.Load(pluginPath, error))
        return Fail(error);
    if ((host.GetFlags() & effFlagsHasEditor) == 0)
        return Fail(pluginPath + " has no editor: its effect record does not set effFlagsHasEditor");
    if (options.program >= host.GetProgramCount())
        return Fail("program " + std::to_string(options.program) + " does not exist: the plug-in has "
            + std::to_string(host.GetProgramCount()) + " programs, numbered from 0");

    host.SetSampleRate(SampleRate);
    host.SetBlockSize(BlockSize);
    if (options.program >= 0)
        host.SetProgram(options.program);
    host.Resume();

    SilentAudioStream audio(host, SampleRate, BlockSize);
    if (options.audio)
        audio.Start();

    EditorWindow window(host);
    const std::string title = host.GetEffectName() + " - " + host.GetCurrentProgramName();
    if (!window.Open(title, error)) {
        audio.Stop();
        return Fail(error);
    }
    if (options.point)
        window.PointAt(options.pointX, options.pointY);
    if (!options.screenshotPath.empty())
        window.ScreenshotAfter(
            options.point ? PointedScreenshotIdleCount : ScreenshotIdleCount, options.screenshotPath);
    const bool ran = window.Run(error);
    audio.Stop();
    if (!ran)
        return Fail(error);

    if (!options.screenshotPath.empty())
        std::printf("saved the %d x %d editor of %s (program %d, \"%s\") to %s\n", window.GetClientWidth(),
            window.GetClientHeight(), host.GetEffectName().c_str(), host.GetProgram(),
            host.GetCurrentProgramName().c_str(), options.screenshotPath.c_str());
    if (options.audio)
        std::printf("processed %lld blocks of %d frames of silence\n", static_cast<long long>(audio.GetBlockCount()),
            BlockSize);
    return 0;
}
