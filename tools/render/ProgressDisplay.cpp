#include "ProgressDisplay.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

ProgressDisplay::ProgressDisplay(std::size_t fileCount)
    : fileCount(static_cast<std::int64_t>(std::max<std::size_t>(fileCount, 1)))
    , shown(isatty(STDERR_FILENO) != 0)
{
}

void ProgressDisplay::Advance(std::int64_t units)
{
    const std::int64_t done = unitsDone += units;
    const auto percent = static_cast<int>(100 * std::min(done, fileCount * UnitsPerFile) / (fileCount * UnitsPerFile));
    // Only a changed percentage is drawn, and only one thread draws at a time.
    if (shown && percent != drawnPercent.load()) {
        std::lock_guard<std::mutex> lock(output);
        DrawLocked();
    }
}

void ProgressDisplay::FinishFile()
{
    ++filesDone;
    if (shown && fileCount > 1) {
        std::lock_guard<std::mutex> lock(output);
        DrawLocked();
    }
}

void ProgressDisplay::Print(const std::string& line)
{
    std::lock_guard<std::mutex> lock(output);
    EraseLocked();
    std::fprintf(stderr, "%s\n", line.c_str());
    if (drawnPercent.load() >= 0)
        DrawLocked();
}

void ProgressDisplay::Clear()
{
    std::lock_guard<std::mutex> lock(output);
    EraseLocked();
    drawnPercent = -1;
}

void ProgressDisplay::DrawLocked()
{
    if (!shown)
        return;
    const std::int64_t done = std::min(unitsDone.load(), fileCount * UnitsPerFile);
    const auto percent = static_cast<int>(100 * done / (fileCount * UnitsPerFile));
    const int filled = percent * Width / 100;
    std::string text = "\r[" + std::string(static_cast<std::size_t>(filled), '#')
        + std::string(static_cast<std::size_t>(Width - filled), ' ') + "] " + std::to_string(percent) + "%";
    if (fileCount > 1)
        text += "  " + std::to_string(filesDone.load()) + "/" + std::to_string(fileCount) + " files";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
    drawnPercent = percent;
    onScreen = true;
}

void ProgressDisplay::EraseLocked()
{
    if (onScreen)
        std::fprintf(stderr, "\r%s\r", std::string(Width + 24, ' ').c_str());
    onScreen = false;
}

FileProgress::FileProgress(ProgressDisplay& display, std::int64_t totalFrames)
    : display(display)
    , totalFrames(totalFrames)
{
}

FileProgress::~FileProgress()
{
    display.Advance(ProgressDisplay::UnitsPerFile - unitsReported);
    display.FinishFile();
}

void FileProgress::Update(std::int64_t frames)
{
    if (totalFrames <= 0)
        return;
    const std::int64_t units = ProgressDisplay::UnitsPerFile * std::min(frames, totalFrames) / totalFrames;
    if (units > unitsReported) {
        display.Advance(units - unitsReported);
        unitsReported = units;
    }
}
