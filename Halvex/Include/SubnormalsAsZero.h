#pragma once

// Every target computes with SSE (x86_64, and i686 built with -msse2).
#include <xmmintrin.h>

// While it lives, the SSE unit on this thread flushes subnormal results to
// zero and reads subnormal operands as zero; the thread's previous mode comes
// back when it ends. Hosts may hand over parameter values and audio that are
// subnormal or so small that products become subnormal, and arithmetic on
// subnormal numbers is many times slower than on normal ones. Audio thread.
class SubnormalsAsZero {
public:
    static constexpr unsigned FlushToZero = 0x8000;
    static constexpr unsigned DenormalsAreZero = 0x0040;
    static constexpr unsigned Modes = FlushToZero | DenormalsAreZero;

    // The control register is written only when the host has not set the
    // modes already: each write stalls the processor for a while.
    SubnormalsAsZero()
        : saved(_mm_getcsr())
    {
        if ((saved & Modes) != Modes) {
            _mm_setcsr(saved | Modes);
        }
    }
    ~SubnormalsAsZero()
    {
        if ((saved & Modes) != Modes) {
            _mm_setcsr(saved);
        }
    }
    SubnormalsAsZero(const SubnormalsAsZero&) = delete;
    SubnormalsAsZero& operator=(const SubnormalsAsZero&) = delete;

private:
    unsigned saved;
};
