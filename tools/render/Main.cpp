// ombrix-render: runs a sound file (or a built-in demo phrase) through a VST 2.4 effect plug-in.

#include "AudioFile.h"
#include "AudioSource.h"
#include "BlockQueue.h"
#include "CommandLine.h"
#include "DemoPhrase.h"
#include "MidiEvents.h"
#include "PluginHost.h"
#include "PluginListing.h"
#include "PresetFile.h"

#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int)
{
    interrupted = 1;
}

void ReportError(const std::string& message)
{
    std::fprintf(stderr, "ombrix-render: %s\n", message.c_str());
}

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool ParseIndex(const std::string& text, VstInt32 count, VstInt32& index)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    index = static_cast<VstInt32>(std::atol(text.c_str()));
    return index < count;
}

/// A program by its exact name, else by its number.
bool FindProgram(const PluginHost& host, const std::string& text, VstInt32& program, std::string& error)
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
bool FindParameter(const PluginHost& host, const std::string& text, VstInt32& index, std::string& error)
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

bool ApplySound(const RenderOptions& options, PluginHost& host, std::string& error)
{
    if (!options.presetPath.empty() && !LoadPresetFile(options.presetPath, host, error))
        return false;
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

/// A MIDI event at an absolute sample position of the render.
struct ScheduledEvent {
    std::int64_t frame = 0;
    VstMidiEvent event {};
};

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

int ChooseOutputFormat(const RenderOptions& options, const FileSource* input)
{
    int major = options.format;
    if (major == 0)
        major = input != nullptr ? (input->GetFormat() & SF_FORMAT_TYPEMASK)
                                 : MajorFormatFromExtension(options.outputPath);
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

/// A one-line progress bar redrawn on standard error, shown only when that is a terminal.
class ProgressBar {
public:
    explicit ProgressBar(std::int64_t totalFrames)
        : totalFrames(totalFrames)
        , shown(isatty(STDERR_FILENO) != 0)
    {
    }

    void Update(std::int64_t frames)
    {
        if (!shown || totalFrames <= 0)
            return;
        const int percent = static_cast<int>(100 * std::min(frames, totalFrames) / totalFrames);
        if (percent == lastPercent)
            return;
        lastPercent = percent;
        const int filled = percent * Width / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
            std::string(static_cast<std::size_t>(Width - filled), ' ').c_str(), percent);
        std::fflush(stderr);
    }

    void Clear()
    {
        if (shown && lastPercent >= 0)
            std::fprintf(stderr, "\r%s\r", std::string(Width + 8, ' ').c_str());
    }

private:
    static constexpr int Width = 40;
    std::int64_t totalFrames;
    bool shown;
    int lastPercent = -1;
};

/// What a finished render produced: its length in frames and its largest absolute sample.
struct RenderResult {
    std::int64_t frames = 0;
    float peak = 0.0f;
};

/// Consecutive blocks of a render on their way from the reader through the plug-in to the writer:
/// the input as read, block after block, and the plug-in's output in the same places. The frames
/// are cut into blocks as the block-by-block reads of a single thread would cut them: whole blocks,
/// then what a short read left.
struct AudioChunk {
    std::vector<float> inputLeft;
    std::vector<float> inputRight;
    std::vector<float> outputLeft;
    std::vector<float> outputRight;
    std::int64_t frames = 0;

    /// The frames of the block that starts at offset.
    std::int64_t BlockFrames(std::int64_t offset, int blockSize) const
    {
        return std::min<std::int64_t>(blockSize, frames - offset);
    }
};

using ChunkQueue = BlockQueue<std::unique_ptr<AudioChunk>>;

/// One chunk being read, one processed, one written.
constexpr std::size_t ChunkCount = 3;

/// The frames read, processed and written at once: whole blocks, about 8192 frames and at least one
/// block. Large reads and writes cost far fewer system calls than one per block.
std::int64_t ChunkFrames(int blockSize)
{
    return std::max(1, 8192 / blockSize) * static_cast<std::int64_t>(blockSize);
}

/// Reads chunks until the source ends or the render stops.
void ReadChunks(AudioSource& source, ChunkQueue& empty, ChunkQueue& full)
{
    std::unique_ptr<AudioChunk> chunk;
    while (empty.Pop(chunk)) {
        chunk->frames = source.Read(
            chunk->inputLeft.data(), chunk->inputRight.data(), static_cast<std::int64_t>(chunk->inputLeft.size()));
        if (chunk->frames <= 0)
            break;
        if (!full.Push(std::move(chunk)))
            break;
    }
    full.Close();
}

/// Whether files of this format hold the samples just as they are written, PCM or float in WAV or
/// AIFF, so that however the writes are cut the bytes are the same. An encoder (FLAC, Vorbis) may
/// make a different file from differently cut writes.
bool HoldsSamplesAsWritten(int format)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    const int subtype = format & SF_FORMAT_SUBMASK;
    const bool container = major == SF_FORMAT_WAV || major == SF_FORMAT_AIFF;
    const bool samples = subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24 || subtype == SF_FORMAT_PCM_32
        || subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
    return container && samples;
}

/// Interleaves two channels of frames samples and raises peak to their largest magnitude; NaN
/// counts for nothing. Four frames at a time where SSE2 is at hand: the writer has the most work of
/// the three threads.
void Interleave(const float* left, const float* right, std::size_t frames, float* interleaved, float& peak)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128 sign = _mm_set1_ps(-0.0f);
    // maxps answers its second operand when the first is NaN, so NaN never enters the maximum.
    __m128 largest = _mm_set1_ps(peak);
    for (; i + 4 <= frames; i += 4) {
        const __m128 l = _mm_loadu_ps(left + i);
        const __m128 r = _mm_loadu_ps(right + i);
        _mm_storeu_ps(interleaved + 2 * i, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(interleaved + 2 * i + 4, _mm_unpackhi_ps(l, r));
        largest = _mm_max_ps(_mm_andnot_ps(sign, l), largest);
        largest = _mm_max_ps(_mm_andnot_ps(sign, r), largest);
    }
    float lanes[4];
    _mm_storeu_ps(lanes, largest);
    peak = std::max({lanes[0], lanes[1], lanes[2], lanes[3]});
#endif
    for (; i < frames; ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
}

/// Writes the processed chunks in order and measures their peak: a whole chunk at once where the
/// format allows (one system call instead of one per block), otherwise one write per block, as a
/// single thread would write. On a failed write it stops the render: the queues are closed and the
/// reason is in error.
void WriteChunks(AudioFileWriter& writer, bool wholeChunks, int blockSize, ChunkQueue& processed, ChunkQueue& empty,
    float& peak, bool& failed, std::string& error)
{
    std::vector<float> interleaved;
    std::unique_ptr<AudioChunk> chunk;
    while (processed.Pop(chunk)) {
        const std::int64_t frames = chunk->frames;
        interleaved.resize(2 * static_cast<std::size_t>(frames));
        Interleave(chunk->outputLeft.data(), chunk->outputRight.data(), static_cast<std::size_t>(frames),
            interleaved.data(), peak);
        bool written = true;
        if (wholeChunks) {
            written = writer.Write(interleaved.data(), frames, error);
        } else {
            for (std::int64_t offset = 0; written && offset < frames; offset += blockSize)
                written = writer.Write(
                    &interleaved[2 * static_cast<std::size_t>(offset)], chunk->BlockFrames(offset, blockSize), error);
        }
        if (!written) {
            failed = true;
            processed.Close();
            empty.Close();
            return;
        }
        if (!empty.Push(std::move(chunk)))
            return;
    }
}

bool RenderAudio(const RenderOptions& options, AudioSource& source, const std::vector<ScheduledEvent>& events,
    PluginHost& host, AudioFileWriter& writer, int format, RenderResult& result, std::string& error)
{
    const auto blockSize = static_cast<std::size_t>(options.blockSize);
    ChunkQueue empty(ChunkCount), full(ChunkCount), processed(ChunkCount);
    for (std::size_t i = 0; i < ChunkCount; ++i) {
        auto chunk = std::make_unique<AudioChunk>();
        for (auto* channel : {&chunk->inputLeft, &chunk->inputRight, &chunk->outputLeft, &chunk->outputRight})
            channel->resize(static_cast<std::size_t>(ChunkFrames(options.blockSize)));
        empty.Push(std::move(chunk));
    }

    // Channels beyond the stereo pair are fed silence and their output is dropped.
    const auto inputCount = static_cast<std::size_t>(host.GetInputCount());
    const auto outputCount = static_cast<std::size_t>(host.GetOutputCount());
    std::vector<std::vector<float>> extraInputs(inputCount - 2, std::vector<float>(blockSize));
    std::vector<std::vector<float>> extraOutputs(outputCount - 2, std::vector<float>(blockSize));
    std::vector<float*> inputs(inputCount);
    std::vector<float*> outputs(outputCount);
    for (std::size_t j = 2; j < inputCount; ++j)
        inputs[j] = extraInputs[j - 2].data();
    for (std::size_t j = 2; j < outputCount; ++j)
        outputs[j] = extraOutputs[j - 2].data();
    std::vector<VstMidiEvent> blockEvents;
    std::size_t nextEvent = 0;
    ProgressBar progress(source.GetFrameCount());

    float peak = 0.0f;
    bool writeFailed = false;
    std::string writeError;
    std::thread reader(ReadChunks, std::ref(source), std::ref(empty), std::ref(full));
    std::thread writing(WriteChunks, std::ref(writer), HoldsSamplesAsWritten(format), options.blockSize,
        std::ref(processed), std::ref(empty), std::ref(peak), std::ref(writeFailed), std::ref(writeError));

    host.Resume();
    bool ok = true;
    std::unique_ptr<AudioChunk> chunk;
    while (ok && full.Pop(chunk)) {
        for (std::int64_t start = 0; start < chunk->frames; start += options.blockSize) {
            if (interrupted) {
                error = "interrupted";
                ok = false;
                break;
            }
            const std::int64_t frames = chunk->BlockFrames(start, options.blockSize);
            const auto offset = static_cast<std::size_t>(start);
            inputs[0] = &chunk->inputLeft[offset];
            inputs[1] = &chunk->inputRight[offset];
            outputs[0] = &chunk->outputLeft[offset];
            outputs[1] = &chunk->outputRight[offset];
            blockEvents.clear();
            for (; nextEvent < events.size() && events[nextEvent].frame < result.frames + frames; ++nextEvent) {
                blockEvents.push_back(events[nextEvent].event);
                blockEvents.back().deltaFrames = static_cast<VstInt32>(events[nextEvent].frame - result.frames);
            }
            for (float* channel : outputs)
                std::fill(channel, channel + blockSize, 0.0f);
            host.Process(inputs.data(), outputs.data(), static_cast<VstInt32>(frames), blockEvents.data(),
                static_cast<int>(blockEvents.size()));
            result.frames += frames;
            progress.Update(result.frames);
        }
        if (ok && !processed.Push(std::move(chunk)))
            break;
    }
    // The writer finishes what was processed; then the reader, if it is still going, is stopped.
    processed.Close();
    writing.join();
    empty.Close();
    full.Close();
    reader.join();
    host.Suspend();
    progress.Clear();
    result.peak = peak;
    if (ok && writeFailed) {
        error = writeError;
        ok = false;
    }
    return ok;
}

std::string PeakText(float peak)
{
    if (!(peak > 0.0f))
        return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
    return text;
}

int Run(const RenderOptions& options)
{
    std::string error;
    if (options.outputPath.empty() && options.savePresetPath.empty() && !options.list) {
        ReportError("nothing to do: give an output file with -o (see --help)");
        return 2;
    }
    const bool savesBank = EndsWith(options.savePresetPath, ".fxb");
    if (!options.savePresetPath.empty() && !savesBank && !EndsWith(options.savePresetPath, ".fxp")) {
        ReportError("--save-preset " + options.savePresetPath + ": the file name must end in .fxp or .fxb");
        return 2;
    }

    std::unique_ptr<AudioSource> source;
    FileSource* input = nullptr;
    if (options.inputPath.empty())
        source = std::make_unique<DemoPhrase>();
    else {
        auto file = std::make_unique<FileSource>();
        if (!file->Open(options.inputPath, ChunkFrames(options.blockSize), error)) {
            ReportError(error);
            return 1;
        }
        input = file.get();
        source = std::move(file);
    }

    const std::string pluginPath
        = options.pluginPath.empty() ? ExecutableFolder() + "OmbrixChorus.so" : options.pluginPath;
    PluginHost host;
    if (!host.Load(pluginPath, error)) {
        ReportError(error);
        return 1;
    }
    if (host.GetInputCount() < 2 || host.GetOutputCount() < 2) {
        ReportError(pluginPath + " has no stereo " + (host.GetInputCount() < 2 ? "input" : "output") + " ("
            + std::to_string(host.GetInputCount()) + " inputs, " + std::to_string(host.GetOutputCount()) + " outputs)");
        return 1;
    }
    host.SetTempo(options.tempo);
    if (options.verbose) {
        std::fprintf(stderr, "plug-in: %s by %s, %s\n", host.GetEffectName().c_str(), host.GetVendorString().c_str(),
            FourCharacterText(host.GetUniqueId()).c_str());
        host.SetAutomationListener([&host](VstInt32 index, float value) {
            std::fprintf(stderr, "automation: parameter %d = %g in the block at sample %.0f\n", index,
                static_cast<double>(value), host.GetSamplePosition());
        });
    }
    // The sound is chosen before the sample rate is sent, as a host restores a saved state right
    // after opening a plug-in: effects reset on a new rate, so the render starts on the chosen
    // settings instead of gliding towards them from the plug-in's start-up program.
    if (!ApplySound(options, host, error)) {
        ReportError(error);
        return 1;
    }
    host.SetSampleRate(source->GetSampleRate());
    host.SetBlockSize(options.blockSize);
    if (options.list)
        PrintListing(host);

    // Everything that can be refused is checked before the first file is written.
    PresetFile preset;
    if (!options.savePresetPath.empty() && !CapturePreset(host, savesBank, preset, error)) {
        ReportError(error);
        return 1;
    }
    std::vector<ScheduledEvent> events;
    if (!ScheduleControlChanges(options, *source, events, error)) {
        ReportError(error);
        return 1;
    }

    if (!options.outputPath.empty()) {
        AudioFileWriter writer;
        const int format = ChooseOutputFormat(options, input);
        if (!writer.Create(options.outputPath, format, source->GetSampleRate(), 2, error)) {
            ReportError(error);
            return 1;
        }
        RenderResult result;
        const auto start = std::chrono::steady_clock::now();
        if (!RenderAudio(options, *source, events, host, writer, format, result, error) || !writer.Commit(error)) {
            ReportError(error);
            return 1;
        }
        const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double audioSeconds = static_cast<double>(result.frames) / source->GetSampleRate();
        if (options.verbose)
            std::fprintf(stderr, "automation calls: %lld\n", static_cast<long long>(host.GetAutomationCount()));
        std::fprintf(stderr, "Rendered %.2f s of audio to %s in %.2f s (%.1fx realtime), peak %s\n", audioSeconds,
            options.outputPath.c_str(), wallSeconds, wallSeconds > 0.0 ? audioSeconds / wallSeconds : 0.0,
            PeakText(result.peak).c_str());
    }

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
