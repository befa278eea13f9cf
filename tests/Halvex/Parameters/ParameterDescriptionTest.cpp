#include "Parameters/ParameterDescription.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// A gain from -16 to +16 dB with one decimal, a level without a unit, a
// quadratic time and a switch: signs, rounding, curves and words.
constexpr ParameterDescription Gain
    = {0, {"Gain", "Gain", "dB"}, {ParameterKind::Continuous, -16.0, 16.0, ParameterCurve::Linear, "dB", 1}, 0.5f, 7};
constexpr ParameterDescription Level
    = {1, {"Lvl", "Level", ""}, {ParameterKind::Continuous, 0.0, 1.0, ParameterCurve::Linear, "", 3}, 0.0f, 8};
constexpr ParameterDescription Time
    = {2, {"Time", "Time", "s"}, {ParameterKind::Continuous, 2.0, 50.0, ParameterCurve::Quadratic, "ms", 2}, 1.0f, 9};
constexpr ParameterDescription Power = {3, {"Pwr", "Power", ""}, SwitchScale, 1.0f, 10};

std::string Text(const ParameterDescription& parameter, float normalised, int count = 64)
{
    char text[64];
    parameter.ValueToText(normalised, text, count);
    return text;
}

// The normalised value a text is read as; NaN when it is refused.
float Read(const ParameterDescription& parameter, const char* text)
{
    float value = std::numeric_limits<float>::quiet_NaN();
    parameter.TextToValue(text, &value);
    return value;
}

} // namespace

TEST(ParameterDescription, PlainValuesFollowTheCurve)
{
    EXPECT_EQ(Gain.ToPlain(0.0f), -16.0);
    EXPECT_EQ(Gain.ToPlain(0.5f), 0.0);
    EXPECT_EQ(Gain.ToPlain(0.75f), 8.0);
    EXPECT_EQ(Time.ToPlain(0.5f), 14.0);
    EXPECT_EQ(Time.ToPlain(1.0f), 50.0);
    EXPECT_EQ(Power.ToPlain(0.5f), 1.0);
    EXPECT_EQ(Power.ToPlain(0.4999f), 0.0);

    EXPECT_EQ(Gain.ToNormalised(8.0), 0.75f);
    EXPECT_EQ(Time.ToNormalised(14.0), 0.5f);
    EXPECT_EQ(Power.ToNormalised(0.5), 1.0f);
    EXPECT_EQ(Power.ToNormalised(0.49), 0.0f);
}

TEST(ParameterDescription, ValuesOutsideTheirRangesAreTakenAtTheNearerEnd)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Gain.ToPlain(1.5f), 16.0);
    EXPECT_EQ(Gain.ToPlain(-0.5f), -16.0);
    EXPECT_EQ(Gain.ToPlain(nan), -16.0);
    EXPECT_EQ(Gain.ToNormalised(100.0), 1.0f);
    EXPECT_EQ(Time.ToNormalised(-5.0), 0.0f);
    EXPECT_EQ(Time.ToNormalised(std::numeric_limits<double>::quiet_NaN()), 0.0f);
    EXPECT_EQ(Time.ToNormalised(std::numeric_limits<double>::infinity()), 1.0f);
    EXPECT_EQ(Text(Power, nan), "Off");
}

TEST(ParameterDescription, TextsRoundHalfAwayFromZeroAndCarryTheUnit)
{
    EXPECT_EQ(Text(Gain, 0.5f), "0.0 dB") << "no sign on zero";
    EXPECT_EQ(Text(Gain, 0.0f), "-16.0 dB");
    EXPECT_EQ(Text(Gain, 1.0f), "16.0 dB");
    // 0.25 dB and -0.25 dB lie exactly half way between two texts.
    EXPECT_EQ(Text(Gain, 0.5f + 0.25f / 32.0f), "0.3 dB");
    EXPECT_EQ(Text(Gain, 0.5f - 0.25f / 32.0f), "-0.3 dB");
    EXPECT_EQ(Text(Gain, 0.5f - 0.04f / 32.0f), "0.0 dB") << "a negative value that rounds to zero has no sign";
    EXPECT_EQ(Text(Level, 0.0005f), "0.001") << "leading zeros of the fraction stay";
    EXPECT_EQ(Text(Level, 0.25f), "0.250");
    EXPECT_EQ(Text(Time, 0.5f), "14.00 ms");
    EXPECT_EQ(Text(Power, 1.0f), "On");
    EXPECT_EQ(Text(Power, 0.0f), "Off");
}

TEST(ParameterDescription, TextsAreCutToTheBufferAndSayWhetherTheyFitted)
{
    char text[16] = "untouched";
    EXPECT_TRUE(Gain.ValueToText(0.0f, text, 9));
    EXPECT_STREQ(text, "-16.0 dB");
    EXPECT_FALSE(Gain.ValueToText(0.0f, text, 8));
    EXPECT_STREQ(text, "-16.0 d");
    EXPECT_FALSE(Power.ValueToText(0.0f, text, 2));
    EXPECT_STREQ(text, "O");
    EXPECT_FALSE(Gain.ValueToText(0.0f, text, 0));
    EXPECT_STREQ(text, "O") << "no room: nothing written";
    EXPECT_FALSE(Gain.ValueToText(0.0f, nullptr, 8));
}

TEST(ParameterDescription, TypedNumbersAreReadTolerantly)
{
    const float sixDb = 0.6875f;
    for (const char* text : {"6", "6 dB", "6dB", "  6 db  ", "\t6\tDB", "+6 dB", "6.0 dB", "6,0 dB", "06.000", "6."}) {
        EXPECT_EQ(Read(Gain, text), sixDb) << '"' << text << '"';
    }
    EXPECT_EQ(Read(Gain, "-6 dB"), 0.3125f);
    EXPECT_EQ(Read(Gain, ".6"), Gain.ToNormalised(0.6));
    EXPECT_EQ(Read(Gain, "-0"), 0.5f);
    EXPECT_EQ(Read(Time, "14 MS"), 0.5f);
    EXPECT_EQ(Read(Level, "0.25"), 0.25f);
    // Digits beyond a double's precision are dropped, in either part.
    EXPECT_EQ(Read(Level, "0.2500000000000000000000000001"), 0.25f);
    EXPECT_EQ(Read(Level, "0.000000000000000000000000000000000000000000000001"), 0.0f);
    EXPECT_EQ(Read(Gain, "100000000000000000000000000000000000000000000000000 dB"), 1.0f);
}

TEST(ParameterDescription, TypedValuesBeyondTheRangeAreTakenAtItsEnd)
{
    EXPECT_EQ(Read(Gain, "30 dB"), 1.0f);
    EXPECT_EQ(Read(Gain, "-30 dB"), 0.0f);
    EXPECT_EQ(Read(Time, "1 ms"), 0.0f);
    EXPECT_EQ(Read(Level, "7"), 1.0f);
}

TEST(ParameterDescription, SwitchesReadWordsInAnyCase)
{
    for (const char* text : {"On", "on", "ON", " on ", "1", "true", "Yes"}) {
        EXPECT_EQ(Read(Power, text), 1.0f) << '"' << text << '"';
    }
    for (const char* text : {"Off", "off", "OFF", "0", "false", "NO", "\toff"}) {
        EXPECT_EQ(Read(Power, text), 0.0f) << '"' << text << '"';
    }
}

TEST(ParameterDescription, GarbageIsRefusedAndChangesNothing)
{
    for (const char* text : {"", "   ", "dB", "six", "6 d", "6 dBs", "6 dB dB", "6 ms", "6 %", "1.2.3", "1,2,3", "--6",
             "+-6", "- 6", "6 7", "nan", "inf", "1e3", "0x10", "6dB!", ".", ","}) {
        EXPECT_TRUE(std::isnan(Read(Gain, text))) << '"' << text << '"';
    }
    EXPECT_TRUE(std::isnan(Read(Level, "0.5 %"))) << "a parameter without a unit takes none";
    for (const char* text : {"", "maybe", "2", "0.5", "onn", "o n", "on off", "1 1", "yess", "-1"}) {
        EXPECT_TRUE(std::isnan(Read(Power, text))) << '"' << text << '"';
    }
    float value = 0.5f;
    EXPECT_FALSE(Gain.TextToValue(nullptr, &value));
    EXPECT_FALSE(Gain.TextToValue("6 dB", nullptr));
    EXPECT_EQ(value, 0.5f);
}
