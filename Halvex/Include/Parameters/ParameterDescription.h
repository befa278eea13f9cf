#pragma once

// Plain, constant data that says what one host parameter is, so that every
// plug-in format (and the tools that write their metadata) can read it
// without building a plug-in. The parameter objects of a plug-in are built
// from it; the formats that show values in units use its scale and its
// conversions below.

enum class ParameterKind {
    Continuous, // any value in [0, 1]
    Switch, // off below 0.5, on from 0.5; stepped: 0 or 1
};

enum class ParameterCurve {
    Linear, // plain = minimum + span v
    Quadratic, // plain = minimum + span v², finer towards the minimum
};

struct ParameterNames {
    const char* shortName; // the VST 2.4 name: at most 7 characters
    const char* longName; // the name everywhere else: at most 63 characters
    const char* vstLabel; // the unit the VST 2.4 build shows beside its display text
};

// How a normalised value v reads in units: the plain value is
// minimum + (maximum - minimum) times v or v², shown with `decimals`
// fraction digits and the unit. A switch reads 0 or 1, shown "Off" or "On".
struct ParameterScale {
    ParameterKind kind;
    double minimum;
    double maximum;
    ParameterCurve curve;
    const char* unit; // "" for a plain number
    int decimals; // fraction digits shown, 0 to 9
};

constexpr ParameterScale SwitchScale = {ParameterKind::Switch, 0.0, 1.0, ParameterCurve::Linear, "", 0};

// One host parameter: its id (its index among the host parameters), names,
// scale, normalised default and MIDI controller, with the conversions between
// normalised values, plain values in units and display texts ("12.5 ms",
// "30 %", "0.250", "On"). The conversions compute the same results on every
// target and in any locale; they never allocate and may run on any thread.
struct ParameterDescription {
    static constexpr int NoController = -1;

    int id;
    ParameterNames names;
    ParameterScale scale;
    float defaultValue;
    int midiController; // 0 to 127, or NoController

    bool IsSwitch() const { return scale.kind == ParameterKind::Switch; }

    // The plain value in units; a normalised value outside [0, 1] is taken
    // at the nearer end.
    double ToPlain(float normalised) const;
    // The normalised value nearest to a plain one, which is first brought
    // into [minimum, maximum] (NaN counts as the minimum). A switch is 1 from
    // the middle of its range up, else 0.
    float ToNormalised(double plain) const;

    // The display text of a normalised value: the plain value rounded half
    // away from zero to `decimals` fraction digits, then a space and the unit
    // when there is one; "On" or "Off" for a switch. Writes at most count - 1
    // characters and a terminator; answers whether the whole text fitted.
    bool ValueToText(float normalised, char* text, int count) const;

    // Reads a typed text: spaces around it and between number and unit, the
    // unit in any case or left out, "." or "," as the decimal point; a
    // switch takes on, off, 1, 0, true, false, yes or no in any case. A value
    // beyond the range is taken at its end. Anything else (an empty text, a
    // foreign unit, text after the value) is refused: false, and *normalised
    // is left alone.
    bool TextToValue(const char* text, float* normalised) const;
};
