#include "AudioSource.h"

bool FileSource::Open(const std::string& path, std::int64_t maxBlock, std::string& error)
{
    if (!reader.Open(path, error))
        return false;
    const int channels = reader.GetChannelCount();
    if (channels != 1 && channels != 2) {
        error = path + " has " + std::to_string(channels) + " channels; only mono and stereo files can be rendered";
        return false;
    }
    if (reader.GetSampleRate() <= 0) {
        error = path + " has no valid sample rate";
        return false;
    }
    interleaved.resize(static_cast<std::size_t>(maxBlock * channels));
    return true;
}

std::int64_t FileSource::Read(float* left, float* right, std::int64_t frameCount)
{
    const std::int64_t framesRead = reader.Read(interleaved.data(), frameCount);
    if (reader.GetChannelCount() == 1) {
        for (std::int64_t i = 0; i < framesRead; ++i)
            left[i] = right[i] = interleaved[static_cast<std::size_t>(i)];
        return framesRead;
    }
    for (std::int64_t i = 0; i < framesRead; ++i) {
        left[i] = interleaved[static_cast<std::size_t>(2 * i)];
        right[i] = interleaved[static_cast<std::size_t>(2 * i + 1)];
    }
    return framesRead;
}
