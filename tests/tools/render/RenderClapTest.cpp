// ombrix-render with a CLAP plug-in: OmbrixChorus.clap renders the same bits
// as the VST 2.4 build for the same program, parameters and controller
// changes, in blocks of any size.

#include "RenderToolFixture.h"

#if defined(OMBRIX_CHORUS) && defined(OMBRIX_CHORUS_CLAP)

namespace {

// The same sound asked of both builds.
const std::vector<std::vector<std::string>> Settings = {
    {"--program", "Deep Flange"},
    {"--program", "Lite Chorus", "--param", "Delay Time=12 ms", "--param", "Mix=0.3", "--block", "37"},
    {"--program", "Twangy Vibrato  (MW)", "--cc", "1=100@0.2", "--cc", "93=64@0.5", "--cc", "18=127@0.7", "--block",
        "1001"},
    {"--program", "11", "--param", "Quad Mode=Off", "--block", "4096", "--tempo", "90"},
    {"--param", "Frequency=2.5 Hz", "--param", "Chorus On/Off=off", "--cc", "80=127@0.3", "--block", "1"},
};

} // namespace

TEST_F(RenderToolTest, ClapRendersTheSameBitsAsTheVstBuild)
{
    WriteSignal(Path("in.wav"), 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    for (const std::vector<std::string>& setting : Settings) {
        const Audio vst = Render(Joined({"--plugin", OMBRIX_CHORUS, Path("in.wav")}, setting), "vst.wav");
        const Audio clap = Render(Joined({"--plugin", OMBRIX_CHORUS_CLAP, Path("in.wav")}, setting), "clap.wav");
        EXPECT_EQ(clap.info.frames, vst.info.frames) << setting[1];
        EXPECT_TRUE(clap.samples == vst.samples) << setting[1];
    }
}

TEST_F(RenderToolTest, ClapListingShowsDescriptorProgramsAndParameters)
{
    const RunResult listing = Run({"--plugin", OMBRIX_CHORUS_CLAP, "--program", "Room", "--list"});
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    for (const char* line : {"Plug-in:     Ombrix Chorus (CLAP)\n", "Id:          com.tervane.ombrix-chorus\n",
             "Programs:    32 (in the plug-in's state)\n", "   10  Room\n",
             "    1  Delay Time       25.0 ms    (1 of 0 to 1)\n",
             "    0  Chorus On/Off    On         (1 of 0 to 1) stepped\n"}) {
        EXPECT_NE(listing.out.find(line), std::string::npos) << line << listing.out;
    }
}

TEST_F(RenderToolTest, VstPresetFilesAreRefusedForClap)
{
    const RunResult saved = Run({"--plugin", OMBRIX_CHORUS, "--save-preset", Path("room.fxp"), "--program", "Room"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const RunResult refused
        = Run({"--plugin", OMBRIX_CHORUS_CLAP, "--preset", Path("room.fxp"), "-o", Path("out.wav")});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("--preset: .fxp and .fxb presets are for VST 2.4 plug-ins"), std::string::npos)
        << refused.err;
    EXPECT_EQ(FileNames().count("out.wav"), 0u);
    const RunResult notSaved = Run({"--plugin", OMBRIX_CHORUS_CLAP, "--save-preset", Path("clap.fxb")});
    EXPECT_NE(notSaved.exitCode, 0);
    EXPECT_EQ(FileNames().count("clap.fxb"), 0u);
}

#endif
