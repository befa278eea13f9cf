#include "PluginBase.h"

#include "Parameters/Displays.h"
#include "Parameters/SwitchParameter.h"

#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

// Logs every call it receives, tagged with its name, into a shared list.
class LoggingComponent : public IComponent, public IControllable, public ISynchronizeable {
public:
    LoggingComponent(Calls& calls, std::string name) : calls(calls), name(std::move(name)) {}

    void Reset() override { calls.push_back(name + ".Reset"); }
    float GetSampleRate() override { return sampleRate; }
    void SetSampleRate(float rate) override
    {
        sampleRate = rate;
        calls.push_back(name + ".SetSampleRate " + std::to_string(static_cast<int>(rate)));
    }
    void SetController(char controller, float value) override
    {
        calls.push_back(name + ".SetController " + std::to_string(controller) + " " + std::to_string(value));
    }
    void Synchronize(double tempo, double ppqnPosition) override
    {
        calls.push_back(name + ".Synchronize " + std::to_string(tempo) + " " + std::to_string(ppqnPosition));
    }

private:
    Calls& calls;
    std::string name;
    float sampleRate = DefaultSampleRate;
};

// A plug-in whose constructor-time registrations the tests make directly.
class TestPlugin : public PluginBase {
public:
    using PluginBase::AddComponent;
    using PluginBase::AddControllable;
    using PluginBase::AddParameter;
    using PluginBase::AddSynchronizeable;
    using PluginBase::MapController;

    void Process(float**, float**, int) override {}
    Editor* CreateEditor(AudioEffect*, IControlObserver*) override { return nullptr; }
};

using OnOffSwitch = SwitchParameter<DisplayOnOff>;

} // namespace

TEST(PluginBase, ResetAndSampleRateReachComponentsInRegistrationOrder)
{
    Calls calls;
    LoggingComponent first(calls, "first");
    LoggingComponent second(calls, "second");
    TestPlugin plugin;
    plugin.AddComponent(&first);
    plugin.AddComponent(&second);
    plugin.AddComponent(&first);
    EXPECT_EQ(plugin.GetSampleRate(), 44100.0f);

    plugin.SetSampleRate(48000.0f);
    plugin.Reset();

    EXPECT_EQ(plugin.GetSampleRate(), 48000.0f);
    EXPECT_EQ(calls, (Calls{"first.SetSampleRate 48000", "second.SetSampleRate 48000", "first.SetSampleRate 48000",
                            "first.Reset", "second.Reset", "first.Reset"}));
}

TEST(PluginBase, IgnoresANonPositiveSampleRateAfterReportingIt)
{
    Calls calls;
    LoggingComponent component(calls, "component");
    TestPlugin plugin;
    plugin.AddComponent(&component);
    AssertionRecorder recorder;

    plugin.SetSampleRate(0.0f);

    EXPECT_EQ(recorder.expressions(), std::vector<std::string>{"sampleRate > 0.0f"});
    EXPECT_EQ(plugin.GetSampleRate(), 44100.0f);
    EXPECT_TRUE(calls.empty());
}

TEST(PluginBase, ControllersAndTransportReachEveryReceiver)
{
    Calls calls;
    LoggingComponent lfo(calls, "lfo");
    LoggingComponent other(calls, "other");
    TestPlugin plugin;
    plugin.AddControllable(&lfo);
    plugin.AddControllable(&other);
    plugin.AddSynchronizeable(&other);
    plugin.MapController(7, 0);

    plugin.SetController(7, 0.5f);
    plugin.SetController(42, 1.0f);
    plugin.Synchronize(120.0, 2.25);

    EXPECT_EQ(calls, (Calls{"lfo.SetController 7 0.500000", "other.SetController 7 0.500000",
                            "lfo.SetController 42 1.000000", "other.SetController 42 1.000000",
                            "other.Synchronize 120.000000 2.250000"}));
}

TEST(PluginBase, SynchronizeWithoutReceiversDoesNothing)
{
    Calls calls;
    LoggingComponent component(calls, "component");
    TestPlugin plugin;
    plugin.AddComponent(&component);
    plugin.AddControllable(&component);
    plugin.Synchronize(120.0, 0.0);
    EXPECT_TRUE(calls.empty());
}

TEST(PluginBase, ParameterIdsArePositionsOfRegistration)
{
    OnOffSwitch on("On", "On", "", 1.0f);
    OnOffSwitch quad("Quad", "Quad", "", 1.0f);
    OnOffSwitch wheel("MW", "MW", "", 0.0f);
    TestPlugin plugin;
    EXPECT_EQ(plugin.GetParameterCount(), 0);

    plugin.AddParameter(&on);
    plugin.AddParameter(&quad);
    plugin.AddParameter(&wheel);

    EXPECT_EQ(plugin.GetParameterCount(), 3);
    EXPECT_EQ(plugin.GetParameter(0), &on);
    EXPECT_EQ(plugin.GetParameter(2), &wheel);
}

TEST(PluginBase, ParameterIdOutsideTheCollectionGivesNull)
{
    OnOffSwitch on("On", "On", "", 1.0f);
    TestPlugin plugin;
    AssertionRecorder recorder;
    EXPECT_EQ(plugin.GetParameter(0), nullptr);
    plugin.AddParameter(&on);
    EXPECT_EQ(plugin.GetParameter(1), nullptr);
    EXPECT_EQ(plugin.GetParameter(-1), nullptr);
    EXPECT_EQ(recorder.expressions(),
              std::vector<std::string>(3, "parameterId >= 0 && parameterId < GetParameterCount()"));
}

TEST(PluginBase, ControllerMapKeepsTheLastMapping)
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
}

TEST(PluginBase, UnmappedControllerLeavesTheOutputAlone)
{
    TestPlugin plugin;
    plugin.MapController(80, 0);
    int parameterId = 123;
    EXPECT_FALSE(plugin.GetMappedParameter(1, &parameterId));
    EXPECT_FALSE(plugin.GetMappedParameter(static_cast<char>(208), &parameterId));
    EXPECT_EQ(parameterId, 123);
}
