// The CLAP surface of the chorus, as a careless or hostile host reaches it:
// state streams of any bytes moved in pieces of any size (sealed again, so
// that damaged contents get past the checksum too), event lists with
// parameter values, MIDI messages and events of any type, size and time,
// params.flush, activation at odd rates, resets, and the text conversions.
// After every step the host checks what it relies on: finite audio out of
// finite audio in, parameter values within their range, a state that saves
// and loads back unchanged.
//
// Input: a sequence of steps, each a byte choosing the step and then its
// bytes.

#include "ClapEntry.h"
#include "ClapHost.h"
#include "Assert.h"
#include "PluginState.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int MaxFrames = 2048;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz host: %s\n", what);
        std::abort();
    }
}

void IgnoreReport(const char*, const char*, int) { }

void AddEvents(ClapHost& host, FuzzedDataProvider& input, std::uint32_t frames)
{
    const int count = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i) {
        const auto time = input.ConsumeIntegralInRange<std::uint32_t>(0, frames + 4);
        switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0: {
            const auto id = input.ConsumeIntegralInRange<clap_id>(0, 9);
            const double values[] = {0.0, 1.0, 0.5, -1.0, 2.0, NAN, INFINITY, 1e-300};
            host.AddParameterValue(time, id,
                input.ConsumeBool() ? values[input.ConsumeIntegralInRange(0, 7)] : input.ConsumeProbability<double>());
            break;
        }
        case 1:
            host.AddMidi(time, input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegral<std::uint8_t>(),
                input.ConsumeIntegral<std::uint8_t>());
            break;
        default: {
            // Any header: a type the plug-in must skip, or one of its own with a size too short.
            clap_event_midi_t event {};
            event.header.size = input.ConsumeIntegralInRange<std::uint32_t>(16, sizeof event);
            event.header.time = time;
            event.header.space_id = input.ConsumeIntegralInRange<std::uint16_t>(0, 1);
            event.header.type = input.ConsumeIntegralInRange<std::uint16_t>(0, 13);
            event.header.flags = input.ConsumeIntegral<std::uint32_t>();
            event.data[0] = 0xB0;
            event.data[1] = 93;
            event.data[2] = input.ConsumeIntegral<std::uint8_t>();
            host.AddEvent(event.header);
            break;
        }
        }
    }
}

void CheckParameters(const ClapHost& host)
{
    for (clap_id id = 0; id < host.GetParameterCount(); ++id) {
        double value = -1.0;
        Require(host.GetParameterValue(id, value), "get_value failed");
        Require(value >= 0.0 && value <= 1.0, "a parameter value lies outside its range");
    }
}

void ProcessBlock(ClapHost& host, FuzzedDataProvider& input)
{
    const auto frames = input.ConsumeIntegralInRange<std::uint32_t>(0, MaxFrames);
    AddEvents(host, input, frames);
    // Exact sizes, so that the address sanitizer sees any access beyond them.
    std::vector<float> inLeft(frames), inRight(frames), outLeft(frames), outRight(frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        inLeft[i] = std::sin(0.05f * static_cast<float>(i));
        inRight[i] = i % 50 == 0 ? 1.0f : 0.0f;
    }
    float* inputs[2] = {inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    if (!host.IsActive() && !host.Activate(44100.0, 1, MaxFrames)) {
        return;
    }
    host.Process(inputs, outputs, frames);
    for (std::uint32_t i = 0; i < frames; ++i) {
        Require(std::isfinite(outLeft[i]) && std::isfinite(outRight[i]), "audio out is not finite");
    }
    Require(!host.OutputWentBackInTime(), "output events went back in time");
}

void LoadState(ClapHost& host, FuzzedDataProvider& input)
{
    std::vector<std::uint8_t> saved;
    Require(host.SaveState(saved), "save failed");
    std::vector<std::uint8_t> bytes;
    if (input.ConsumeBool()) {
        bytes = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, saved.size() + 8));
    } else {
        // A valid state with some bytes changed: past the header, values and names.
        bytes = saved;
        const int changes = input.ConsumeIntegralInRange(1, 8);
        for (int i = 0; i < changes && !bytes.empty(); ++i) {
            bytes[input.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)]
                = input.ConsumeIntegral<std::uint8_t>();
        }
    }
    if (bytes.size() >= StateHeaderSize + StateChecksumSize && input.ConsumeBool()) {
        SealState(bytes.data(), bytes.size());
    }
    const ClapStreamLimits limits {input.ConsumeIntegralInRange<std::uint64_t>(1, 9000), -1};
    if (!host.LoadState(bytes, limits)) {
        std::vector<std::uint8_t> after;
        Require(host.SaveState(after) && after == saved, "a refused state changed the instance");
    }
    CheckParameters(host);
    std::vector<std::uint8_t> again, back;
    Require(host.SaveState(again), "save failed");
    Require(
        host.LoadState(again, {7, -1}) && host.SaveState(back) && back == again, "a saved state loads back changed");
}

void Texts(ClapHost& host, FuzzedDataProvider& input)
{
    const auto id = input.ConsumeIntegralInRange<clap_id>(0, 8);
    double value = 0.0;
    const std::string typed = input.ConsumeRandomLengthString(40);
    if (host.TextToValue(id, typed, value)) {
        Require(value >= 0.0 && value <= 1.0, "a text reads as a value outside the range");
    }
    const auto* params = static_cast<const clap_plugin_params_t*>(host.GetExtension(CLAP_EXT_PARAMS));
    const auto capacity = input.ConsumeIntegralInRange<std::uint32_t>(0, 24);
    std::vector<char> text(capacity + 1, 'x');
    params->value_to_text(host.GetPlugin(), id, input.ConsumeFloatingPoint<double>(), text.data(), capacity);
    Require(text[capacity] == 'x', "value_to_text wrote beyond its buffer");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Careless hosts break preconditions on purpose; the reports are the
    // plug-in's documented answer and only slow the run down.
    SetAssertionHandler(&IgnoreReport);
    FuzzedDataProvider input(data, size);
    ClapHost host;
    std::string error;
    Require(clap_entry.init("FuzzClap"), "init failed");
    const auto* factory = static_cast<const clap_plugin_factory_t*>(clap_entry.get_factory(CLAP_PLUGIN_FACTORY_ID));
    Require(factory != nullptr && host.Open(*factory, "", "the chorus", error), "the plug-in was not created");
    for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0:
            ProcessBlock(host, input);
            break;
        case 1:
            LoadState(host, input);
            break;
        case 2:
            AddEvents(host, input, 0);
            host.Flush();
            CheckParameters(host);
            break;
        case 3: {
            const double rates[] = {44100.0, 8000.0, 192000.0, 1.0, 0.0, -1.0, 1e9, NAN};
            host.Deactivate();
            host.Activate(rates[input.ConsumeIntegralInRange(0, 7)], 1, MaxFrames);
            break;
        }
        case 4:
            host.Reset();
            break;
        default:
            Texts(host, input);
            break;
        }
    }
    host.Close();
    clap_entry.deinit();
    return 0;
}
