#pragma once

#include "AudioFile.h"
#include "AudioSource.h"
#include "CommandLine.h"
#include "EffectInstance.h"
#include "ProgressDisplay.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

/// A MIDI event at an absolute sample position of the render.
struct ScheduledEvent {
    std::int64_t frame = 0;
    VstMidiEvent event {};
};

/// What a finished render produced.
struct RenderResult {
    std::int64_t frames = 0; ///< written, the tail included
    std::int64_t tailFrames = 0; ///< written after the input's end
    bool tailCutShort = false; ///< the automatic tail reached its limit while the output still sounded
    float peak = 0.0f; ///< the largest absolute sample written; NaN counts for nothing
    std::int64_t samplesBeyondFullScale = 0; ///< samples (of either channel) with an absolute value above 1
};

/// Whether files of this format keep samples beyond full scale: only float samples do; integer
/// PCM and Vorbis clip them.
bool KeepsSamplesBeyondFullScale(int format);

/// The most frames RenderAudio asks its source for at once, for a block size.
std::int64_t ChunkFrames(int blockSize);

/// Runs `source` through the effect `host` (resumed here, suspended at the end) in blocks of `options.blockSize`
/// frames, with `events` (sorted by frame) delivered at their frames, the output scaled by `options.gainDb`, then the
/// tail (`options.tailSeconds`, or until the output is quiet; see TailWatch), and writes every frame to `writer` in
/// `format`. Reads, processing and writes run on three threads; the calling thread processes. Stops with the reason
/// "interrupted" when `stop` is set. On failure answers false with the reason in `error`.
bool RenderAudio(const RenderOptions& options, AudioSource& source, const std::vector<ScheduledEvent>& events,
    EffectInstance& host, AudioFileWriter& writer, int format, FileProgress& progress, const std::atomic<bool>& stop,
    RenderResult& result, std::string& error);
