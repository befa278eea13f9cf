#include "Halvex.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Halvex, TwoPiHasItsFixedBitPattern)
{
    unsigned bits;
    std::memcpy(&bits, &TwoPi, sizeof bits);
    EXPECT_EQ(bits, 0x40C90FDAu);
    EXPECT_EQ(TwoPi, 6.283185f);
    EXPECT_EQ(DefaultSampleRate, 44100.0f);
    EXPECT_EQ(DefaultTempo, 120.0f);
    EXPECT_EQ(BufferSize, 16384);
}

TEST(Halvex, RoundGoesHalfAwayFromZero)
{
    EXPECT_EQ(Round(2.5f), 3);
    EXPECT_EQ(Round(-2.5f), -3);
    EXPECT_EQ(Round(0.49f), 0);
    EXPECT_EQ(Round(6.5f), 7);
    EXPECT_EQ(Round(0.4999f), 0);
}

TEST(Halvex, DecibelText)
{
    char text[8];
    ToDecibelText(0.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    ToDecibelText(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000");
    ToDecibelText(0.5f, text, 8);
    EXPECT_STREQ(text, "-6.021");

    char untouched[4] = {'x', 'y', 'z', 0};
    ToDecibelText(0.5f, untouched, 0);
    EXPECT_STREQ(untouched, "xyz");

    ToDecibelText(0.001f, text, 4);
    EXPECT_STREQ(text, "-60");
}

TEST(Halvex, DecibelTextReportsBadArguments)
{
    AssertionRecorder recorder;
    char text[8];
    ToDecibelText(1.5f, text, 8);
    ToDecibelText(0.5f, nullptr, 8);
    EXPECT_EQ(recorder.expressions(), (std::vector<std::string> {"value >= 0.0f && value <= 1.0f", "text != 0"}));
}

TEST(Halvex, OnOffText)
{
    char text[8];
    ToOnOffText(true, text, 2);
    EXPECT_STREQ(text, "O");
    ToOnOffText(false, text, 3);
    EXPECT_STREQ(text, "Of");
    ToOnOffText(false, text, 8);
    EXPECT_STREQ(text, "Off");
}

TEST(Halvex, TempoConversions)
{
    EXPECT_DOUBLE_EQ(ToSamplesPerBeat(120.0, 44100.0f), 22050.0);
    EXPECT_EQ(ToSamplesPerBeat(0.0, 44100.0f), 0.0);
    EXPECT_NEAR(ToBeatsPerSecond(120.0), 2.0, 1e-15);
    EXPECT_EQ(ToBeatsPerSecond(120.0), 120.0 * 0.016666666666666666);
}

TEST(Halvex, ToBoolSwitchesAtOneHalf)
{
    EXPECT_TRUE(ToBool(0.5f));
    EXPECT_FALSE(ToBool(0.4999f));
}

TEST(Halvex, CopyStringFillsAndTerminates)
{
    char name[8];
    std::memset(name, 'x', sizeof name);
    CopyString(name, "Delay Time", 8);
    EXPECT_STREQ(name, "Delay T");

    std::memset(name, 'x', sizeof name);
    CopyString(name, "On", 8);
    EXPECT_EQ(std::string(name, 8), std::string("On\0\0\0\0\0\0", 8));

    CopyString(name, "On", 1);
    EXPECT_STREQ(name, "");
}

TEST(Halvex, CopyStringReportsNullPointersAndWritesNothingThroughThem)
{
    AssertionRecorder recorder;
    CopyString(nullptr, "x", 8);
    char name[4] = {'a', 'b', 'c', 0};
    CopyString(name, nullptr, 4);
    EXPECT_EQ(recorder.expressions(), (std::vector<std::string> {"destination != 0", "source != 0"}));
    EXPECT_STREQ(name, "");
}
