#include "DemoPhrase.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double PhraseSeconds = 5.0;
// Loss per trip around the string: about four seconds until a low note fades by 60 dB.
constexpr float StringDecay = 0.996f;
constexpr double HalfPi = 1.5707963267948966;

struct Note {
    double startSeconds;
    int midiNote;
    float pan;
};

// An arpeggio climbing through E minor, then the chord strummed from the low string up.
constexpr Note Melody[]
    = {{0.00, 52, -0.6f}, {0.35, 59, -0.2f}, {0.70, 64, 0.2f}, {1.05, 67, 0.6f}, {1.40, 66, 0.3f}, {1.75, 62, -0.3f}};
constexpr int ChordNotes[] = {40, 47, 52, 55, 59, 64};
constexpr double ChordStartSeconds = 2.2;
constexpr double StrumSpacingSeconds = 0.025;
} // namespace

DemoPhrase::DemoPhrase()
{
    frameCount = static_cast<std::int64_t>(PhraseSeconds * SampleRate);
    for (const Note& note : Melody)
        AddString(note.startSeconds, note.midiNote, 0.35f, note.pan);
    const int chordSize = static_cast<int>(sizeof ChordNotes / sizeof ChordNotes[0]);
    for (int i = 0; i < chordSize; ++i) {
        const float pan = -0.5f + static_cast<float>(i) / static_cast<float>(chordSize - 1);
        AddString(ChordStartSeconds + i * StrumSpacingSeconds, ChordNotes[i], 0.18f, pan);
    }
}

void DemoPhrase::AddString(double startSeconds, int midiNote, float level, float pan)
{
    PluckedString string;
    string.startFrame = static_cast<std::int64_t>(startSeconds * SampleRate);
    const double frequencyHz = 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
    string.delayLine.resize(static_cast<std::size_t>(std::lround(SampleRate / frequencyHz)));
    for (float& sample : string.delayLine) {
        noiseState = noiseState * 1664525u + 1013904223u;
        sample = level * (static_cast<float>(noiseState >> 8) / 8388608.0f - 1.0f);
    }
    const double angle = (pan + 1.0) * 0.5 * HalfPi;
    string.leftGain = static_cast<float>(std::cos(angle));
    string.rightGain = static_cast<float>(std::sin(angle));
    strings.push_back(std::move(string));
}

std::int64_t DemoPhrase::Read(float* left, float* right, std::int64_t count)
{
    count = std::min(count, frameCount - framesRead);
    std::fill(left, left + count, 0.0f);
    std::fill(right, right + count, 0.0f);
    for (PluckedString& string : strings) {
        const std::int64_t first = std::max<std::int64_t>(0, string.startFrame - framesRead);
        const std::size_t length = string.delayLine.size();
        for (std::int64_t i = first; i < count; ++i) {
            const std::size_t next = string.position + 1 == length ? 0 : string.position + 1;
            const float sample = string.delayLine[string.position];
            string.delayLine[string.position] = StringDecay * 0.5f * (sample + string.delayLine[next]);
            string.position = next;
            left[i] += string.leftGain * sample;
            right[i] += string.rightGain * sample;
        }
    }
    framesRead += count;
    return count;
}
