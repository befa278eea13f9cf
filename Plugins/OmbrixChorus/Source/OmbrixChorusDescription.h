#pragma once

#include "AEffect.h"
#include "ProductDescription.h"

#include <iterator>

// The one description of Ombrix Chorus: identity, ports, the eight host
// parameters and the factory bank. The plug-in builds its parameters from
// it, and every format's adapter and metadata read it.

// Host parameter ids: the index of each host parameter in every format.
namespace ParameterId {
enum : int { OnOff, DelayTime, ModDepth, Feedback, Mix, Frequency, QuadMode, ModWheel };
} // namespace ParameterId

inline constexpr const char* OmbrixChorusFeatures[] = {"audio-effect", "chorus", "stereo", nullptr};

inline constexpr ProductIdentity OmbrixChorusIdentity = {
    "Ombrix Chorus",
    "Tervane Sound Design",
    "Ombrix Chorus",
    1000,
    ToFourCharCode("OmCh"),
    "com.tervane.ombrix-chorus",
    "https://tervane.com/plugins/ombrix-chorus",
    OmbrixChorusFeatures,
};

// Stereo in and out, and MIDI in for the controllers and the modulation wheel.
inline constexpr ProductPorts OmbrixChorusPorts = {2, 2, 1};

// The scales are those of the working values the chorus computes (delay
// 0.001 + 0.024 v² seconds, feedback 0.995 v², rate 10 v² Hz, depth and mix
// v), in the units a user reads: milliseconds, hertz, percent, and the levels
// of the editor's status line. The decimals keep a text stable when it is
// read back: a display step is far wider than one float step of the
// normalised value moves the plain value (at most 3e-6 ms, 1.2e-6 Hz,
// 6e-6 %), so the value a text is read as shows the same text again. Within
// that, they show the resolution the editor's status line shows (three
// decimals for the rate and the levels, whole percent for the mix) and, for
// the delay, a tenth of a millisecond: finer than the status line's whole
// milliseconds, and a small part of the sweep of any program.
inline constexpr ParameterScale DelayTimeScale
    = {ParameterKind::Continuous, 1.0, 25.0, ParameterCurve::Quadratic, "ms", 1};
inline constexpr ParameterScale ModDepthScale = {ParameterKind::Continuous, 0.0, 1.0, ParameterCurve::Linear, "", 3};
inline constexpr ParameterScale FeedbackScale
    = {ParameterKind::Continuous, 0.0, 0.995, ParameterCurve::Quadratic, "", 3};
inline constexpr ParameterScale MixScale = {ParameterKind::Continuous, 0.0, 100.0, ParameterCurve::Linear, "%", 0};
inline constexpr ParameterScale FrequencyScale
    = {ParameterKind::Continuous, 0.0, 10.0, ParameterCurve::Quadratic, "Hz", 3};

// The MIDI general-purpose controllers, and the chorus send for the mix.
// clang-format off
inline constexpr ParameterDescription OmbrixChorusParameters[] = {
    // id                      short     long             VST label    scale          default  MIDI CC
    {ParameterId::OnOff,     {"On",     "Chorus On/Off", "On/Off"},  SwitchScale,    1.0f,    80},
    {ParameterId::DelayTime, {"D Time", "Delay Time",    "Secs"},    DelayTimeScale, 1.0f,    16},
    {ParameterId::ModDepth,  {"Depth",  "Mod. Depth",    "Level"},   ModDepthScale,  0.25f,   17},
    {ParameterId::Feedback,  {"FB",     "Feedback",      "Level"},   FeedbackScale,  0.0f,    18},
    {ParameterId::Mix,       {"Mix",    "Mix",           "Dry/Wet"}, MixScale,       0.5f,    93},
    {ParameterId::Frequency, {"Freq",   "Frequency",     "Hz"},      FrequencyScale, 0.1f,    19},
    {ParameterId::QuadMode,  {"Quad",   "Quad Mode",     "On/Off"},  SwitchScale,    1.0f,    81},
    {ParameterId::ModWheel,  {"MW",     "Mod. Wheel",    "On/Off"},  SwitchScale,    0.0f,    82},
};
// clang-format on

// Every value is the shortest decimal that converts back to the stored
// 32-bit float; many are multiples of 1/90, 1/41 or 1/127.
inline constexpr FactoryProgram<std::size(OmbrixChorusParameters)> OmbrixChorusFactoryPrograms[] = {
    //  name                        On/Off Delay  Depth  Feedback  Mix  Freq  Quad  MW
    {"-- KOVRA --", {1, 1, 0.4015748f, 0, 0.7322835f, 0.18897638f, 1, 0}},
    {"Lite Chorus", {1, 0.54330707f, 0.2784777f, 0, 0.53543305f, 0.24409449f, 1, 0}},
    {"Deep Flange", {1, 0.033333335f, 1, 0.79527557f, 0.70731705f, 0.18110237f, 1, 0}},
    {"Vibrato Delight", {1, 0, 1, 0.79527557f, 0.6097561f, 0.47244096f, 1, 0}},
    {"Ominious 1", {1, 0.65555555f, 0.23333333f, 1, 0.2682927f, 0.7888889f, 1, 0}},
    {"Ominous 2", {1, 0.42222223f, 0.33333334f, 1, 0.19512194f, 0.7f, 1, 0}},
    {"Twangy Vibrato  (MW)", {1, 0, 1, 0.76666665f, 1, 0.7222222f, 0, 1}},
    {"Soft Vibrato  (MW)", {1, 0, 1, 0, 1, 0.6888889f, 0, 1}},
    {"Boomerrang", {1, 0.2777778f, 0.5f, 1, 0.29268292f, 1, 1, 0}},
    {"Broken Turntable", {1, 1, 0.76666665f, 1, 1, 0.34444445f, 1, 0}},
    {"Room", {1, 1, 0.2f, 0.96666664f, 0.34146342f, 0, 1, 0}},
    {"Gurgle Machine", {1, 0.7888889f, 1, 1, 1, 1, 1, 0}},
    {"-- PELLIMOR --", {1, 0.32222223f, 0.6333333f, 0.37777779f, 0.4878049f, 0.6111111f, 0, 0}},
    {"Enter The Matrix", {1, 1, 0.24444444f, 0.9777778f, 0.5f, 0.11111111f, 1, 0}},
    {"Extreme Detune", {1, 1, 1, 0.2777778f, 0.5f, 0.15555556f, 0, 0}},
    {"Rotovibe", {1, 0, 0.8333333f, 0.35555556f, 1, 1, 1, 0}},
    {"Extreme Rotovibe", {1, 0, 1, 0.62222224f, 1, 1, 0, 0}},
    {"Mourning Flange", {1, 0.37777779f, 1, 0.9111111f, 0.5f, 0.12222223f, 0, 0}},
    {"Underwater Detune", {1, 1, 1, 0.7888889f, 0.5f, 0.15555556f, 0, 0}},
    {"Flange", {1, 0, 1, 0.9f, 0.5f, 0.12222223f, 0, 0}},
    {"Flange.01", {1, 0.25555557f, 1, 0.9f, 0.5f, 0.12222223f, 0, 0}},
    {"Tectonic Plates", {1, 1, 1, 0.98888886f, 0.31707317f, 0.055555567f, 1, 0}},
    {"-- VANTHE --", {1, 0.98888886f, 0.37777779f, 0.011111111f, 0.5f, 0.18888889f, 1, 0}},
    {"Vanthe01", {1, 0.5888889f, 0.23333333f, 0.53333336f, 0.2195122f, 0.16666667f, 1, 0}},
    {"Vanthe02", {1, 0.11111111f, 0.23333333f, 0.9444444f, 0.5365854f, 0.16666667f, 1, 0}},
    {"Vanthe03", {1, 0.7777778f, 0.76666665f, 0.9444444f, 0.5609756f, 0.044444446f, 1, 0}},
    {"Vanthe04", {1, 0.07777778f, 0.6333333f, 1, 0.24390244f, 0.044444446f, 1, 0}},
    {"Vanthe05", {1, 0.22222222f, 0.2888889f, 1, 0.2682927f, 0.7777778f, 0, 0}},
    {"Vanthe06", {1, 0.7888889f, 0.3888889f, 0.17777778f, 0.5121951f, 0.1f, 1, 0}},
    {"Vanthe07", {1, 0, 0.4f, 1, 0.34146342f, 0, 0, 0}},
    {"Vanthe08", {1, 0.51111114f, 1, 1, 0.2195122f, 0.08888889f, 1, 0}},
    {"Vanthe09", {1, 0.5888889f, 0.45555556f, 0.95555556f, 0.4878049f, 0, 1, 0}},
};

inline constexpr ProductDescription<std::size(OmbrixChorusParameters), std::size(OmbrixChorusFactoryPrograms)>
    OmbrixChorusDescription = {
        OmbrixChorusIdentity,
        OmbrixChorusPorts,
        OmbrixChorusParameters,
        OmbrixChorusFactoryPrograms,
        ParameterId::OnOff,
};
static_assert(OmbrixChorusDescription.IsConsistent(),
    "ids in order, one parameter per controller, a switch to enable, values in [0, 1]");

// The bank chunk of this product: the factory bank's image and the format of
// the state hosts store.
using ChorusBank = BankChunk<OmbrixChorusDescription.ProgramCount, OmbrixChorusDescription.ParameterCount>;
