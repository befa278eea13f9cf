#include "Lv2/Lv2Bundle.h"
#include "Lv2/Lv2PortLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

constexpr ParameterScale Percent = {ParameterKind::Continuous, 0.0, 100.0, ParameterCurve::Linear, "%", 0};
constexpr ParameterScale Milliseconds = {ParameterKind::Continuous, 1.0, 25.0, ParameterCurve::Quadratic, "ms", 1};
constexpr ParameterDescription Level = {0, {"Lvl", "Level \"A\"", ""}, Percent, 0.5f, 20};
constexpr ParameterDescription Delay = {1, {"Dly", "Delay Time", ""}, Milliseconds, 1.0f, 21};
constexpr ParameterDescription Power = {2, {"On", "Power", ""}, SwitchScale, 1.0f, 22};
constexpr ParameterDescription Parameters[] = {Level, Delay, Power};
constexpr const char* Features[] = {"audio-effect", "delay", nullptr};
constexpr ProductIdentity Identity
    = {"Effect", "Vendor", "Product", 1230, 0x54657374, "", "https://example.com/effect", Features};
constexpr FactoryProgram<3> Programs[] = {{"Soft \\ Wide", {0.25f, 0.0333333351f, 1.0f}}};
constexpr ProductDescription<3, 1> Product = {Identity, {2, 2, 1}, Parameters, Programs, 2};

std::string Written(void (Lv2Bundle::*write)(std::ostream&) const)
{
    const Lv2Bundle bundle(Product, {"Effect.so", "EffectUI.so", "Effect.ttl", "presets.ttl"});
    std::ostringstream out;
    (bundle.*write)(out);
    return out.str();
}

// The Turtle of the port with this symbol: its "[ ... ]" block (ports close
// at four spaces of indent, the units inside them at eight).
std::string PortText(const std::string& turtle, const std::string& symbol)
{
    const std::size_t at = turtle.find("lv2:symbol \"" + symbol + "\" ;");
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t start = turtle.rfind("[\n", at);
    return turtle.substr(start, turtle.find("\n    ]", at) - start);
}

} // namespace

TEST(Lv2PortLayout, NumbersAudioMidiControlInputsThenOutputs)
{
    constexpr Lv2PortLayout layout = {2, 2, 1, 8};
    EXPECT_EQ(layout.AudioInput(1), 1u);
    EXPECT_EQ(layout.AudioOutput(0), 2u);
    EXPECT_EQ(layout.MidiInput(), 4u);
    EXPECT_TRUE(layout.IsMidiInput(4));
    EXPECT_EQ(layout.ControlInput(0), 5u);
    EXPECT_EQ(layout.ControlOutput(7), 20u);
    EXPECT_EQ(layout.PortCount(), 21u);
    EXPECT_EQ(layout.InputParameter(4), -1);
    EXPECT_EQ(layout.InputParameter(12), 7);
    EXPECT_EQ(layout.InputParameter(13), -1);
    EXPECT_EQ(layout.OutputParameter(13), 0);
    EXPECT_EQ(layout.OutputParameter(21), -1);

    constexpr Lv2PortLayout withoutMidi = {1, 1, 0, 3};
    EXPECT_FALSE(withoutMidi.IsMidiInput(withoutMidi.MidiInput()));
    EXPECT_EQ(withoutMidi.ControlInput(0), 2u);
    EXPECT_EQ(withoutMidi.PortCount(), 8u);
}

TEST(Lv2Bundle, SymbolsAreLowerCaseWordsJoinedByUnderscores)
{
    EXPECT_EQ(Lv2Symbol("Chorus On/Off"), "chorus_on_off");
    EXPECT_EQ(Lv2Symbol("Mod. Depth"), "mod_depth");
    EXPECT_EQ(Lv2Symbol("  Gain (dB) "), "gain_db");
    EXPECT_EQ(Lv2Symbol("2nd Stage"), "_2nd_stage");
    EXPECT_EQ(Lv2Symbol("/"), "_");
}

TEST(Lv2Bundle, NumbersAreDecimalsThatReadBackToTheSameFloat)
{
    EXPECT_EQ(Lv2Number(25.0f), "25.0");
    EXPECT_EQ(Lv2Number(0.1f), "0.1");
    EXPECT_EQ(Lv2Number(-2.5f), "-2.5");
    for (const float value : {73.22835f, 1.2284e-4f, 1.02666664f, 0.995f, 3e-9f}) {
        const std::string text = Lv2Number(value);
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    }
}

TEST(Lv2Bundle, PortValuesReadBackAsNearAsAnyFloatCan)
{
    EXPECT_EQ(Lv2PortValue(Level, 0.5f), 50.0f);
    EXPECT_EQ(Lv2PortValue(Power, 0.7f), 1.0f);
    EXPECT_EQ(Lv2PortValue(Power, 0.2f), 0.0f);
    // Near a quadratic scale's minimum a float step of milliseconds is
    // several steps of the normalised value: no float is nearer than the one
    // chosen, among many on either side.
    for (const float normalised : {0.0333333351f, 0.0777777806f, 0.5f, 0.999f}) {
        const float chosen = Lv2PortValue(Delay, normalised);
        const float distance = std::fabs(Delay.ToNormalised(chosen) - normalised);
        float other = static_cast<float>(Delay.ToPlain(normalised)) - 400 * 2.4e-7f;
        for (int step = 0; step < 800; ++step, other = std::nextafter(other, 30.0f)) {
            ASSERT_GE(std::fabs(Delay.ToNormalised(other) - normalised), distance) << other;
        }
    }
}

TEST(Lv2Bundle, ManifestNamesTheBinariesTheUiAndThePresets)
{
    const std::string manifest = Written(&Lv2Bundle::WriteManifest);
    EXPECT_NE(manifest.find("<https://example.com/effect>\n    a lv2:Plugin , lv2:DelayPlugin ;\n"
                            "    lv2:binary <Effect.so> ;\n    rdfs:seeAlso <Effect.ttl> ."),
        std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("<https://example.com/effect#ui>\n    a ui:X11UI ;\n    ui:binary <EffectUI.so>"),
        std::string::npos);
    EXPECT_NE(manifest.find("<https://example.com/effect#program-00>\n    a pset:Preset ;\n"
                            "    lv2:appliesTo <https://example.com/effect> ;\n    rdfs:seeAlso <presets.ttl> ."),
        std::string::npos);
}

TEST(Lv2Bundle, ControlPortsCarryUnitsRangesAndTheEnableDesignation)
{
    const std::string plugin = Written(&Lv2Bundle::WritePlugin);
    EXPECT_NE(plugin.find("lv2:minorVersion 2 ;\n    lv2:microVersion 3 ;"), std::string::npos);

    const std::string level = PortText(plugin, "level_a");
    EXPECT_NE(level.find("lv2:InputPort , lv2:ControlPort ;\n        lv2:index 5 ;"), std::string::npos) << level;
    EXPECT_NE(level.find("lv2:name \"Level \\\"A\\\"\""), std::string::npos) << level;
    EXPECT_NE(
        level.find("lv2:default 50.0 ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 100.0 ;"), std::string::npos);
    EXPECT_EQ(level.find("lv2:designation"), std::string::npos);
    EXPECT_NE(level.find("pprops:rangeSteps 101 ;"), std::string::npos);
    EXPECT_NE(level.find("units:render \"%.0f %%\""), std::string::npos);

    const std::string delay = PortText(plugin, "delay_time");
    EXPECT_NE(delay.find("units:render \"%.1f ms\""), std::string::npos) << delay;
    EXPECT_EQ(delay.find("rangeSteps"), std::string::npos);

    const std::string power = PortText(plugin, "power");
    EXPECT_NE(power.find("lv2:portProperty lv2:toggled ;\n        lv2:designation lv2:enabled ;"), std::string::npos)
        << power;
    const std::string powerOut = PortText(plugin, "power_current");
    EXPECT_NE(powerOut.find("lv2:OutputPort , lv2:ControlPort ;\n        lv2:index 10 ;"), std::string::npos);
    EXPECT_NE(powerOut.find("lv2:name \"Power (current)\""), std::string::npos);
    EXPECT_NE(powerOut.find("lv2:portProperty lv2:toggled"), std::string::npos);
    EXPECT_EQ(powerOut.find("lv2:designation"), std::string::npos);
    // The UI hears of every output.
    EXPECT_NE(plugin.find("ui:plugin <https://example.com/effect> ;\n        lv2:symbol \"delay_time_current\" ;"),
        std::string::npos);
}

TEST(Lv2Bundle, PresetsHoldTheProgramsInPortUnits)
{
    const std::string presets = Written(&Lv2Bundle::WritePresets);
    EXPECT_NE(presets.find("rdfs:label \"Soft \\\\ Wide\" ;"), std::string::npos) << presets;
    EXPECT_NE(presets.find("lv2:symbol \"level_a\" ;\n        pset:value 25.0\n"), std::string::npos);
    EXPECT_NE(presets.find(
                  "lv2:symbol \"delay_time\" ;\n        pset:value " + Lv2Number(Lv2PortValue(Delay, 0.0333333351f))),
        std::string::npos);
    EXPECT_NE(presets.find("lv2:symbol \"power\" ;\n        pset:value 1.0\n"), std::string::npos);
}
