#include "Parameters/Parameter.h"

#include "Parameters/Displays.h"

#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FrequencyTransform {
    static float Apply(float value) { return value * value * 10.0f; }
};

} // namespace

TEST(Parameter, NotifiesEverySetValueWithTheNewWorkingValueInPlace)
{
    Parameter<float, FrequencyTransform, DisplayFloat> frequency("Freq", "Frequency", "Hz", 0.5f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] {
        char text[8];
        frequency.GetDisplay(text, sizeof text);
        return std::string(text);
    });
    frequency.AddObserver(&reader);
    EXPECT_EQ(frequency.GetTransformedValue(), 2.5f);

    frequency.SetValue(1.0f);
    frequency.SetValue(1.0f);

    EXPECT_EQ(frequency.GetTransformedValue(), 10.0f);
    EXPECT_EQ(log.entries, (std::vector<std::string> {"reader:10.000", "reader:10.000"}));
}
