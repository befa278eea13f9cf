#include "PluginBase.h"

#include "Parameters/Displays.h"
#include "Parameters/SmoothParameter.h"
#include "Parameters/SwitchParameter.h"

#include "AssertionRecorder.h"
#include "ReferenceGlide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
using Level = SmoothParameter<DoNothingSmoothTransform, DisplayFloat>;

// Logs every call it receives, tagged with its name, into a shared list.
class LoggingComponent : public IComponent, public IControllable, public ISynchronizeable {
public:
    LoggingComponent(Calls& calls, std::string name)
        : calls(calls)
        , name(std::move(name))
    {
    }

    void Reset() override { calls.push_back(name + ".Reset"); }
    float GetSampleRate() override { return 0.0f; }
    void SetSampleRate(float rate) override { calls.push_back(name + ".SetSampleRate " + std::to_string(int(rate))); }
    void SetController(char controller, float) override
    {
        calls.push_back(name + ".SetController " + std::to_string(controller));
    }
    void Synchronize(double tempo, double) override
    {
        calls.push_back(name + ".Synchronize " + std::to_string(int(tempo)));
    }

private:
    Calls& calls;
    std::string name;
};

// Opens the registrations that a derived plug-in makes in its constructor.
class TestPlugin : public PluginBase {
public:
    using PluginBase::AddComponent;
    using PluginBase::AddControllable;
    using PluginBase::AddParameter;
    using PluginBase::AddSynchronizeable;
    using PluginBase::MapController;

    void Process(float**, float**, int) override { }
    Editor* CreateEditor(AudioEffect*, IControlObserver*) override { return nullptr; }
};

// A plug-in with an oscillator stand-in and a smoother at 0.2, in that order.
struct SmootherRig {
    SmootherRig()
    {
        plugin.AddComponent(&lfo);
        plugin.AddComponent(&level);
    }

    Calls calls;
    LoggingComponent lfo {calls, "lfo"};
    Level level {"L", "Level", "", 0.2f};
    TestPlugin plugin;
};

} // namespace

TEST(PluginBase, ForwardsToEachRegistrationInOrder)
{
    Calls calls;
    LoggingComponent first(calls, "first");
    LoggingComponent second(calls, "second");
    TestPlugin plugin;
    plugin.AddComponent(&first);
    plugin.AddComponent(&second);
    plugin.AddComponent(&first);
    plugin.AddControllable(&second);
    plugin.AddControllable(&first);
    plugin.MapController(7, 0);
    EXPECT_EQ(plugin.GetSampleRate(), 44100.0f);

    plugin.SetSampleRate(48000.0f);
    plugin.Reset();
    plugin.SetController(7, 0.5f);
    plugin.SetController(42, 1.0f);
    plugin.Synchronize(120.0, 2.25);

    EXPECT_EQ(plugin.GetSampleRate(), 48000.0f);
    EXPECT_EQ(calls,
        (Calls {"first.SetSampleRate 48000", "second.SetSampleRate 48000", "first.SetSampleRate 48000", "first.Reset",
            "second.Reset", "first.Reset", "second.SetController 7", "first.SetController 7", "second.SetController 42",
            "first.SetController 42"}));

    calls.clear();
    plugin.AddSynchronizeable(&second);
    plugin.Synchronize(120.0, 2.25);
    EXPECT_EQ(calls, Calls {"second.Synchronize 120"});
}

TEST(PluginBase, IgnoresANonPositiveSampleRateAfterReportingIt)
{
    Calls calls;
    LoggingComponent component(calls, "component");
    TestPlugin plugin;
    plugin.AddComponent(&component);
    AssertionRecorder recorder;

    plugin.SetSampleRate(0.0f);

    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"sampleRate > 0.0f"});
    EXPECT_EQ(plugin.GetSampleRate(), 44100.0f);
    EXPECT_TRUE(calls.empty());
}

TEST(PluginBase, ParameterIdsArePositionsAndOthersGiveNull)
{
    SwitchParameter<DisplayOnOff> on("On", "On", "", 1.0f);
    SwitchParameter<DisplayOnOff> quad("Quad", "Quad", "", 1.0f);
    TestPlugin plugin;
    AssertionRecorder recorder;
    EXPECT_EQ(plugin.GetParameterCount(), 0);
    EXPECT_EQ(plugin.GetParameter(0), nullptr);

    plugin.AddParameter(&on);
    plugin.AddParameter(&quad);
    plugin.AddParameter(&on);

    EXPECT_EQ(plugin.GetParameterCount(), 3);
    EXPECT_EQ(plugin.GetParameter(1), &quad);
    EXPECT_EQ(plugin.GetParameter(2), &on);
    EXPECT_EQ(plugin.GetParameter(3), nullptr);
    EXPECT_EQ(plugin.GetParameter(-1), nullptr);
    EXPECT_EQ(
        recorder.expressions(), std::vector<std::string>(3, "parameterId >= 0 && parameterId < GetParameterCount()"));
}

TEST(PluginBase, ControllerMapKeepsTheLastMappingAndLeavesMissesAlone)
{
    TestPlugin plugin;
    plugin.MapController(93, 4);
    plugin.MapController(16, 1);
    plugin.MapController(93, 6);

    int parameterId = -5;
    EXPECT_TRUE(plugin.GetMappedParameter(93, &parameterId));
    EXPECT_EQ(parameterId, 6);
    EXPECT_TRUE(plugin.GetMappedParameter(16, &parameterId));
    EXPECT_EQ(parameterId, 1);
    EXPECT_FALSE(plugin.GetMappedParameter(1, &parameterId));
    EXPECT_FALSE(plugin.GetMappedParameter(static_cast<char>(208), &parameterId));
    EXPECT_EQ(parameterId, 1);
}

TEST(PluginBase, DescribedParametersBringTheirControllers)
{
    using Switch = SwitchParameter<DisplayOnOff>;
    constexpr ParameterDescription first = {0, {"A", "First", ""}, SwitchScale, 0.0f, 20};
    constexpr ParameterDescription second
        = {1, {"B", "Second", ""}, SwitchScale, 0.0f, ParameterDescription::NoController};
    constexpr ParameterDescription misplaced = {5, {"C", "Third", ""}, SwitchScale, 0.0f, 21};
    Switch a(first), b(second), c(misplaced);
    TestPlugin plugin;
    AssertionRecorder recorder;
    plugin.AddParameter(&a, first);
    plugin.AddParameter(&b, second);
    EXPECT_TRUE(recorder.expressions().empty());
    plugin.AddParameter(&c, misplaced);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"description.id == id"});

    ASSERT_EQ(plugin.GetParameterCount(), 3);
    EXPECT_EQ(plugin.GetParameter(1), &b);
    int parameterId = -1;
    EXPECT_TRUE(plugin.GetMappedParameter(20, &parameterId));
    EXPECT_EQ(parameterId, 0);
    EXPECT_TRUE(plugin.GetMappedParameter(21, &parameterId));
    EXPECT_EQ(parameterId, 2) << "the controller drives the parameter it was described with";
    for (int controller = 0; controller < 128; ++controller) {
        if (controller != 20 && controller != 21) {
            EXPECT_FALSE(plugin.GetMappedParameter(static_cast<char>(controller), &parameterId)) << controller;
        }
    }
}

// A reset requested on another thread (a program change) waits for the audio
// thread: ApplyRequestedReset at the start of the next block resets the other
// components, and each smoother snaps in its own next run to the value asked
// for before the request; a value asked for after it ramps from there.
TEST(PluginBase, RequestedResetsHappenOnTheAudioThreadInTheOrderAsked)
{
    SmootherRig rig;
    auto& [calls, lfo, level, plugin] = rig;
    level.SetValue(0.8f);
    plugin.RequestReset();
    level.SetValue(0.4f);
    EXPECT_TRUE(calls.empty()) << "nothing is reset on the requesting thread";
    EXPECT_EQ(level.GetOutput(0)[0], 0.2f);

    plugin.ApplyRequestedReset();
    EXPECT_EQ(calls, Calls {"lfo.Reset"});
    level.Process(256);
    ReferenceGlide reference(0.8f);
    reference.To(0.4f);
    const std::vector<float> expected = reference.Block(256);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), level.GetOutput(0)));

    calls.clear();
    plugin.ApplyRequestedReset();
    EXPECT_TRUE(calls.empty()) << "one request, one reset";
}

// Reset is immediate, for a single thread: every component, smoothers at the
// last value asked for, and a request still pending is served by it.
TEST(PluginBase, ResetIsImmediateAndServesAPendingRequest)
{
    SmootherRig rig;
    auto& [calls, lfo, level, plugin] = rig;
    plugin.SetSampleRate(48000.0f);
    EXPECT_EQ(level.GetSampleRate(), 48000.0f) << "a smoother is a component like the others";

    plugin.RequestReset();
    level.SetValue(0.6f);
    calls.clear();
    plugin.Reset();
    EXPECT_EQ(calls, Calls {"lfo.Reset"});
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_EQ(level.GetOutput(0)[BufferSize - 1], 0.6f);

    calls.clear();
    plugin.ApplyRequestedReset();
    EXPECT_TRUE(calls.empty());
    level.Process(64);
    EXPECT_EQ(level.GetState(), Level::Settled);
    EXPECT_EQ(level.GetOutput(0)[0], 0.6f);
}
