// The product's description against the plug-in it describes and the texts
// users read and type.

#include "OmbrixChorus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr const auto& Product = OmbrixChorusDescription;

const ParameterDescription& Describe(int id)
{
    return Product.parameters[id];
}

std::string Text(int id, float normalised)
{
    char text[32];
    EXPECT_TRUE(Describe(id).ValueToText(normalised, text, sizeof text));
    return text;
}

// The normalised value a text is read as; NaN when it is refused.
float Read(int id, const char* text)
{
    float value = std::numeric_limits<float>::quiet_NaN();
    Describe(id).TextToValue(text, &value);
    return value;
}

// Normalised values to try: a fine grid, every factory value, and the float
// neighbours of both.
std::vector<float> SampleValues()
{
    std::vector<float> values;
    for (int step = 0; step <= 4096; ++step) {
        values.push_back(static_cast<float>(step) / 4096.0f);
    }
    for (const auto& program : Product.programs) {
        values.insert(values.end(), std::begin(program.values), std::end(program.values));
    }
    const std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(std::nextafter(values[i], 0.0f));
        values.push_back(std::min(std::nextafter(values[i], 1.0f), 1.0f));
    }
    return values;
}

// What the working value of a parameter is, in its display unit, as the
// signal processing computes it.
double WorkingValueInUnits(int id, float normalised)
{
    switch (id) {
    case ParameterId::DelayTime:
        return 1000.0 * ChorusDelayTimeTransform::Apply(normalised);
    case ParameterId::ModDepth:
        return DoNothingSmoothTransform::Apply(normalised);
    case ParameterId::Feedback:
        return FeedbackTransform::Apply(normalised);
    case ParameterId::Mix:
        return 100.0 * DoNothingSmoothTransform::Apply(normalised);
    case ParameterId::Frequency:
        return QuadLfoFrequencyTransform::Apply(normalised);
    default:
        return normalised >= 0.5f ? 1.0 : 0.0;
    }
}

} // namespace

TEST(OmbrixChorusDescription, PluginBuildsItsHostParametersFromIt)
{
    OmbrixChorus plugin;
    ASSERT_EQ(plugin.GetParameterCount(), Product.ParameterCount);
    for (int id = 0; id < Product.ParameterCount; ++id) {
        const ParameterDescription& description = Describe(id);
        ParameterBase* parameter = plugin.GetParameter(id);
        EXPECT_STREQ(parameter->GetShortName(), description.names.shortName) << id;
        EXPECT_STREQ(parameter->GetLongName(), description.names.longName) << id;
        EXPECT_STREQ(parameter->GetLabel(), description.names.vstLabel) << id;
        EXPECT_EQ(parameter->GetDefaultValue(), description.defaultValue) << id;
        EXPECT_EQ(parameter->GetValue(), description.defaultValue) << id;
    }
    for (int controller = 0; controller < 128; ++controller) {
        int expected = -1;
        for (const ParameterDescription& description : Product.parameters) {
            expected = description.midiController == controller ? description.id : expected;
        }
        int mapped = -1;
        plugin.GetMappedParameter(static_cast<char>(controller), &mapped);
        EXPECT_EQ(mapped, expected) << "controller " << controller;
    }
}

TEST(OmbrixChorusDescription, NamesFitTheFormatsLimits)
{
    EXPECT_LT(std::strlen(Product.identity.effectName), 32u);
    EXPECT_LT(std::strlen(Product.identity.vendorName), 64u);
    EXPECT_LT(std::strlen(Product.identity.productName), 64u);
    for (const ParameterDescription& description : Product.parameters) {
        EXPECT_LT(std::strlen(description.names.shortName), 8u) << description.names.shortName;
        EXPECT_LT(std::strlen(description.names.vstLabel), 8u) << description.names.vstLabel;
        EXPECT_LT(std::strlen(description.names.longName), 64u) << description.names.longName;
    }
    for (const auto& program : Product.programs) {
        EXPECT_LT(std::strlen(program.name), 24u) << program.name;
    }
    int features = 0;
    while (Product.identity.features[features] != nullptr) {
        ++features;
    }
    EXPECT_EQ(features, 3);
}

TEST(OmbrixChorusDescription, TextsAreInTheUnitsUsersRead)
{
    const char* defaults[] = {"On", "25.0 ms", "0.250", "0.000", "50 %", "0.100 Hz", "On", "Off"};
    for (int id = 0; id < Product.ParameterCount; ++id) {
        EXPECT_EQ(Text(id, Describe(id).defaultValue), defaults[id]) << id;
    }
    // Factory program 0, as the VST 2.4 build shows it: "0.025", "0.402", "73", "0.357".
    const char* program0[] = {"On", "25.0 ms", "0.402", "0.000", "73 %", "0.357 Hz", "On", "Off"};
    for (int id = 0; id < Product.ParameterCount; ++id) {
        EXPECT_EQ(Text(id, Product.programs[0].values[id]), program0[id]) << id;
    }
    EXPECT_EQ(Text(ParameterId::DelayTime, 0.0f), "1.0 ms");
    EXPECT_EQ(Text(ParameterId::DelayTime, std::sqrt(11.5f / 24.0f)), "12.5 ms");
    EXPECT_EQ(Text(ParameterId::Mix, 0.3f), "30 %");
    EXPECT_EQ(Text(ParameterId::Mix, 1.0f), "100 %");
    EXPECT_EQ(Text(ParameterId::Feedback, 1.0f), "0.995");
    EXPECT_EQ(Text(ParameterId::Frequency, 1.0f), "10.000 Hz");
    EXPECT_EQ(Text(ParameterId::ModDepth, 1.0f), "1.000");
    EXPECT_EQ(Text(ParameterId::OnOff, 0.5f), "On");
    EXPECT_EQ(Text(ParameterId::OnOff, 0.4999f), "Off");
}

TEST(OmbrixChorusDescription, TypedTextsBecomeValues)
{
    EXPECT_EQ(Read(ParameterId::DelayTime, "25 ms"), 1.0f);
    EXPECT_EQ(Read(ParameterId::DelayTime, "1 ms"), 0.0f);
    EXPECT_EQ(Read(ParameterId::DelayTime, "12.5 ms"), std::sqrt(11.5f / 24.0f));
    EXPECT_EQ(Text(ParameterId::DelayTime, Read(ParameterId::DelayTime, "12")), "12.0 ms");
    struct Typed {
        int id;
        const char* text;
        float value;
    };
    const Typed cases[] = {
        {ParameterId::Mix, "30 %", 0.3f},
        {ParameterId::Mix, "30", 0.3f},
        {ParameterId::Frequency, "10 Hz", 1.0f},
        {ParameterId::Frequency, "0.1 hz", 0.1f},
        {ParameterId::Feedback, "0.995", 1.0f},
        {ParameterId::ModDepth, "0.25", 0.25f},
        {ParameterId::QuadMode, "Off", 0.0f},
        {ParameterId::QuadMode, "on", 1.0f},
        {ParameterId::ModWheel, "1", 1.0f},
        {ParameterId::OnOff, "OFF", 0.0f},
        // Beyond the range: the nearer end.
        {ParameterId::DelayTime, "40 ms", 1.0f},
        {ParameterId::DelayTime, "0 ms", 0.0f},
        {ParameterId::Mix, "150 %", 1.0f},
        {ParameterId::Feedback, "1", 1.0f},
    };
    for (const Typed& typed : cases) {
        EXPECT_EQ(Read(typed.id, typed.text), typed.value) << typed.text;
    }
}

TEST(OmbrixChorusDescription, ForeignUnitsAndGarbageAreRefused)
{
    const char* refusedByAll[] = {"", "fast", "12 ms ms", "nan", "12 s"};
    for (int id = 0; id < Product.ParameterCount; ++id) {
        for (const char* text : refusedByAll) {
            EXPECT_TRUE(std::isnan(Read(id, text))) << id << " \"" << text << '"';
        }
    }
    EXPECT_TRUE(std::isnan(Read(ParameterId::DelayTime, "12 Hz")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::Frequency, "1 ms")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::Mix, "30 ms")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::ModDepth, "0.5 %")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::Feedback, "0.5 Hz")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::QuadMode, "12 ms")));
    EXPECT_TRUE(std::isnan(Read(ParameterId::ModWheel, "0.7")));
}

// A text read back shows the same text: every text the display can show, and
// the text of every sampled value.
TEST(OmbrixChorusDescription, TextsReadBackUnchanged)
{
    const std::vector<float> values = SampleValues();
    for (int id = 0; id < Product.ParameterCount; ++id) {
        const ParameterDescription& description = Describe(id);
        for (float value : values) {
            const std::string text = Text(id, value);
            EXPECT_EQ(Text(id, Read(id, text.c_str())), text) << id << " at " << value;
        }
        if (description.IsSwitch()) {
            continue;
        }
        const double step = std::pow(10.0, -description.scale.decimals);
        const long steps = std::lround((description.scale.maximum - description.scale.minimum) / step);
        for (long i = 0; i <= steps; ++i) {
            char number[32];
            std::snprintf(number, sizeof number, "%.*f", description.scale.decimals,
                description.scale.minimum + static_cast<double>(i) * step);
            const std::string typed
                = *description.scale.unit == 0 ? number : number + std::string(" ") + description.scale.unit;
            EXPECT_EQ(Text(id, Read(id, typed.c_str())), typed) << id;
        }
    }
}

// Normalised to plain and back comes home: exactly where the plain value
// keeps the precision, and always within one float step of the top of the
// range (near a minimum of 1 ms, a quadratic value below 1e-5 is lost in
// the sum).
TEST(OmbrixChorusDescription, PlainValuesComeBackToTheirNormalisedValues)
{
    const float floatStep = 1.0f - std::nextafter(1.0f, 0.0f);
    std::vector<float> values = SampleValues();
    for (int exponent = -30; exponent < 0; ++exponent) {
        values.push_back(std::ldexp(1.0f, exponent));
        values.push_back(std::ldexp(1.3f, exponent));
    }
    for (int id = 0; id < Product.ParameterCount; ++id) {
        const ParameterDescription& description = Describe(id);
        if (description.IsSwitch()) {
            continue;
        }
        for (float value : values) {
            const float back = description.ToNormalised(description.ToPlain(value));
            EXPECT_LE(std::fabs(back - value), floatStep) << id << " at " << value;
            if (value >= 1e-4f) {
                EXPECT_EQ(back, value) << id << " at " << value;
            }
        }
    }
}

// The plain value is the working value the chorus computes, in units: the
// curves differ by no more than the transforms' own float rounding.
TEST(OmbrixChorusDescription, PlainValuesAreTheWorkingValuesInUnits)
{
    const std::vector<float> values = SampleValues();
    for (int id = 0; id < Product.ParameterCount; ++id) {
        const ParameterDescription& description = Describe(id);
        for (float value : values) {
            const double plain = description.ToPlain(value);
            const double working = WorkingValueInUnits(id, value);
            EXPECT_NEAR(plain, working, 4e-7 * std::fabs(plain) + 1e-12) << id << " at " << value;
        }
        EXPECT_EQ(description.ToPlain(0.0f), description.scale.minimum);
        EXPECT_EQ(description.ToPlain(1.0f), description.scale.maximum);
    }
}
