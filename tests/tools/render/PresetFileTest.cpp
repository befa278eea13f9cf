#include "PresetFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {
PresetFile OpaqueProgram()
{
    PresetFile preset;
    preset.pluginId = ToFourCharCode("OmCh");
    preset.pluginVersion = 1;
    preset.parameterCount = 8;
    preset.programName = "Lite Chorus";
    preset.chunk = {'a', 'b', '\0', 'c'};
    return preset;
}

PresetFile PlainBank()
{
    PresetFile preset;
    preset.isBank = true;
    preset.isOpaque = false;
    preset.pluginId = ToFourCharCode("FxGn");
    preset.pluginVersion = 7;
    preset.parameterCount = 2;
    preset.programCount = 2;
    preset.currentProgram = 1;
    preset.programs = {{"First", {0.25f, 1.0f}}, {"Second", {0.0f, 0.5f}}};
    return preset;
}

TEST(PresetFileTest, OpaqueProgramHasTheStandardLayout)
{
    const std::string bytes = SerializePresetFile(OpaqueProgram());
    ASSERT_EQ(bytes.size(), 60u + 4u);
    EXPECT_EQ(bytes.substr(0, 4), "CcnK");
    EXPECT_EQ(bytes.substr(4, 4), std::string("\0\0\0\x38", 4)); // byte size after this field
    EXPECT_EQ(bytes.substr(8, 4), "FPCh");
    EXPECT_EQ(bytes.substr(16, 4), "OmCh");
    EXPECT_EQ(bytes.substr(28, 12), std::string("Lite Chorus\0", 12));
    EXPECT_EQ(bytes.substr(56, 8),
        std::string("\0\0\0\x04"
                    "ab\0c",
            8));
}

TEST(PresetFileTest, EveryFormRoundTrips)
{
    PresetFile opaqueBank = OpaqueProgram();
    opaqueBank.isBank = true;
    opaqueBank.programCount = 32;
    opaqueBank.currentProgram = 5;
    PresetFile plainProgram = PlainBank();
    plainProgram.isBank = false;
    plainProgram.programs.resize(1);

    for (const PresetFile& original : {OpaqueProgram(), opaqueBank, plainProgram, PlainBank()}) {
        PresetFile parsed;
        std::string error;
        ASSERT_TRUE(ParsePresetFile(SerializePresetFile(original), parsed, error)) << error;
        EXPECT_EQ(parsed.isBank, original.isBank);
        EXPECT_EQ(parsed.isOpaque, original.isOpaque);
        EXPECT_EQ(parsed.pluginId, original.pluginId);
        EXPECT_EQ(parsed.pluginVersion, original.pluginVersion);
        EXPECT_EQ(parsed.chunk, original.chunk);
        if (!(original.isBank && original.isOpaque)) // an opaque bank states no parameter count
        {
            EXPECT_EQ(parsed.parameterCount, original.parameterCount);
        }
        if (original.isBank) {
            EXPECT_EQ(parsed.programCount, original.programCount);
            EXPECT_EQ(parsed.currentProgram, original.currentProgram);
        }
        ASSERT_EQ(parsed.programs.size(), original.programs.size());
        for (std::size_t i = 0; i < parsed.programs.size(); ++i) {
            EXPECT_EQ(parsed.programs[i].name, original.programs[i].name);
            EXPECT_EQ(parsed.programs[i].values, original.programs[i].values);
        }
    }
}

TEST(PresetFileTest, EveryTruncationIsRefused)
{
    for (const PresetFile& original : {OpaqueProgram(), PlainBank()}) {
        const std::string bytes = SerializePresetFile(original);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            PresetFile parsed;
            std::string error;
            EXPECT_FALSE(ParsePresetFile(bytes.substr(0, length), parsed, error)) << length;
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(PresetFileTest, SizesBeyondTheRecordAreRefused)
{
    std::string chunkTooLong = SerializePresetFile(OpaqueProgram());
    chunkTooLong[59] = 5; // one byte more than the record holds
    std::string tooManyPrograms = SerializePresetFile(PlainBank());
    tooManyPrograms[27] = 3;
    std::string negativeCount = SerializePresetFile(PlainBank());
    negativeCount[24] = '\xFF';

    for (const std::string& bytes : {chunkTooLong, tooManyPrograms, negativeCount}) {
        PresetFile parsed;
        std::string error;
        EXPECT_FALSE(ParsePresetFile(bytes, parsed, error));
        EXPECT_FALSE(error.empty());
    }
}
} // namespace
