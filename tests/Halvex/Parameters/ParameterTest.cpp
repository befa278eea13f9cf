#include "Parameters/Parameter.h"

#include "Parameters/Displays.h"

#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FrequencyTransform {
    static float Apply(float value) { return value * value * 10.0f; }
};

using FrequencyParameter = Parameter<float, FrequencyTransform, DisplayFloat>;

} // namespace

TEST(Parameter, WorkingValueFollowsTheTransform)
{
    FrequencyParameter frequency("Freq", "Frequency", "Hz", 0.1f);
    EXPECT_EQ(frequency.GetTransformedValue(), 0.1f * 0.1f * 10.0f);
    frequency.SetValue(1.0f);
    EXPECT_EQ(frequency.GetValue(), 1.0f);
    EXPECT_EQ(frequency.GetTransformedValue(), 10.0f);
}

TEST(Parameter, DisplayShowsTheWorkingValue)
{
    FrequencyParameter frequency("Freq", "Frequency", "Hz", 0.5f);
    char text[8];
    frequency.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "2.500");
}

TEST(Parameter, NotifiesOnEverySetValueAfterUpdatingTheWorkingValue)
{
    FrequencyParameter frequency("Freq", "Frequency", "Hz", 0.0f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] { return std::to_string(frequency.GetTransformedValue()); });
    frequency.AddObserver(&reader);

    frequency.SetValue(1.0f);
    frequency.SetValue(1.0f);

    EXPECT_EQ(log.entries, (std::vector<std::string>{"reader:10.000000", "reader:10.000000"}));
}
