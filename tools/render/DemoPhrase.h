#pragma once

#include "AudioSource.h"

#include <cstdint>
#include <vector>

/// The built-in test signal: a short phrase of plucked-string notes followed by a strummed chord,
/// stereo at 44100 Hz, about five seconds. Each note is a Karplus-Strong string (a noise burst
/// circulating through a delay line with a two-point averaging filter; K. Karplus and A. Strong,
/// "Digital Synthesis of Plucked-String and Drum Timbres", 1983), panned to its own place.
/// Generated sample by sample as it is read, from a fixed seed: every run gives the same audio.
class DemoPhrase : public AudioSource {
public:
    static constexpr int SampleRate = 44100;

    DemoPhrase();

    int GetSampleRate() const override { return SampleRate; }
    std::int64_t GetFrameCount() const override { return frameCount; }
    std::int64_t Read(float* left, float* right, std::int64_t count) override;

private:
    struct PluckedString {
        std::int64_t startFrame = 0;
        std::vector<float> delayLine;
        std::size_t position = 0;
        float leftGain = 0.0f;
        float rightGain = 0.0f;
    };

    void AddString(double startSeconds, int midiNote, float level, float pan);

    std::vector<PluckedString> strings;
    std::int64_t frameCount = 0;
    std::int64_t framesRead = 0;
    std::uint32_t noiseState = 0x1234567u;
};
