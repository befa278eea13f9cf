#include "Parameters/SwitchParameter.h"

#include "Parameters/Displays.h"

#include "ObserverLog.h"

#include <gtest/gtest.h>

#include <string>

using OnOffSwitch = SwitchParameter<DisplayOnOff>;

TEST(SwitchParameter, IsOnFromOneHalfUp)
{
    OnOffSwitch onOff("On", "Chorus On/Off", "On/Off", 1.0f);
    EXPECT_TRUE(onOff.IsOn());
    onOff.SetValue(0.4999f);
    EXPECT_FALSE(onOff.IsOn());
    onOff.SetValue(0.5f);
    EXPECT_TRUE(onOff.IsOn());
    EXPECT_FALSE(OnOffSwitch("MW", "Mod. Wheel", "On/Off", 0.0f).IsOn());
}

TEST(SwitchParameter, NotifiesOnlyWhenTheStateChanges)
{
    OnOffSwitch onOff("On", "Chorus On/Off", "On/Off", 1.0f);
    ObserverLog log;
    ObserverLog::Observer reader(log, "reader", [&] { return std::string(onOff.IsOn() ? "on" : "off"); });
    onOff.AddObserver(&reader);

    onOff.SetValue(0.7f);
    EXPECT_EQ(onOff.GetValue(), 0.7f);
    EXPECT_TRUE(log.entries.empty());

    onOff.SetValue(0.2f);
    onOff.SetValue(0.2f);
    onOff.SetValue(0.0f);
    onOff.SetValue(1.0f);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"reader:off", "reader:on"}));
}

TEST(SwitchParameter, DisplayShowsOnOrOff)
{
    OnOffSwitch onOff("On", "Chorus On/Off", "On/Off", 1.0f);
    char text[8];
    onOff.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "On");
    onOff.SetValue(0.0f);
    onOff.GetDisplay(text, sizeof text);
    EXPECT_STREQ(text, "Off");
}
