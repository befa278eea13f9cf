// The facts ombrix-scan reads from the shipped binary through its entry
// point, held against the product's own description: defaults through a
// program chunk of NaNs, controllers through MIDI control changes, programs
// through effSetProgram.

#include "OmbrixChorusDescription.h"
#include "PluginFacts.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class PluginFactsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(library.Load(OMBRIX_CHORUS_PATH, error)) << error;
        ASSERT_TRUE(ReadPluginFacts(library, facts, error)) << error;
        ASSERT_TRUE(reference.Open(library, error)) << error;
    }

    // The text the plug-in shows for a normalised value, read on an instance of its own.
    std::string DisplayAt(int index, float value)
    {
        reference.SetParameter(index, value);
        return reference.GetParameterDisplay(index);
    }

    PluginLibrary library;
    PluginFacts facts;
    PluginHost reference;
};

TEST_F(PluginFactsTest, ParametersAreTheDescribedOnesWithTheirDefaultsAndControllers)
{
    ASSERT_EQ(facts.parameters.size(), std::size(OmbrixChorusParameters));
    for (const ParameterDescription& described : OmbrixChorusParameters) {
        const ParameterFacts& read = facts.parameters[static_cast<std::size_t>(described.id)];
        SCOPED_TRACE(described.names.longName);
        EXPECT_EQ(read.longName, described.names.longName);
        EXPECT_EQ(read.shortName, described.names.shortName);
        EXPECT_EQ(read.label, described.names.vstLabel);
        EXPECT_EQ(read.isSwitch, described.IsSwitch());
        EXPECT_EQ(read.controllers, std::vector<int> {described.midiController});
        EXPECT_EQ(read.defaultText, DisplayAt(described.id, described.defaultValue));
        EXPECT_EQ(read.minimumText, DisplayAt(described.id, 0.0f));
        EXPECT_EQ(read.maximumText, DisplayAt(described.id, 1.0f));
        EXPECT_EQ(read.controllerTexts.size(), std::size(ControllerProbeValues));
    }
    EXPECT_EQ(facts.parameters[ParameterId::Mix].controllerTexts, (std::vector<std::string> {"0", "50", "100"}));
    EXPECT_EQ(facts.parameters[ParameterId::ModWheel].controllerTexts, (std::vector<std::string> {"Off", "On", "On"}));
}

TEST_F(PluginFactsTest, ProgramsAreTheFactoryBank)
{
    ASSERT_EQ(facts.programs.size(), std::size(OmbrixChorusFactoryPrograms));
    for (std::size_t number = 0; number < facts.programs.size(); ++number) {
        const auto& factory = OmbrixChorusFactoryPrograms[number];
        SCOPED_TRACE(factory.name);
        EXPECT_EQ(facts.programs[number].name, factory.name);
        ASSERT_EQ(facts.programs[number].texts.size(), std::size(OmbrixChorusParameters));
        for (int index = 0; index < static_cast<int>(std::size(OmbrixChorusParameters)); ++index)
            EXPECT_EQ(
                facts.programs[number].texts[static_cast<std::size_t>(index)], DisplayAt(index, factory.values[index]));
    }
}

#if defined(FIXTURE_GAIN)
// A plug-in that keeps whatever a chunk holds would print "nan" as its
// defaults: the tool says it cannot read them instead.
TEST(PluginFacts, APlugInThatKeepsNotANumberHasNoDefaultsToRead)
{
    PluginLibrary library;
    std::string error;
    ASSERT_TRUE(library.Load(FIXTURE_GAIN, error)) << error;
    PluginFacts facts;
    EXPECT_FALSE(ReadPluginFacts(library, facts, error));
    EXPECT_NE(error.find("keeps a value that is not a number"), std::string::npos) << error;
}
#endif

} // namespace
