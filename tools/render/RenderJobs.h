#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

/// One file to render: where from (empty: the built-in demo phrase) and where to.
struct RenderJob {
    std::string inputPath;
    std::string outputPath;
};

/// The jobs of a batch: every input rendered into `folder` under its own file name, with the
/// extension of `format` instead of its own when one is given (a libsndfile major format; 0 keeps
/// the input's). Refuses, answering false with the reason, when two inputs would be written to
/// the same file or an output would replace its own input.
bool PlanBatch(const std::vector<std::string>& inputs, const std::string& folder, int format,
    std::vector<RenderJob>& jobs, std::string& error);

/// Creates `folder` unless it exists; answers false with the reason when it cannot be a folder.
bool MakeFolder(const std::string& folder, std::string& error);

/// Calls `run` once with each index below `jobCount`, on at most `threadCount` threads of its own
/// that take the jobs in order as they become free; returns when every call has returned.
void RunOnThreads(std::size_t jobCount, int threadCount, const std::function<void(std::size_t)>& run);
