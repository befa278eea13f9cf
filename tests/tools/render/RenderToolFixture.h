#pragma once

// Runs the ombrix-render executable in a scratch folder of its own and reads what it writes.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <set>
#include <string>
#include <vector>

constexpr int TestRate = 44100;
constexpr sf_count_t TestFrames = TestRate; // one second

struct Audio {
    SF_INFO info {};
    std::vector<float> samples; // interleaved
};

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path);
Audio ReadAudio(const std::string& path);
/// A deterministic test signal: a tone per channel plus a little noise, below full scale.
void WriteSignal(const std::string& path, int channels, int format, sf_count_t frames = TestFrames);
/// Writes interleaved samples as a file of `format` at TestRate.
void WriteSamples(const std::string& path, int channels, int format, const std::vector<float>& samples);

/// The arguments of `first`, then those of `second`.
std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string>& second);

/// A fresh scratch folder per test, with helpers to run the tool inside it.
class RenderToolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& name) const { return folder + "/" + name; }
    /// The names in the scratch folder, or in a folder inside it.
    std::set<std::string> FileNames(const std::string& subfolder = std::string()) const;
    RunResult Run(const std::vector<std::string>& arguments) const;
    /// Renders and expects success; answers the output.
    Audio Render(std::vector<std::string> arguments, const std::string& output);

    std::string folder;
};
