#include "Parameters/Displays.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename Display, typename Value>
std::string Show(Value value, int count = 8)
{
    char text[32];
    Display::Format(text, count, value);
    return text;
}

} // namespace

TEST(Displays, TextsAreCutToTheBuffer)
{
    EXPECT_EQ(Show<DisplayFloat>(0.025f), "0.025");
    EXPECT_EQ(Show<DisplayFloat>(1234.5f), "1234.50");
    EXPECT_EQ(Show<DisplayFloatToInteger>(0.5f), "50");
    EXPECT_EQ(Show<DisplayFloatToInteger>(0.25f), "25");
    EXPECT_EQ(Show<DisplayFloatToInteger>(0.006f), "1");
    EXPECT_EQ(Show<DisplayFloatToInteger>(0.004f), "0");
    EXPECT_EQ(Show<DisplayFloatToInteger>(1.0f, 3), "10");
    EXPECT_EQ(Show<DisplayOnOff>(true), "On");
    EXPECT_EQ(Show<DisplayOnOff>(false), "Off");
    EXPECT_EQ(Show<DisplayOnOff>(true, 2), "O");
}

TEST(Displays, ReportBadBuffersAndWriteNothing)
{
    AssertionRecorder recorder;
    DisplayFloat::Format(nullptr, 8, 1.0f);
    DisplayFloatToInteger::Format(nullptr, 8, 1.0f);
    DisplayOnOff::Format(nullptr, 8, true);
    char text[4] = "xyz";
    DisplayFloat::Format(text, -1, 1.0f);
    DisplayOnOff::Format(text, 0, true);
    EXPECT_STREQ(text, "xyz");
    EXPECT_EQ(recorder.expressions(), (std::vector<std::string> {"text != 0", "text != 0", "text != 0", "count >= 0"}));
}
