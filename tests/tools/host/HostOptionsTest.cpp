#include "HostOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Parsed {
    bool ok = false;
    HostOptions options;
    std::string error;
};

Parsed Parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "ombrix-host");
    Parsed parsed;
    parsed.ok = ParseHostOptions(static_cast<int>(arguments.size()), arguments.data(), parsed.options, parsed.error);
    return parsed;
}
} // namespace

TEST(HostOptions, NoArgumentsMeanTheDefaultPluginWithItsOwnProgramAndNoAudio)
{
    const Parsed parsed = Parse({});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.options.pluginPath, "");
    EXPECT_EQ(parsed.options.screenshotPath, "");
    EXPECT_EQ(parsed.options.program, -1);
    EXPECT_FALSE(parsed.options.audio);
    EXPECT_FALSE(parsed.options.point);
    EXPECT_FALSE(parsed.options.help);
}

TEST(HostOptions, ReadsEveryOptionInAnyOrder)
{
    const Parsed parsed
        = Parse({"--audio", "--screenshot", "out.png", "C:\\fx\\Chorus.dll", "--program", "31", "--point", "134,52"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.pluginPath, "C:\\fx\\Chorus.dll");
    EXPECT_EQ(parsed.options.screenshotPath, "out.png");
    EXPECT_EQ(parsed.options.program, 31);
    EXPECT_TRUE(parsed.options.audio);
    EXPECT_TRUE(parsed.options.point);
    EXPECT_EQ(parsed.options.pointX, 134);
    EXPECT_EQ(parsed.options.pointY, 52);
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_TRUE(Parse({"-h"}).options.help);
}

TEST(HostOptions, ProgramMustBeAWholeNonNegativeNumber)
{
    EXPECT_EQ(Parse({"--program", "0"}).options.program, 0);
    for (const char* bad : {"-1", "x", "3x", "", "1.5", "99999999999"}) {
        const Parsed parsed = Parse({"--program", bad});
        EXPECT_FALSE(parsed.ok) << bad;
        EXPECT_NE(parsed.error.find("--program needs a program number"), std::string::npos) << parsed.error;
    }
    const Parsed missing = Parse({"--program"});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "--program needs a program number (0 or more), not nothing");
}

TEST(HostOptions, PointMustBeTwoNonNegativeCoordinates)
{
    EXPECT_TRUE(Parse({"--point", "0,0"}).ok);
    for (const char* bad : {"134", "134,", ",52", "134;52", "-1,5", "5,-1", "1,2,3", "x,y", "40000,1"}) {
        const Parsed parsed = Parse({"--point", bad});
        EXPECT_FALSE(parsed.ok) << bad;
        EXPECT_EQ(parsed.error, "--point needs a position X,Y in editor pixels") << bad;
    }
    EXPECT_FALSE(Parse({"--point"}).ok);
}

TEST(HostOptions, RejectsAMissingScreenshotFileUnknownOptionsAndASecondPlugin)
{
    EXPECT_EQ(Parse({"--screenshot"}).error, "--screenshot needs a file name");
    EXPECT_EQ(Parse({"--screenshot", ""}).error, "--screenshot needs a file name");
    EXPECT_EQ(Parse({"--fast"}).error, "unknown option --fast");
    const Parsed twoPlugins = Parse({"a.dll", "b.dll"});
    EXPECT_FALSE(twoPlugins.ok);
    EXPECT_EQ(twoPlugins.error, "one plug-in at a time: b.dll follows a.dll");
}
