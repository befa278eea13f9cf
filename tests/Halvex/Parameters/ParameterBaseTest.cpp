#include "Parameters/Parameter.h"

#include "Parameters/Displays.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// The identity, remembering the widest range of arguments it was given.
struct RangeRecordingTransform {
    static inline float lowest = 0.5f;
    static inline float highest = 0.5f;
    static float Apply(float value)
    {
        lowest = std::fmin(lowest, value);
        highest = std::fmax(highest, value);
        return value;
    }
};

struct DelayTimeTransform {
    static float Apply(float value) { return value * value * 0.024f + 0.001f; }
};

using PlainParameter = Parameter<float, RangeRecordingTransform, DisplayFloat>;

} // namespace

TEST(ParameterBase, KeepsItsDefaultAndCutsNamesToTheirFields)
{
    PlainParameter fits("Sync123", std::string(63, 'L').c_str(), "Dry/Wet", 0.25f);
    EXPECT_EQ(fits.GetValue(), 0.25f);
    EXPECT_EQ(fits.GetDefaultValue(), 0.25f);
    EXPECT_STREQ(fits.GetShortName(), "Sync123");
    EXPECT_EQ(fits.GetLongName(), std::string(63, 'L'));
    EXPECT_STREQ(fits.GetLabel(), "Dry/Wet");

    PlainParameter cut("Resolution", std::string(70, 'L').c_str(), "Dry/Wet!", 0.0f);
    EXPECT_STREQ(cut.GetShortName(), "Resolut");
    EXPECT_EQ(cut.GetLongName(), std::string(63, 'L'));
    EXPECT_STREQ(cut.GetLabel(), "Dry/Wet");
}

TEST(ParameterBase, ReportsBadConstructorArgumentsInOrderAndStaysUsable)
{
    AssertionRecorder recorder;
    PlainParameter parameter(nullptr, nullptr, nullptr, 1.5f);
    const std::vector<std::string> reported = recorder.expressions();
    ASSERT_GE(reported.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(reported.begin(), reported.begin() + 4),
        (std::vector<std::string> {
            "shortName != 0", "longName", "label != 0", "defaultValue >= 0.0f && defaultValue <= 1.0f"}));
    EXPECT_STREQ(parameter.GetShortName(), "");
    EXPECT_STREQ(parameter.GetLongName(), "");
    EXPECT_EQ(parameter.GetDefaultValue(), 1.0f);
    EXPECT_EQ(parameter.GetTransformedValue(), 1.0f);
}

TEST(ParameterBase, ClampsOutOfRangeValuesAndIgnoresNaNAfterReportingThem)
{
    PlainParameter parameter("P", "P", "", 0.5f);
    ObserverLog log;
    ObserverLog::Observer observer(log, "o");
    parameter.AddObserver(&observer);
    AssertionRecorder recorder;

    parameter.SetValue(1.25f);
    EXPECT_EQ(parameter.GetValue(), 1.0f);
    parameter.SetValue(-std::numeric_limits<float>::infinity());
    EXPECT_EQ(parameter.GetValue(), 0.0f);
    parameter.SetValue(0.75f);
    parameter.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(parameter.GetValue(), 0.75f);
    EXPECT_EQ(parameter.GetTransformedValue(), 0.75f);

    EXPECT_EQ(recorder.expressions(), std::vector<std::string>(3, "value >= 0.0f && value <= 1.0f"));
    EXPECT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(RangeRecordingTransform::lowest, 0.0f);
    EXPECT_EQ(RangeRecordingTransform::highest, 1.0f);
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

    EXPECT_EQ(log.entries, (std::vector<std::string> {"first", "second", "first"}));
}

TEST(ParameterBase, StatusTextShowsNameDisplayAndLabel)
{
    Parameter<float, DelayTimeTransform, DisplayFloat> delayTime("D Time", "Delay Time", "Secs", 1.0f);
    char text[512];
    delayTime.GetStatusText(text, sizeof text);
    EXPECT_STREQ(text, "Delay Time\n 0.025 Secs");
    delayTime.GetStatusText(text, 8);
    EXPECT_STREQ(text, "Delay T");

    char untouched[4] = "xyz";
    delayTime.GetStatusText(untouched, 0);
    EXPECT_STREQ(untouched, "xyz");
}
