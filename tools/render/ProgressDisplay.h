#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

/// The one progress bar of a run, redrawn in place on standard error when that is a terminal:
/// the share of the work done, every file weighing the same, and with several files how many are
/// finished. Lines printed through it appear above the bar. Any thread may call it.
class ProgressDisplay {
public:
    /// The work done is counted in units, this many to a file.
    static constexpr std::int64_t UnitsPerFile = 1000000;

    explicit ProgressDisplay(std::size_t fileCount);

    void Advance(std::int64_t units);
    void FinishFile();
    /// Writes `line` (without its newline) to standard error.
    void Print(const std::string& line);
    /// Takes the bar off the screen.
    void Clear();

private:
    void DrawLocked();
    void EraseLocked();

    static constexpr int Width = 40;
    const std::int64_t fileCount;
    const bool shown;
    std::atomic<std::int64_t> unitsDone {0};
    std::atomic<std::int64_t> filesDone {0};
    std::atomic<int> drawnPercent {-1};
    std::mutex output;
    bool onScreen = false;
};

/// One file's share of a ProgressDisplay: how many of its frames are done. Its destructor counts
/// the file as finished. Used by the thread that renders the file.
class FileProgress {
public:
    /// `totalFrames` may be unknown (0 or less): the file then counts once finished.
    FileProgress(ProgressDisplay& display, std::int64_t totalFrames);
    ~FileProgress();
    FileProgress(const FileProgress&) = delete;
    FileProgress& operator=(const FileProgress&) = delete;

    /// The frames done so far; more than the total counts as the total.
    void Update(std::int64_t frames);

private:
    ProgressDisplay& display;
    std::int64_t totalFrames;
    std::int64_t unitsReported = 0;
};
