#include "Parameters/Parameter.h"

#include "Parameters/Displays.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Records the range of arguments it was given; the result is the argument.
struct RangeRecordingTransform {
    static float lowest;
    static float highest;
    static float Apply(float value)
    {
        lowest = std::fmin(lowest, value);
        highest = std::fmax(highest, value);
        return value;
    }
};
float RangeRecordingTransform::lowest = 0.5f;
float RangeRecordingTransform::highest = 0.5f;

struct DelayTimeTransform {
    static float Apply(float value) { return value * value * 0.024f + 0.001f; }
};

using PlainParameter = Parameter<float, RangeRecordingTransform, DisplayFloat>;

} // namespace

TEST(ParameterBase, StartsAtItsDefaultWithItsNames)
{
    PlainParameter parameter("Depth", "Mod. Depth", "Level", 0.25f);
    EXPECT_EQ(parameter.GetValue(), 0.25f);
    EXPECT_EQ(parameter.GetDefaultValue(), 0.25f);
    EXPECT_STREQ(parameter.GetShortName(), "Depth");
    EXPECT_STREQ(parameter.GetLongName(), "Mod. Depth");
    EXPECT_STREQ(parameter.GetLabel(), "Level");
}

TEST(ParameterBase, CutsNamesToTheirFields)
{
    const std::string longName(70, 'L');
    PlainParameter parameter("Resolution", longName.c_str(), "Dry/Wet!", 0.0f);
    EXPECT_STREQ(parameter.GetShortName(), "Resolut");
    EXPECT_EQ(std::string(parameter.GetLongName()), std::string(63, 'L'));
    EXPECT_STREQ(parameter.GetLabel(), "Dry/Wet");

    PlainParameter exact("Sync123", std::string(63, 'x').c_str(), "Level12", 0.0f);
    EXPECT_STREQ(exact.GetShortName(), "Sync123");
    EXPECT_EQ(std::strlen(exact.GetLongName()), 63u);
    EXPECT_STREQ(exact.GetLabel(), "Level12");
}

TEST(ParameterBase, ReportsBadConstructorArgumentsInOrderAndStaysUsable)
{
    AssertionRecorder recorder;
    PlainParameter parameter(nullptr, nullptr, nullptr, 1.5f);
    const std::vector<std::string> expected{"shortName != 0", "longName", "label != 0",
                                            "defaultValue >= 0.0f && defaultValue <= 1.0f"};
    const std::vector<std::string> reported = recorder.expressions();
    ASSERT_GE(reported.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(reported.begin(), reported.begin() + 4), expected);
    EXPECT_STREQ(parameter.GetShortName(), "");
    EXPECT_STREQ(parameter.GetLongName(), "");
    EXPECT_STREQ(parameter.GetLabel(), "");
    EXPECT_EQ(parameter.GetDefaultValue(), 1.0f);
    EXPECT_EQ(parameter.GetTransformedValue(), 1.0f);
}

TEST(ParameterBase, ClampsValuesOutsideTheUnitRangeAfterReportingThem)
{
    PlainParameter parameter("P", "P", "", 0.5f);
    RangeRecordingTransform::lowest = RangeRecordingTransform::highest = 0.5f;
    AssertionRecorder recorder;

    parameter.SetValue(1.25f);
    EXPECT_EQ(parameter.GetValue(), 1.0f);
    parameter.SetValue(-0.5f);
    EXPECT_EQ(parameter.GetValue(), 0.0f);
    parameter.SetValue(std::numeric_limits<float>::infinity());
    EXPECT_EQ(parameter.GetValue(), 1.0f);

    EXPECT_EQ(recorder.expressions(), std::vector<std::string>(3, "value >= 0.0f && value <= 1.0f"));
    EXPECT_EQ(RangeRecordingTransform::lowest, 0.0f);
    EXPECT_EQ(RangeRecordingTransform::highest, 1.0f);
}

TEST(ParameterBase, IgnoresNaNAfterReportingIt)
{
    PlainParameter parameter("P", "P", "", 0.5f);
    ObserverLog log;
    ObserverLog::Observer observer(log, "o");
    parameter.AddObserver(&observer);
    parameter.SetValue(0.75f);
    AssertionRecorder recorder;

    parameter.SetValue(std::numeric_limits<float>::quiet_NaN());

    EXPECT_EQ(recorder.expressions(), std::vector<std::string>{"value >= 0.0f && value <= 1.0f"});
    EXPECT_EQ(parameter.GetValue(), 0.75f);
    EXPECT_EQ(parameter.GetTransformedValue(), 0.75f);
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST(ParameterBase, NotifiesObserversInOrderOncePerEntry)
{
    PlainParameter parameter("P", "P", "", 0.0f);
    ObserverLog log;
    ObserverLog::Observer first(log, "first");
    ObserverLog::Observer second(log, "second");
    parameter.AddObserver(&first);
    parameter.AddObserver(&second);
    parameter.AddObserver(&first);

    parameter.SetValue(0.5f);

    EXPECT_EQ(log.entries, (std::vector<std::string>{"first", "second", "first"}));
}

TEST(ParameterBase, StatusTextShowsNameDisplayAndLabel)
{
    Parameter<float, DelayTimeTransform, DisplayFloat> delayTime("D Time", "Delay Time", "Secs", 1.0f);
    char text[512];
    delayTime.GetStatusText(text, sizeof text);
    EXPECT_STREQ(text, "Delay Time\n 0.025 Secs");

    char shortText[8];
    delayTime.GetStatusText(shortText, sizeof shortText);
    EXPECT_STREQ(shortText, "Delay T");

    char untouched[4] = {'x', 'y', 'z', 0};
    delayTime.GetStatusText(untouched, 0);
    EXPECT_STREQ(untouched, "xyz");
}
