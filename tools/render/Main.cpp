// ombrix-render: runs sound files (or a built-in demo phrase) through an effect plug-in, VST 2.4 or CLAP.

#include "AudioFile.h"
#include "AudioSource.h"
#include "CommandLine.h"
#include "DemoPhrase.h"
#include "EffectLibrary.h"
#include "MidiEvents.h"
#include "ParseInteger.h"
#include "PluginHost.h"
#include "PresetFile.h"
#include "ProgressDisplay.h"
#include "RenderJobs.h"
#include "RenderPipeline.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
// Lock-free, so that the signal handler may set it; every render checks it between blocks.
std::atomic<bool> interrupted {false};

void OnInterrupt(int)
{
    interrupted = true;
}

void ReportError(const std::string& message)
{
    std::fprintf(stderr, "ombrix-render: %s\n", message.c_str());
}

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

/// An index below `count` written in digits alone (no sign, no spaces).
bool ParseIndex(const std::string& text, VstInt32 count, VstInt32& index)
{
    return text.find_first_not_of("0123456789") == std::string::npos && ParseInteger(text, 0, count - 1, index);
}

/// A program by its exact name, else by its number.
bool FindProgram(const EffectInstance& host, const std::string& text, VstInt32& program, std::string& error)
{
    for (VstInt32 i = 0; i < host.GetProgramCount(); ++i) {
        if (host.GetProgramName(i) == text) {
            program = i;
            return true;
        }
    }
    if (ParseIndex(text, host.GetProgramCount(), program))
        return true;
    error = "unknown program \"" + text + "\" (the plug-in has " + std::to_string(host.GetProgramCount())
        + " programs; --list shows them)";
    return false;
}

/// A parameter by its exact short name, else its exact long name, else its index.
bool FindParameter(const EffectInstance& host, const std::string& text, VstInt32& index, std::string& error)
{
    for (VstInt32 i = 0; i < host.GetParameterCount(); ++i) {
        if (host.GetParameterName(i) == text) {
            index = i;
            return true;
        }
    }
    for (VstInt32 i = 0; i < host.GetParameterCount(); ++i) {
        if (host.GetParameterLongName(i) == text) {
            index = i;
            return true;
        }
    }
    if (ParseIndex(text, host.GetParameterCount(), index))
        return true;
    error = "unknown parameter \"" + text + "\" (--list shows the plug-in's parameters)";
    return false;
}

/// The VST 2.4 instance behind `host`, for what only that format has (.fxp and .fxb presets);
/// null with the reason in `error` for another format.
PluginHost* VstInstance(EffectInstance& host, const std::string& option, std::string& error)
{
    auto* vst = dynamic_cast<PluginHost*>(&host);
    if (vst == nullptr)
        error = option
            + ": .fxp and .fxb presets are for VST 2.4 plug-ins; a CLAP plug-in keeps its programs in "
              "its state (choose one with --program)";
    return vst;
}

bool ApplySound(const RenderOptions& options, EffectInstance& host, std::string& error)
{
    if (!options.presetPath.empty()) {
        PluginHost* vst = VstInstance(host, "--preset", error);
        if (vst == nullptr || !LoadPresetFile(options.presetPath, *vst, error))
            return false;
    }
    if (!options.program.empty()) {
        VstInt32 program = 0;
        if (!FindProgram(host, options.program, program, error))
            return false;
        host.SetProgram(program);
    }
    for (const auto& setting : options.parameters) {
        VstInt32 index = 0;
        if (!FindParameter(host, setting.parameter, index, error))
            return false;
        if (setting.displayText.empty()) {
            host.SetParameter(index, setting.value);
        } else if (!host.SetParameterText(index, setting.displayText)) {
            error = "the plug-in does not read \"" + setting.displayText + "\" as a value of " + setting.parameter;
            return false;
        }
    }
    return true;
}

bool ScheduleControlChanges(
    const RenderOptions& options, const AudioSource& source, std::vector<ScheduledEvent>& events, std::string& error)
{
    const double rate = source.GetSampleRate();
    for (const auto& change : options.controlChanges) {
        ScheduledEvent scheduled;
        scheduled.frame = std::llround(change.seconds * rate);
        if (scheduled.frame >= source.GetFrameCount()) {
            char message[160];
            std::snprintf(message, sizeof message, "--cc %d=%d@%g: the audio ends at %.3f s", change.controller,
                change.value, change.seconds, static_cast<double>(source.GetFrameCount()) / rate);
            error = message;
            return false;
        }
        scheduled.event = MakeControlChange(0, change.controller, change.value);
        events.push_back(scheduled);
    }
    // Equal times keep their command-line order.
    std::stable_sort(events.begin(), events.end(),
        [](const ScheduledEvent& a, const ScheduledEvent& b) { return a.frame < b.frame; });
    return true;
}

int ChooseOutputFormat(const RenderOptions& options, const FileSource* input, const std::string& outputPath)
{
    int major = options.format;
    if (major == 0)
        major = input != nullptr ? (input->GetFormat() & SF_FORMAT_TYPEMASK) : MajorFormatFromExtension(outputPath);
    if (major == 0)
        major = SF_FORMAT_WAV;
    if (options.subtype != 0)
        return major | options.subtype;
    if (input != nullptr) {
        SF_INFO check {};
        check.format = major | (input->GetFormat() & SF_FORMAT_SUBMASK);
        check.channels = 2;
        check.samplerate = input->GetSampleRate();
        if (sf_format_check(&check))
            return check.format;
    }
    return major | DefaultSubtype(major);
}

std::string PeakText(float peak)
{
    if (!(peak > 0.0f))
        return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
    return text;
}

/// What the render's closing line says about the tail.
std::string TailText(const RenderResult& result, int sampleRate)
{
    char text[96];
    std::snprintf(text, sizeof text, "tail %.2f s", static_cast<double>(result.tailFrames) / sampleRate);
    return result.tailCutShort ? text + std::string(", still sounding at the limit; --tail sets a longer one") : text;
}

/// The warning for samples clipped by an output format that cannot hold them, with the two ways
/// out: a float format, or a gain that brings the peak below full scale with at least half a
/// decibel to spare.
std::string ClippingWarning(
    const RenderOptions& options, const RenderResult& result, int format, const std::string& outputPath)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    const bool floatPossible = major == SF_FORMAT_WAV || major == SF_FORMAT_AIFF;
    std::string warning = "ombrix-render: " + outputPath + ": " + std::to_string(result.samplesBeyondFullScale)
        + " samples beyond full scale were clipped (peak " + PeakText(result.peak) + "); keep them with "
        + (floatPossible ? "--subtype float" : "--format wav --subtype float");
    const double peakDb = 20.0 * std::log10(static_cast<double>(result.peak));
    if (!std::isfinite(peakDb))
        return warning;
    char gain[32];
    std::snprintf(gain, sizeof gain, "%g", options.gainDb - std::ceil(peakDb + 0.5));
    return warning + " or lower the level with --gain " + gain;
}

/// Checks that the effect in `host` is stereo and gives it the tempo and the sound the options
/// ask for: preset, program, parameters.
bool PrepareSound(const RenderOptions& options, EffectInstance& host, const std::string& pluginPath, std::string& error)
{
    if (host.GetInputCount() < 2 || host.GetOutputCount() < 2) {
        error = pluginPath + " has no stereo " + (host.GetInputCount() < 2 ? "input" : "output") + " ("
            + std::to_string(host.GetInputCount()) + " inputs, " + std::to_string(host.GetOutputCount()) + " outputs)";
        return false;
    }
    host.SetTempo(options.tempo);
    return ApplySound(options, host, error);
}

/// Renders one job with an effect instance of its own from `library`. On success answers the
/// lines that report it; on failure answers false with the reason, and no output file is left.
bool RenderJobFile(const RenderOptions& options, const EffectLibrary& library, const RenderJob& job,
    ProgressDisplay& display, std::string& report, std::string& error)
{
    std::unique_ptr<AudioSource> source;
    FileSource* input = nullptr;
    if (job.inputPath.empty())
        source = std::make_unique<DemoPhrase>();
    else {
        auto file = std::make_unique<FileSource>();
        if (!file->Open(job.inputPath, ChunkFrames(options.blockSize), error))
            return false;
        input = file.get();
        source = std::move(file);
    }

    const std::unique_ptr<EffectInstance> instance = library.Open(error);
    if (instance == nullptr)
        return false;
    EffectInstance& host = *instance;
    if (options.verbose) {
        host.SetAutomationListener([&host, &display](VstInt32 index, float value) {
            char line[128];
            std::snprintf(line, sizeof line, "automation: parameter %d = %g in the block at sample %.0f", index,
                static_cast<double>(value), host.GetSamplePosition());
            display.Print(line);
        });
    }
    // The sound is chosen before the sample rate is sent, as a host restores a saved state right
    // after opening a plug-in: effects reset on a new rate, so the render starts on the chosen
    // settings instead of gliding towards them from the plug-in's start-up program.
    if (!PrepareSound(options, host, library.GetPath(), error))
        return false;
    host.SetSampleRate(source->GetSampleRate());
    host.SetBlockSize(options.blockSize);
    std::vector<ScheduledEvent> events;
    if (!ScheduleControlChanges(options, *source, events, error))
        return false;

    AudioFileWriter writer;
    const int format = ChooseOutputFormat(options, input, job.outputPath);
    if (!writer.Create(job.outputPath, format, source->GetSampleRate(), 2, error))
        return false;
    RenderResult result;
    const auto start = std::chrono::steady_clock::now();
    {
        FileProgress progress(display, source->GetFrameCount());
        if (!RenderAudio(options, *source, events, host, writer, format, progress, interrupted, result, error))
            return false;
    }
    if (!writer.Commit(error))
        return false;
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double audioSeconds = static_cast<double>(result.frames) / source->GetSampleRate();

    report.clear();
    if (options.verbose)
        report += "automation calls: " + std::to_string(host.GetAutomationCount()) + "\n";
    if (result.samplesBeyondFullScale > 0 && !KeepsSamplesBeyondFullScale(format))
        report += ClippingWarning(options, result, format, job.outputPath) + "\n";
    char line[512];
    std::snprintf(line, sizeof line, "Rendered %.2f s of audio to %s (%s) in %.2f s (%.1fx realtime), peak %s",
        audioSeconds, job.outputPath.c_str(), TailText(result, source->GetSampleRate()).c_str(), wallSeconds,
        wallSeconds > 0.0 ? audioSeconds / wallSeconds : 0.0, PeakText(result.peak).c_str());
    report += line;
    return true;
}

int Run(const RenderOptions& options)
{
    std::string error;
    const bool batch = !options.outputFolder.empty();
    if (options.outputPath.empty() && !batch && options.savePresetPath.empty() && !options.list) {
        ReportError("nothing to do: give an output file with -o (see --help)");
        return 2;
    }
    const bool savesBank = EndsWith(options.savePresetPath, ".fxb");
    if (!options.savePresetPath.empty() && !savesBank && !EndsWith(options.savePresetPath, ".fxp")) {
        ReportError("--save-preset " + options.savePresetPath + ": the file name must end in .fxp or .fxb");
        return 2;
    }
    std::vector<RenderJob> jobs;
    if (batch && !PlanBatch(options.inputPaths, options.outputFolder, options.format, jobs, error)) {
        ReportError(error);
        return 2;
    }
    if (!batch && !options.outputPath.empty())
        jobs.push_back({options.inputPaths.empty() ? std::string() : options.inputPaths[0], options.outputPath});

    // The library is loaded once; every file gets an instance of its own, as every track of a
    // host does.
    const std::string pluginPath
        = options.pluginPath.empty() ? ExecutableFolder() + "OmbrixChorus.so" : options.pluginPath;
    EffectLibrary library;
    if (!library.Load(pluginPath, error)) {
        ReportError(error);
        return 1;
    }
    // Everything that can be refused about the sound is checked once, on an instance that renders
    // nothing, before the first file is written.
    PresetFile preset;
    {
        const std::unique_ptr<EffectInstance> instance = library.Open(error);
        if (instance == nullptr || !PrepareSound(options, *instance, pluginPath, error)) {
            ReportError(error);
            return 1;
        }
        EffectInstance& sound = *instance;
        if (options.verbose)
            std::fprintf(stderr, "plug-in: %s by %s, %s\n", sound.GetEffectName().c_str(),
                sound.GetVendorString().c_str(), sound.GetIdText().c_str());
        if (options.list)
            sound.PrintListing();
        if (!options.savePresetPath.empty()) {
            PluginHost* vst = VstInstance(sound, "--save-preset", error);
            if (vst == nullptr || !CapturePreset(*vst, savesBank, preset, error)) {
                ReportError(error);
                return 1;
            }
        }
    }
    if (batch && !MakeFolder(options.outputFolder, error)) {
        ReportError(error);
        return 1;
    }

    ProgressDisplay display(jobs.size());
    std::atomic<std::size_t> rendered {0};
    std::atomic<std::size_t> notStarted {0};
    const auto start = std::chrono::steady_clock::now();
    const int threads = options.jobs > 0 ? options.jobs : static_cast<int>(std::thread::hardware_concurrency());
    RunOnThreads(jobs.size(), threads, [&](std::size_t i) {
        if (interrupted) {
            ++notStarted;
            return;
        }
        std::string report;
        std::string reason;
        if (RenderJobFile(options, library, jobs[i], display, report, reason)) {
            display.Print(report);
            ++rendered;
        } else {
            display.Print("ombrix-render: " + (batch ? jobs[i].inputPath + ": " : std::string()) + reason);
        }
    });
    display.Clear();
    if (notStarted > 0)
        ReportError("interrupted before " + std::to_string(notStarted.load()) + " of the files had started");
    if (batch) {
        const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "Rendered %zu of %zu files into %s in %.2f s\n", rendered.load(), jobs.size(),
            options.outputFolder.c_str(), wallSeconds);
    }
    if (rendered != jobs.size())
        return 1;

    if (!options.savePresetPath.empty()
        && !WriteFileAtomically(options.savePresetPath, SerializePresetFile(preset), error)) {
        ReportError(error);
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    RenderOptions options;
    std::string error;
    if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        ReportError(error + " (see --help)");
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText, stdout);
        return 0;
    }
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    return Run(options);
}
