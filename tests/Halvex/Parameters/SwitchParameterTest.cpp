#include "Parameters/SwitchParameter.h"

#include "Parameters/Displays.h"

#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <string>

TEST(SwitchParameter, IsOnFromOneHalfUpAndNotifiesOnlyRealChanges)
{
    SwitchParameter<DisplayOnOff> onOff("On", "Chorus On/Off", "On/Off", 1.0f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] {
        char text[8];
        onOff.GetDisplay(text, sizeof text);
        return std::string(text);
    });
    onOff.AddObserver(&reader);
    EXPECT_TRUE(onOff.IsOn());

    onOff.SetValue(0.7f);
    EXPECT_EQ(onOff.GetValue(), 0.7f);
    EXPECT_TRUE(log.entries.empty());

    onOff.SetValue(0.4999f);
    EXPECT_FALSE(onOff.IsOn());
    onOff.SetValue(0.0f);
    onOff.SetValue(0.5f);
    EXPECT_TRUE(onOff.IsOn());
    EXPECT_EQ(log.entries, (std::vector<std::string> {"reader:Off", "reader:On"}));
}
