#pragma once

#include "AudioFile.h"

#include <cstdint>
#include <string>
#include <vector>

/// Stereo audio delivered in blocks of de-interleaved 32-bit float samples, at a fixed sample
/// rate and with a known length in frames.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual int GetSampleRate() const = 0;
    virtual std::int64_t GetFrameCount() const = 0;
    /// Fills up to `frameCount` samples of both channels; answers the frames filled, 0 at the end.
    virtual std::int64_t Read(float* left, float* right, std::int64_t frameCount) = 0;
};

/// A mono or stereo sound file as a stereo source: a mono file feeds both channels.
class FileSource : public AudioSource {
public:
    /// Opens the file and checks its channel count; `maxBlock` is the largest Read request.
    bool Open(const std::string& path, std::int64_t maxBlock, std::string& error);
    int GetFormat() const { return reader.GetFormat(); }

    int GetSampleRate() const override { return reader.GetSampleRate(); }
    std::int64_t GetFrameCount() const override { return reader.GetFrameCount(); }
    std::int64_t Read(float* left, float* right, std::int64_t frameCount) override;

private:
    AudioFileReader reader;
    std::vector<float> interleaved;
};
