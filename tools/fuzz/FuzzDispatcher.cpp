// The dispatcher with any opcode, index, value and float, the way a careless
// or hostile host may call it. Pointer arguments always have the type the
// opcode expects (a text buffer, an ERect**, a void**, an event list, the
// speaker-arrangement records) with fuzzed contents, as a real host passes.
// Every call is followed by a short block of audio and the host's checks;
// effClose comes only at the end.

#include "FuzzHost.h"

namespace {

constexpr int TextBufferSize = 1024;
constexpr int MaxChunkSize = 8192;

VstInt32 AnyIndex(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<VstInt32>(-2, 40) : input.ConsumeIntegral<VstInt32>();
}

float AnyOpt(FuzzedDataProvider& input)
{
    static constexpr float Usual[] = {0.0f, 1.0f, 0.5f, 22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f};
    return input.ConsumeBool() ? input.PickValueInArray(Usual) : FuzzHost::AnyFloat(input);
}

void FillArrangement(FuzzedDataProvider& input, VstSpeakerArrangement& arrangement)
{
    std::memset(&arrangement, 0, sizeof arrangement);
    arrangement.type = input.ConsumeIntegral<VstInt32>();
    arrangement.numChannels = input.ConsumeIntegralInRange(0, 8);
}

// A speaker arrangement handed out by the plug-in must be readable as far as
// it says.
void ReadArrangement(const VstSpeakerArrangement* arrangement)
{
    if (arrangement == nullptr) {
        return;
    }
    FuzzHost::Require(arrangement->numChannels >= 0 && arrangement->numChannels <= 8,
        "a speaker arrangement with an impossible channel count");
    volatile float sum = 0.0f;
    for (int i = 0; i < arrangement->numChannels; ++i) {
        sum = sum + arrangement->speakers[i].azimuth;
    }
}

void DispatchAny(FuzzHost& host, FuzzedDataProvider& input)
{
    const VstInt32 opcode
        = input.ConsumeBool() ? input.ConsumeIntegralInRange<VstInt32>(0, 80) : input.ConsumeIntegral<VstInt32>();
    const VstInt32 index = AnyIndex(input);
    const VstIntPtr value
        = input.ConsumeBool() ? input.ConsumeIntegralInRange<VstIntPtr>(-2, 40) : input.ConsumeIntegral<VstIntPtr>();
    const float opt = AnyOpt(input);

    switch (opcode) {
    case effClose:
        return;
    case effEditGetRect: {
        ERect* rect = nullptr;
        if (host.Dispatch(opcode, index, value, &rect, opt) != 0 && rect != nullptr) {
            volatile ERect copy = *rect;
            (void)copy;
        }
        return;
    }
    case effGetChunk: {
        void* data = nullptr;
        const VstIntPtr size = host.Dispatch(opcode, index, value, &data, opt);
        FuzzHost::Require(size >= 0 && size <= (1 << 20), "effGetChunk answered an impossible size");
        if (size > 0) {
            FuzzHost::Require(data != nullptr, "effGetChunk answered a size without data");
            // The host copies the chunk right away, as it saves a project.
            std::vector<char> copy(static_cast<const char*>(data), static_cast<const char*>(data) + size);
        }
        return;
    }
    case effSetChunk: {
        std::vector<char> chunk = input.ConsumeBytes<char>(input.ConsumeIntegralInRange(0, MaxChunkSize));
        chunk.reserve(1); // a real buffer even when empty
        const VstIntPtr answer = host.Dispatch(opcode, index, static_cast<VstIntPtr>(chunk.size()), chunk.data(), opt);
        FuzzHost::Require(answer == 0 || answer == 1, "effSetChunk answered neither 0 nor 1");
        return;
    }
    case effProcessEvents:
        host.SendEvents(input, 256);
        return;
    case effGetInputProperties:
    case effGetOutputProperties: {
        VstPinProperties properties {};
        host.Dispatch(opcode, index, value, &properties, opt);
        return;
    }
    case effGetParameterProperties: {
        VstParameterProperties properties {};
        host.Dispatch(opcode, index, value, &properties, opt);
        return;
    }
    case effSetSpeakerArrangement: {
        VstSpeakerArrangement inputs;
        VstSpeakerArrangement outputs;
        FillArrangement(input, inputs);
        FillArrangement(input, outputs);
        host.Dispatch(opcode, index, reinterpret_cast<VstIntPtr>(&inputs), &outputs, opt);
        return;
    }
    case effGetSpeakerArrangement: {
        VstSpeakerArrangement* inputs = nullptr;
        VstSpeakerArrangement* outputs = nullptr;
        host.Dispatch(opcode, index, reinterpret_cast<VstIntPtr>(&inputs), &outputs, opt);
        ReadArrangement(inputs);
        ReadArrangement(outputs);
        return;
    }
    default: {
        // Every other pointer is a text or a record the host owns: here a
        // buffer of fuzzed bytes, terminated within its size.
        std::vector<char> text = input.ConsumeBytes<char>(input.ConsumeIntegralInRange(0, TextBufferSize - 1));
        const std::size_t written = text.size();
        text.resize(TextBufferSize, 0x55);
        text[written] = 0;
        const std::vector<char> before = text;
        host.Dispatch(opcode, index, value, text.data(), opt);
        const int limit = FuzzHost::TextLimit(opcode);
        if (limit > 0 && text != before) {
            FuzzHost::Require(std::memchr(text.data(), 0, static_cast<std::size_t>(limit)) != nullptr,
                "a text is longer than the host's buffer allows");
        }
        return;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FuzzHost host;
    host.Start();
    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        DispatchAny(host, input);
        host.Process(input, input.ConsumeIntegralInRange(0, 256));
    }
    for (VstInt32 program = 0; program < host.effect->numPrograms; ++program) {
        host.CheckText(effGetProgramNameIndexed, program);
    }
    host.CheckText(effGetProgramName, 0);
    host.CheckRecovers();
    return 0;
}
