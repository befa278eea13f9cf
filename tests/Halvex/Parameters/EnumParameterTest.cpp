#include "Parameters/EnumParameter.h"

#include "AssertionRecorder.h"
#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

const char* const Resolutions[] = {"16/1", "8/1", "4/1", "2/1", "1/1", "1/2", "1/4", "1/8", "1/16"};

} // namespace

TEST(EnumParameter, RoundsToTheNearestItemAndNotifiesOnlyRealChanges)
{
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.0f, Resolutions, 9);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] { return std::to_string(resolution.GetSelectedIndex()); });
    resolution.AddObserver(&reader);

    resolution.SetValue(0.06f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);
    resolution.SetValue(0.0625f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 1);
    resolution.SetValue(0.07f);
    resolution.SetValue(1.0f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 8);
    EXPECT_EQ(log.entries, (std::vector<std::string> {"reader:1", "reader:8"}));

    resolution.SetValue(0.75f);
    char status[64];
    resolution.GetStatusText(status, sizeof status);
    EXPECT_STREQ(status, "Sync Resolution\n 1/4 Res");
}

TEST(EnumParameter, NeverIndexesOutsideItsTable)
{
    AssertionRecorder recorder;
    EnumParameter resolution("SyncRes", "Sync Resolution", "Res", 0.0f, Resolutions, 9);
    resolution.SetValue(3.0f);
    EXPECT_EQ(resolution.GetSelectedIndex(), 8);
    resolution.SetValue(-1.0f);
    resolution.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(resolution.GetSelectedIndex(), 0);

    EnumParameter noNames("X", "X", "", 1.0f, nullptr, 3);
    EnumParameter noItems("Y", "Y", "", 1.0f, Resolutions, 0);
    EXPECT_EQ(noItems.GetSelectedIndex(), 0);
    char text[8] = "stale";
    noNames.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "");
    noItems.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "");

    const std::vector<std::string> reported = recorder.expressions();
    EXPECT_EQ(std::vector<std::string>(reported.end() - 2, reported.end()),
        (std::vector<std::string> {"itemNames != 0", "itemCount > 0"}));
}
