#include "RenderToolFixture.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

std::string ReadText(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

Audio ReadAudio(const std::string& path)
{
    Audio audio;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &audio.info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return audio;
    }
    audio.samples.resize(static_cast<std::size_t>(audio.info.frames * audio.info.channels));
    sf_readf_float(file, audio.samples.data(), audio.info.frames);
    sf_close(file);
    return audio;
}

void WriteSamples(const std::string& path, int channels, int format, const std::vector<float>& samples)
{
    SF_INFO info {};
    info.samplerate = TestRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()) / channels);
    sf_close(file);
}

void WriteSignal(const std::string& path, int channels, int format, sf_count_t frames)
{
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    unsigned noise = 12345u;
    for (sf_count_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const double tone = 0.4 * std::sin(2.0 * M_PI * (220.0 + 110.0 * c) * static_cast<double>(i) / TestRate);
            samples[static_cast<std::size_t>(i * channels + c)]
                = static_cast<float>(tone + 0.05 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0));
        }
    }
    WriteSamples(path, channels, format, samples);
}

std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

void RenderToolTest::SetUp()
{
    std::string pattern = std::string(TEST_SCRATCH_DIR) + "/render-XXXXXX";
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    folder = pattern;
}

void RenderToolTest::TearDown()
{
    for (const std::string& name : FileNames()) {
        struct stat status { };
        if (stat(Path(name).c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            for (const std::string& inner : FileNames(name))
                std::remove(Path(name + "/" + inner).c_str());
            rmdir(Path(name).c_str());
        } else {
            std::remove(Path(name).c_str());
        }
    }
    rmdir(folder.c_str());
}

std::set<std::string> RenderToolTest::FileNames(const std::string& subfolder) const
{
    std::set<std::string> names;
    DIR* directory = opendir(subfolder.empty() ? folder.c_str() : Path(subfolder).c_str());
    while (dirent* entry = directory != nullptr ? readdir(directory) : nullptr)
        if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
            names.insert(entry->d_name);
    if (directory != nullptr)
        closedir(directory);
    return names;
}

RunResult RenderToolTest::Run(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> all {RENDER_TOOL};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    // The tool's output goes beside the scratch folder, so that it never shows among its files.
    const std::string outPath = folder + ".stdout";
    const std::string errPath = folder + ".stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    RunResult result;
    pid_t child = 0;
    if (posix_spawn(&child, RENDER_TOOL, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return result;
}

Audio RenderToolTest::Render(std::vector<std::string> arguments, const std::string& output)
{
    arguments.push_back("-o");
    arguments.push_back(Path(output));
    const RunResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return ReadAudio(Path(output));
}
