#include "RenderPipeline.h"

#include "BlockQueue.h"
#include "TailWatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

namespace {
/// Consecutive blocks of a render on their way from the reader through the plug-in to the writer:
/// the input as read, block after block, and the plug-in's output in the same places. The frames
/// are cut into blocks as the block-by-block reads of a single thread would cut them: whole blocks,
/// then what a short read left. Chunks of the tail hold silence as their input.
struct AudioChunk {
    std::vector<float> inputLeft;
    std::vector<float> inputRight;
    std::vector<float> outputLeft;
    std::vector<float> outputRight;
    std::int64_t frames = 0;

    std::int64_t GetCapacity() const { return static_cast<std::int64_t>(inputLeft.size()); }
    /// The frames of the block that starts at offset.
    std::int64_t BlockFrames(std::int64_t offset, int blockSize) const
    {
        return std::min<std::int64_t>(blockSize, frames - offset);
    }
};

using ChunkQueue = BlockQueue<std::unique_ptr<AudioChunk>>;

/// One chunk being read, one processed, one written.
constexpr std::size_t ChunkCount = 3;

/// Reads chunks until the source ends or the render stops. The chunk left over at the end goes
/// back to the empty ones, for the tail.
void ReadChunks(AudioSource& source, ChunkQueue& empty, ChunkQueue& full)
{
    std::unique_ptr<AudioChunk> chunk;
    while (empty.Pop(chunk)) {
        chunk->frames = source.Read(chunk->inputLeft.data(), chunk->inputRight.data(), chunk->GetCapacity());
        if (chunk->frames <= 0) {
            empty.Push(std::move(chunk));
            break;
        }
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

/// The level of what was written: its largest magnitude and how many samples lie beyond full scale.
struct OutputLevel {
    float peak = 0.0f;
    std::int64_t samplesBeyondFullScale = 0;
};

/// Interleaves two channels of frames samples and measures them into level; NaN counts for
/// nothing. Four frames at a time where SSE2 is at hand: the writer has the most work of the
/// three threads.
void Interleave(const float* left, const float* right, std::size_t frames, float* interleaved, OutputLevel& level)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128 sign = _mm_set1_ps(-0.0f);
    const __m128 fullScale = _mm_set1_ps(1.0f);
    // maxps answers its second operand when the first is NaN, so NaN never enters the maximum;
    // a comparison with NaN is false, so it is never counted beyond full scale either.
    __m128 largest = _mm_set1_ps(level.peak);
    std::int64_t beyond = 0;
    for (; i + 4 <= frames; i += 4) {
        const __m128 l = _mm_loadu_ps(left + i);
        const __m128 r = _mm_loadu_ps(right + i);
        _mm_storeu_ps(interleaved + 2 * i, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(interleaved + 2 * i + 4, _mm_unpackhi_ps(l, r));
        const __m128 absoluteLeft = _mm_andnot_ps(sign, l);
        const __m128 absoluteRight = _mm_andnot_ps(sign, r);
        largest = _mm_max_ps(absoluteLeft, largest);
        largest = _mm_max_ps(absoluteRight, largest);
        beyond += __builtin_popcount(static_cast<unsigned>(_mm_movemask_ps(_mm_cmpgt_ps(absoluteLeft, fullScale))))
            + __builtin_popcount(static_cast<unsigned>(_mm_movemask_ps(_mm_cmpgt_ps(absoluteRight, fullScale))));
    }
    float lanes[4];
    _mm_storeu_ps(lanes, largest);
    level.peak = std::max({lanes[0], lanes[1], lanes[2], lanes[3]});
    level.samplesBeyondFullScale += beyond;
#endif
    for (; i < frames; ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
        level.peak = std::max({level.peak, std::fabs(left[i]), std::fabs(right[i])});
        level.samplesBeyondFullScale += (std::fabs(left[i]) > 1.0f ? 1 : 0) + (std::fabs(right[i]) > 1.0f ? 1 : 0);
    }
}

/// Writes the processed chunks in order and measures their level: a whole chunk at once where the
/// format allows (one system call instead of one per block), otherwise one write per block, as a
/// single thread would write. On a failed write it stops the render: the queues are closed and the
/// reason is in error.
void WriteChunks(AudioFileWriter& writer, bool wholeChunks, int blockSize, ChunkQueue& processed, ChunkQueue& empty,
    OutputLevel& level, bool& failed, std::string& error)
{
    std::vector<float> interleaved;
    std::unique_ptr<AudioChunk> chunk;
    while (processed.Pop(chunk)) {
        const std::int64_t frames = chunk->frames;
        interleaved.resize(2 * static_cast<std::size_t>(frames));
        Interleave(chunk->outputLeft.data(), chunk->outputRight.data(), static_cast<std::size_t>(frames),
            interleaved.data(), level);
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

/// The processing thread's part of a render: hands one block of a chunk at a time to the plug-in
/// with the MIDI events that fall into it, and scales the output by the gain.
class BlockProcessor {
public:
    BlockProcessor(EffectInstance& host, const std::vector<ScheduledEvent>& events, int blockSize, double gainDb)
        : host(host)
        , events(events)
        , gain(gainDb == 0.0 ? 1.0f : static_cast<float>(std::pow(10.0, gainDb / 20.0)))
    {
        // Channels beyond the stereo pair are fed silence and their output is dropped.
        const auto inputCount = static_cast<std::size_t>(host.GetInputCount());
        const auto outputCount = static_cast<std::size_t>(host.GetOutputCount());
        const auto extraSize = static_cast<std::size_t>(blockSize);
        extraInputs.assign(inputCount - 2, std::vector<float>(extraSize));
        extraOutputs.assign(outputCount - 2, std::vector<float>(extraSize));
        inputs.resize(inputCount);
        outputs.resize(outputCount);
        for (std::size_t j = 2; j < inputCount; ++j)
            inputs[j] = extraInputs[j - 2].data();
        for (std::size_t j = 2; j < outputCount; ++j)
            outputs[j] = extraOutputs[j - 2].data();
        // No block holds more events than the render has: the block loop never allocates.
        blockEvents.reserve(events.size());
    }

    void Process(AudioChunk& chunk, std::int64_t start, std::int64_t frames)
    {
        const auto offset = static_cast<std::size_t>(start);
        inputs[0] = &chunk.inputLeft[offset];
        inputs[1] = &chunk.inputRight[offset];
        outputs[0] = &chunk.outputLeft[offset];
        outputs[1] = &chunk.outputRight[offset];
        blockEvents.clear();
        for (; nextEvent < events.size() && events[nextEvent].frame < processedFrames + frames; ++nextEvent) {
            blockEvents.push_back(events[nextEvent].event);
            blockEvents.back().deltaFrames = static_cast<VstInt32>(events[nextEvent].frame - processedFrames);
        }
        for (float* channel : outputs)
            std::fill(channel, channel + frames, 0.0f);
        host.Process(inputs.data(), outputs.data(), static_cast<VstInt32>(frames), blockEvents.data(),
            static_cast<int>(blockEvents.size()));
        if (gain != 1.0f) {
            for (std::int64_t i = 0; i < frames; ++i) {
                outputs[0][i] *= gain;
                outputs[1][i] *= gain;
            }
        }
        processedFrames += frames;
    }

private:
    EffectInstance& host;
    const std::vector<ScheduledEvent>& events;
    float gain;
    std::vector<std::vector<float>> extraInputs;
    std::vector<std::vector<float>> extraOutputs;
    std::vector<float*> inputs;
    std::vector<float*> outputs;
    std::vector<VstMidiEvent> blockEvents;
    std::size_t nextEvent = 0;
    std::int64_t processedFrames = 0;
};
} // namespace

std::int64_t ChunkFrames(int blockSize)
{
    // Whole blocks, about 8192 frames and at least one block: large reads and writes cost far
    // fewer system calls than one per block.
    return std::max(1, 8192 / blockSize) * static_cast<std::int64_t>(blockSize);
}

bool KeepsSamplesBeyondFullScale(int format)
{
    const int subtype = format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
}

bool RenderAudio(const RenderOptions& options, AudioSource& source, const std::vector<ScheduledEvent>& events,
    EffectInstance& host, AudioFileWriter& writer, int format, FileProgress& progress, const std::atomic<bool>& stop,
    RenderResult& result, std::string& error)
{
    ChunkQueue empty(ChunkCount), full(ChunkCount), processed(ChunkCount);
    for (std::size_t i = 0; i < ChunkCount; ++i) {
        auto chunk = std::make_unique<AudioChunk>();
        for (auto* channel : {&chunk->inputLeft, &chunk->inputRight, &chunk->outputLeft, &chunk->outputRight})
            channel->resize(static_cast<std::size_t>(ChunkFrames(options.blockSize)));
        empty.Push(std::move(chunk));
    }
    BlockProcessor blocks(host, events, options.blockSize, options.gainDb);
    TailWatch tail = options.tailSeconds >= 0.0
        ? TailWatch::Fixed(std::llround(options.tailSeconds * source.GetSampleRate()))
        : TailWatch::UntilQuiet(source.GetSampleRate());

    OutputLevel level;
    bool writeFailed = false;
    std::string writeError;
    std::thread reader(ReadChunks, std::ref(source), std::ref(empty), std::ref(full));
    std::thread writing(WriteChunks, std::ref(writer), HoldsSamplesAsWritten(format), options.blockSize,
        std::ref(processed), std::ref(empty), std::ref(level), std::ref(writeFailed), std::ref(writeError));

    host.Resume();
    bool ok = true;
    const auto stopped = [&] {
        if (stop) {
            error = "interrupted";
            ok = false;
        }
        return !ok;
    };
    bool writerStopped = false;
    std::unique_ptr<AudioChunk> chunk;
    while (ok && !writerStopped && full.Pop(chunk)) {
        for (std::int64_t start = 0; start < chunk->frames && !stopped(); start += options.blockSize) {
            const std::int64_t frames = chunk->BlockFrames(start, options.blockSize);
            blocks.Process(*chunk, start, frames);
            tail.FollowInput(&chunk->outputLeft[static_cast<std::size_t>(start)],
                &chunk->outputRight[static_cast<std::size_t>(start)], frames);
            result.frames += frames;
            progress.Update(result.frames);
        }
        writerStopped = ok && !processed.Push(std::move(chunk));
    }
    // The input has ended: the plug-in goes on, on silence, for as long as the tail lasts.
    while (ok && !writerStopped && !tail.HasEnded() && empty.Pop(chunk)) {
        std::fill(chunk->inputLeft.begin(), chunk->inputLeft.end(), 0.0f);
        std::fill(chunk->inputRight.begin(), chunk->inputRight.end(), 0.0f);
        chunk->frames = 0;
        while (chunk->frames < chunk->GetCapacity() && !tail.HasEnded() && !stopped()) {
            const auto start = static_cast<std::size_t>(chunk->frames);
            const std::int64_t frames = std::min<std::int64_t>(
                {options.blockSize, chunk->GetCapacity() - chunk->frames, tail.GetMostRemaining()});
            blocks.Process(*chunk, chunk->frames, frames);
            chunk->frames += tail.TakeTail(&chunk->outputLeft[start], &chunk->outputRight[start], frames);
        }
        writerStopped = ok && !processed.Push(std::move(chunk));
    }
    result.frames += tail.GetTailFrames();
    result.tailFrames = tail.GetTailFrames();
    result.tailCutShort = tail.WasCutShort();

    // The writer finishes what was processed; then the reader, if it is still going, is stopped.
    processed.Close();
    writing.join();
    empty.Close();
    full.Close();
    reader.join();
    host.Suspend();
    result.peak = level.peak;
    result.samplesBeyondFullScale = level.samplesBeyondFullScale;
    if (ok && writeFailed) {
        error = writeError;
        ok = false;
    }
    return ok;
}
