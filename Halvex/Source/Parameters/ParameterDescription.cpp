#include "Parameters/ParameterDescription.h"


#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Digits beyond these are below any double's precision and are dropped.
constexpr std::uint64_t MantissaLimit = 100000000000000000ULL;
// More would not fit the rounding in 64-bit integers.
constexpr int MaxDecimals = 9;

struct SwitchWord {
    const char* word;
    bool on;
};

constexpr SwitchWord SwitchWords[] = {
    {"on", true},
    {"off", false},
    {"1", true},
    {"0", false},
    {"true", true},
    {"false", false},
    {"yes", true},
    {"no", false},
};

// Plain ASCII: the host's locale must not change what a text means.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipSpaces(const char* cursor)
{
    while (*cursor == ' ' || *cursor == '\t') {
        ++cursor;
    }
    return cursor;
}

// Compares the next characters with word regardless of case; on a match
// moves the cursor past them.
bool ConsumeWord(const char*& cursor, const char* word)
{
    const char* position = cursor;
    for (; *word != 0; ++word, ++position) {
        if (LowerAscii(*position) != LowerAscii(*word)) {
            return false;
        }
    }
    cursor = position;
    return true;
}

// Exact for exponents up to 22; beyond, products of exact factors, the same
// on every target (unlike std::pow, which each C library rounds its own way).
double PowerOfTen(int exponent)
{
    double power = 1.0;
    for (int i = 0; i < exponent && power < HUGE_VAL; ++i) {
        power *= 10.0;
    }
    return power;
}

// A decimal number: an optional sign, digits with at most one "." or ",",
// at least one digit. No exponent, no "inf" or "nan".
bool ReadNumber(const char*& cursor, double& number)
{
    const char* position = cursor;
    const bool negative = *position == '-';
    if (*position == '-' || *position == '+') {
        ++position;
    }
    std::uint64_t mantissa = 0;
    int exponent = 0;
    int digits = 0;
    bool point = false;
    for (;; ++position) {
        if (IsDigit(*position)) {
            ++digits;
            if (mantissa < MantissaLimit) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(*position - '0');
                exponent -= point ? 1 : 0;
            } else {
                exponent += point ? 0 : 1;
            }
        } else if ((*position == '.' || *position == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    const double magnitude = exponent < 0 ? static_cast<double>(mantissa) / PowerOfTen(-exponent)
                                          : static_cast<double>(mantissa) * PowerOfTen(exponent);
    number = negative ? -magnitude : magnitude;
    cursor = position;
    return true;
}

// Appends to a buffer of count characters, cut to fit and always terminated.
class TextWriter {
public:
    TextWriter(char* text, int count)
        : text(text)
        , count(text != nullptr && count > 0 ? count : 0)
    {
        if (this->count > 0) {
            text[0] = 0;
        }
    }

    void Append(const char* source, std::size_t length)
    {
        const std::size_t room = count > 0 ? static_cast<std::size_t>(count - 1 - used) : 0;
        const std::size_t kept = std::min(length, room);
        if (kept > 0) {
            std::memcpy(text + used, source, kept);
            used += static_cast<int>(kept);
            text[used] = 0;
        }
        complete = complete && kept == length;
    }
    void Append(const char* source) { Append(source, std::strlen(source)); }

    // Whether everything appended was written.
    bool Complete() const { return count > 0 && complete; }

private:
    char* text;
    int count;
    int used = 0;
    bool complete = true;
};

} // namespace

double ParameterDescription::ToPlain(float normalised) const
{
    const double v = std::isnan(normalised) ? 0.0 : std::clamp(static_cast<double>(normalised), 0.0, 1.0);
    if (IsSwitch()) {
        return v >= 0.5 ? scale.maximum : scale.minimum;
    }
    const double shape = scale.curve == ParameterCurve::Quadratic ? v * v : v;
    return scale.minimum + (scale.maximum - scale.minimum) * shape;
}

float ParameterDescription::ToNormalised(double plain) const
{
    const double inRange = std::isnan(plain) ? scale.minimum : std::clamp(plain, scale.minimum, scale.maximum);
    const double fraction = (inRange - scale.minimum) / (scale.maximum - scale.minimum);
    if (IsSwitch()) {
        return fraction >= 0.5 ? 1.0f : 0.0f;
    }
    return static_cast<float>(scale.curve == ParameterCurve::Quadratic ? std::sqrt(fraction) : fraction);
}

bool ParameterDescription::ValueToText(float normalised, char* text, int count) const
{
    TextWriter writer(text, count);
    if (IsSwitch()) {
        writer.Append(ToPlain(normalised) == scale.maximum ? "On" : "Off");
        return writer.Complete();
    }
    // Rounded once, in whole units of the last digit, so that no printf
    // rounding (which differs between C libraries) takes part.
    const int decimals = std::clamp(scale.decimals, 0, MaxDecimals);
    const auto step = static_cast<std::uint64_t>(PowerOfTen(decimals));
    const std::int64_t rounded = std::llround(ToPlain(normalised) * static_cast<double>(step));
    if (rounded < 0) {
        writer.Append("-");
    }
    const std::uint64_t magnitude = rounded < 0 ? 0 - static_cast<std::uint64_t>(rounded) : rounded;
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude / step).ptr;
    writer.Append(digits, static_cast<std::size_t>(end - digits));
    if (decimals > 0) {
        // The fraction with its leading zeros: the digits of step + fraction after the first.
        end = std::to_chars(digits, digits + sizeof digits, step + magnitude % step).ptr;
        writer.Append(".");
        writer.Append(digits + 1, static_cast<std::size_t>(end - digits - 1));
    }
    if (*scale.unit != 0) {
        writer.Append(" ");
        writer.Append(scale.unit);
    }
    return writer.Complete();
}

bool ParameterDescription::TextToValue(const char* text, float* normalised) const
{
    if (text == nullptr || normalised == nullptr) {
        return false;
    }
    const char* cursor = SkipSpaces(text);
    if (IsSwitch()) {
        for (const SwitchWord& entry : SwitchWords) {
            const char* after = cursor;
            if (ConsumeWord(after, entry.word) && *SkipSpaces(after) == 0) {
                *normalised = entry.on ? 1.0f : 0.0f;
                return true;
            }
        }
        return false;
    }
    double plain = 0.0;
    if (!ReadNumber(cursor, plain)) {
        return false;
    }
    cursor = SkipSpaces(cursor);
    if (*cursor != 0 && (*scale.unit == 0 || !ConsumeWord(cursor, scale.unit))) {
        return false;
    }
    if (*SkipSpaces(cursor) != 0) {
        return false;
    }
    *normalised = ToNormalised(plain);
    return true;
}
