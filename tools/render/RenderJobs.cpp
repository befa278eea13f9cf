#include "RenderJobs.h"

#include "AudioFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

namespace {
std::string FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithExtension(const std::string& fileName, const std::string& extension)
{
    // A leading dot starts a hidden file's name, not its extension.
    const auto dot = fileName.rfind('.');
    return (dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot)) + extension;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first { };
    struct stat second { };
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}
} // namespace

bool PlanBatch(const std::vector<std::string>& inputs, const std::string& folder, int format,
    std::vector<RenderJob>& jobs, std::string& error)
{
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::map<std::string, std::string> inputByOutput;
    jobs.clear();
    for (const std::string& input : inputs) {
        const std::string name
            = format != 0 ? WithExtension(FileNameOf(input), ExtensionOf(format)) : FileNameOf(input);
        const std::string output = prefix + name;
        const auto earlier = inputByOutput.find(output);
        if (earlier != inputByOutput.end()) {
            error = earlier->second + " and " + input + " would both be written to " + output;
            return false;
        }
        if (SameFile(input, output)) {
            error = output + " would replace its own input; choose another --output-dir";
            return false;
        }
        inputByOutput.emplace(output, input);
        jobs.push_back({input, output});
    }
    return true;
}

bool MakeFolder(const std::string& folder, std::string& error)
{
    if (mkdir(folder.c_str(), 0777) == 0)
        return true;
    const int reason = errno;
    struct stat status { };
    if (reason == EEXIST && stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        return true;
    error = "cannot make the output folder " + folder + ": "
        + (reason == EEXIST ? std::string("a file of that name is in the way") : std::strerror(reason));
    return false;
}

void RunOnThreads(std::size_t jobCount, int threadCount, const std::function<void(std::size_t)>& run)
{
    std::atomic<std::size_t> nextJob {0};
    const auto work = [&] {
        for (std::size_t job = nextJob++; job < jobCount; job = nextJob++)
            run(job);
    };
    std::vector<std::thread> threads;
    const std::size_t count = std::min<std::size_t>(jobCount, static_cast<std::size_t>(std::max(threadCount, 1)));
    for (std::size_t i = 0; i < count; ++i)
        threads.emplace_back(work);
    for (std::thread& thread : threads)
        thread.join();
}
