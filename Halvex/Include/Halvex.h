#pragma once

// Shared constants and helper functions of the toolkit.

// The most samples one component Process call handles, and the length of
// every component output buffer.
constexpr int BufferSize = 0x4000;

// 6.283185f: one float step below the float nearest to 2 pi (bit pattern
// 0x40C90FDA). Oscillator increments are defined with this value.
constexpr float TwoPi = 6.283185f;
constexpr float DefaultSampleRate = 44100.0f;
constexpr float DefaultTempo = 120.0f;

// Rounds half away from zero: 2.5 gives 3, -2.5 gives -3.
int Round(float x);

// "-oo" for 0, else 20 log10(value) with "%.3f"; cut to count - 1 characters.
void ToDecibelText(float value, char* text, int count);

// "On" or "Off", copied with CopyString's fill-and-terminate rule.
void ToOnOffText(bool on, char* text, int count);

// Samples per beat at a tempo in beats per minute; 0 for tempo 0.
double ToSamplesPerBeat(double tempo, float sampleRate);

// Beats per second for a tempo in beats per minute (times the double 1/60).
double ToBeatsPerSecond(double tempo);

// True for values of 0.5 and above.
bool ToBool(float value);

// Copies at most count characters, zero-fills the rest of the count bytes and
// always terminates: at most count - 1 characters survive.
void CopyString(char* destination, const char* source, int count);
