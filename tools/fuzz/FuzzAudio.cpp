// The audio thread's traffic in any order: event lists (MIDI with any bytes
// and positions, system exclusive, other types), processReplacing with any
// block size up to 40000 samples, in place or not, parameter changes with
// any value, program changes and the host's transport. The host's checks
// run after every block.

#include "FuzzHost.h"

namespace {

enum class Step { Events, Block, Parameter, Program, Transport, Count };

int AnyBlockSize(FuzzedDataProvider& input)
{
    return input.ConsumeIntegralInRange(0, 7) == 0 ? input.ConsumeIntegralInRange(0, FuzzHost::MaxBlockSize)
                                                   : input.ConsumeIntegralInRange(0, 1024);
}

// Mostly what automation sends; sometimes any float at all.
float AnyParameterValue(FuzzedDataProvider& input)
{
    return input.ConsumeIntegralInRange(0, 4) == 0 ? FuzzHost::AnyFloat(input)
                                                   : input.ConsumeFloatingPointInRange(0.0f, 1.0f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FuzzHost host;
    host.Start(input.ConsumeBool() ? 44100.0f : 96000.0f, 1024);
    for (int step = 0; step < 48 && input.remaining_bytes() > 0; ++step) {
        switch (static_cast<Step>(input.ConsumeIntegralInRange(0, static_cast<int>(Step::Count) - 1))) {
        case Step::Events:
            host.SendEvents(input, 1024);
            break;
        case Step::Block:
            host.Process(input, AnyBlockSize(input));
            break;
        case Step::Parameter:
            host.SetParameter(input.ConsumeIntegralInRange<VstInt32>(-1, 9), AnyParameterValue(input));
            host.CheckParameters();
            break;
        case Step::Program:
            host.Dispatch(effSetProgram, 0, input.ConsumeIntegralInRange<VstIntPtr>(-1, 32));
            host.CheckParameters();
            break;
        default:
            host.SetTransport(input);
            break;
        }
    }
    // Whatever is still queued is played out.
    host.Process(input, 64);
    host.CheckRecovers();
    return 0;
}
