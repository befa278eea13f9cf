#include "Parameters/EnumParameter.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

const char* const Resolutions[] = {"16/1", "8/1", "4/1", "2/1", "1/1", "1/2", "1/4", "1/8", "1/16"};
constexpr int ResolutionCount = 9;

} // namespace

TEST(EnumParameter, RoundsTheValueToTheNearestItem)
{
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.0f, Resolutions, ResolutionCount);
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);
    resolution.SetValue(0.0625f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 1);
    resolution.SetValue(0.06f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);
    resolution.SetValue(1.0f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 8);
    resolution.SetValue(0.5f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 4);

    const char* const single[] = {"Only"};
    EnumParameter one("One", "One", "", 1.0f, single, 1);
    EXPECT_EQ(one.GetSelectedIndex(), 0);
}

TEST(EnumParameter, NotifiesOnlyWhenTheIndexChanges)
{
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.0f, Resolutions, ResolutionCount);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] { return std::to_string(resolution.GetSelectedIndex()); });
    resolution.AddObserver(&reader);

    resolution.SetValue(0.06f);
    resolution.SetValue(0.0625f);
    resolution.SetValue(0.07f);
    resolution.SetValue(1.0f);

    EXPECT_EQ(log.entries, (std::vector<std::string>{"reader:1", "reader:8"}));
}

TEST(EnumParameter, DisplayShowsTheSelectedItem)
{
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.75f, Resolutions, ResolutionCount);
    char text[8];
    resolution.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "1/4");
    char status[64];
    resolution.GetStatusText(status, sizeof status);
    EXPECT_STREQ(status, "Sync Resolution\n 1/4 Res");
}

TEST(EnumParameter, NeverIndexesOutsideItsTable)
{
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.0f, Resolutions, ResolutionCount);
    AssertionRecorder recorder;
    resolution.SetValue(3.0f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 8);
    resolution.SetValue(-1.0f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);
    resolution.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);
    EXPECT_EQ(recorder.expressions().size(), 3u);
}

TEST(EnumParameter, ReportsAMissingTableAndShowsNothing)
{
    AssertionRecorder recorder;
    EnumParameter noNames("X", "X", "", 1.0f, nullptr, 3);
    EnumParameter noItems("Y", "Y", "", 1.0f, Resolutions, 0);
    EXPECT_EQ(recorder.expressions(), (std::vector<std::string>{"itemNames != 0", "itemCount > 0"}));

    EXPECT_EQ(noItems.GetSelectedIndex(), 0);
    noItems.SetValue(1.0f);
    EXPECT_EQ(noItems.GetSelectedIndex(), 0);
    char text[8] = "stale";
    noNames.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "");
    noItems.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "");
}
