#include "Assert.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {
int CheckPositive(int value)
{
    HALVEX_ASSERT(value > 0);
    return value;
}
} // namespace

TEST(Assert, ReportsExpressionFileAndLineToTheInstalledHandler)
{
    AssertionRecorder recorder;
    EXPECT_EQ(CheckPositive(1), 1);
    EXPECT_TRUE(recorder.empty());

    EXPECT_EQ(CheckPositive(-1), -1) << "execution continues after a report";
    ASSERT_EQ(recorder.reports().size(), 1u);
    EXPECT_EQ(recorder.reports()[0].expression, "value > 0");
    EXPECT_EQ(recorder.reports()[0].file, "tests/Halvex/AssertTest.cpp");
    EXPECT_GT(recorder.reports()[0].line, 0);
}

TEST(Assert, DefaultHandlerCountsAndCarriesOn)
{
    long before = GetDefaultAssertionCount();
    ::testing::internal::CaptureStderr();
    CheckPositive(0);
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(GetDefaultAssertionCount(), before + 1);
    EXPECT_NE(printed.find("\"value > 0\""), std::string::npos) << printed;
    EXPECT_NE(printed.find("tests/Halvex/AssertTest.cpp"), std::string::npos) << printed;
}
