// ombrix-bench-count: runs a known number of frames through one scenario so
// that callgrind can count the instructions per frame. Only MeasuredFrames is
// meant to be counted (valgrind --tool=callgrind --toggle-collect=MeasuredFrames);
// loading the plug-in and warming it up happen outside it.
//
//   ombrix-bench-count floor FRAMES            the bare oscillator recurrence
//   ombrix-bench-count steady BLOCK FRAMES     factory program 0, no automation
//   ombrix-bench-count ramp BLOCK FRAMES       automation of three smoothed parameters every block

#include "Floor.h"
#include "Scenario.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {

// Answers the frames processed (whole blocks, at least frames).
__attribute__((noinline)) long MeasuredFrames(Scenario* scenario, long frames)
{
    if (scenario == nullptr) {
        float sine = 0.0f, cosine = 1.0f;
        RunFloorRecurrence(0.0014247585f, sine, cosine, frames);
        // Keeps the result alive, so the loop cannot be dropped.
        volatile float sink = sine + cosine;
        (void)sink;
        return frames;
    }
    return scenario->RunFrames(frames);
}
}

int main(int argc, char** argv)
{
    const bool floor = argc == 3 && std::strcmp(argv[1], "floor") == 0;
    const bool known = argc == 4 && (std::strcmp(argv[1], "steady") == 0 || std::strcmp(argv[1], "ramp") == 0);
    if (!floor && !known) {
        std::fprintf(stderr, "usage: ombrix-bench-count floor FRAMES | steady BLOCK FRAMES | ramp BLOCK FRAMES\n");
        return 2;
    }
    const long frames = std::atol(argv[argc - 1]);
    long done = 0;
    if (floor) {
        done = MeasuredFrames(nullptr, frames);
    } else {
        const int blockSize = std::atoi(argv[2]);
        if (blockSize <= 0 || frames <= 0) {
            std::fprintf(stderr, "ombrix-bench-count: BLOCK and FRAMES must be positive\n");
            return 2;
        }
        Scenario scenario(blockSize, std::strcmp(argv[1], "ramp") == 0);
        if (!scenario.Loaded()) {
            std::fprintf(stderr, "ombrix-bench-count: %s\n", scenario.Error().c_str());
            return 1;
        }
        done = MeasuredFrames(&scenario, frames);
    }
    std::printf("%ld\n", done);
    return 0;
}
