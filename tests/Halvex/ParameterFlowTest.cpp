#include "ParameterFlow.h"

#include "AssertionRecorder.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using PlainParameter = Parameter<float, DoNothingSmoothTransform, DisplayFloat>;
constexpr ParameterScale Unit = {ParameterKind::Continuous, 0.0, 1.0, ParameterCurve::Linear, "", 2};
constexpr ParameterDescription Described[] = {
    {0, {"A", "Alpha", ""}, Unit, 0.25f, 20},
    {1, {"B", "Beta", ""}, Unit, 0.75f, ParameterDescription::NoController},
};

// Every controller the plug-in's controllables are given.
class ControllerLog : public IControllable {
public:
    void SetController(char controller, float value) override { controllers.push_back({controller, value}); }
    std::vector<std::pair<int, float>> controllers;
};

// Two parameters, controller 20 mapped to the first.
class TwoParameterPlugin : public PluginBase {
public:
    TwoParameterPlugin()
    {
        AddParameter(&alpha, Described[0]);
        AddParameter(&beta, Described[1]);
        AddControllable(&log);
    }
    void Process(float**, float**, int) override { }
    Editor* CreateEditor(AudioEffect*, IControlObserver*) override { return nullptr; }

    PlainParameter alpha {Described[0]};
    PlainParameter beta {Described[1]};
    ControllerLog log;
};

// What the host is told, with the plug-in's value at that moment.
struct Told {
    std::string what;
    int id;
    float value;
    float pluginValue;
};

class RecordingHost : public IParameterHost {
public:
    explicit RecordingHost(TwoParameterPlugin& plugin)
        : plugin(plugin)
    {
    }
    void ParameterEdited(int id, float value) override { Record("edited", id, value); }
    void ParameterControlled(int id, float value) override { Record("controlled", id, value); }
    void EditBegun(int id) override { Record("begun", id, 0.0f); }
    void EditEnded(int id) override { Record("ended", id, 0.0f); }

    std::vector<Told> told;

private:
    void Record(const char* what, int id, float value)
    {
        told.push_back({what, id, value, plugin.GetParameter(id)->GetValue()});
    }
    TwoParameterPlugin& plugin;
};

using Flow = ParameterFlow<3, 2>;

class ParameterFlowTest : public ::testing::Test {
protected:
    void SetUp() override { flow.FillBlankPrograms("Effect", "Vendor", "Product", 1000); }

    TwoParameterPlugin plugin;
    RecordingHost host {plugin};
    Flow flow {plugin, host};
};

} // namespace

TEST_F(ParameterFlowTest, TheEditorsEditsAreToldToTheHostAsOneGesture)
{
    AssertionRecorder recorder; // no editor is attached
    flow.BeginParameterEdit(1);
    flow.ChangeParameter(1, 0.5f, false);
    flow.ChangeParameter(1, 1.5f, false);
    flow.EndParameterEdit(1);
    ASSERT_EQ(host.told.size(), 4u);
    EXPECT_EQ(host.told[0].what, "begun");
    EXPECT_EQ(host.told[1].what, "edited");
    EXPECT_EQ(host.told[1].value, 0.5f);
    EXPECT_EQ(host.told[2].value, 1.0f) << "the host hears the value the parameter took";
    EXPECT_EQ(host.told[3].what, "ended");
    EXPECT_EQ(flow.GetValue(1), 1.0f);

    host.told.clear();
    flow.ResetParameter(1);
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0].value, 0.75f);
    EXPECT_EQ(plugin.beta.GetValue(), 0.75f);

    host.told.clear();
    flow.BeginParameterEdit(2);
    flow.ChangeParameter(-1, 0.5f, false);
    EXPECT_TRUE(host.told.empty()) << "edits of parameters that do not exist";
}

// The host hears of a controller's change before the parameter moves, as a
// VST 2.4 host expects; every controller reaches the controllables.
TEST_F(ParameterFlowTest, MappedControllersTellTheHostThenMoveTheParameter)
{
    flow.HandleMidi(0xB5, 20, 127);
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0].what, "controlled");
    EXPECT_EQ(host.told[0].value, 1.0f);
    EXPECT_EQ(host.told[0].pluginValue, 0.25f) << "told before the change";
    EXPECT_EQ(plugin.alpha.GetValue(), 1.0f);
    EXPECT_EQ(flow.GetValue(0), 1.0f);

    flow.HandleMidi(0xB0, 1, 64);
    flow.HandleMidi(0x90, 20, 100);
    EXPECT_EQ(host.told.size(), 1u) << "the mod wheel and a note move no parameter";
    ASSERT_EQ(plugin.log.controllers.size(), 2u);
    EXPECT_EQ(plugin.log.controllers[1].first, 1);
    EXPECT_EQ(plugin.log.controllers[1].second, 64 * 0.007874016f);

    AssertionRecorder recorder;
    flow.HandleMidi(0xB0, 20, 200);
    EXPECT_EQ(recorder.expressions(), std::vector<std::string> {"value >= 0.0f && value <= 1.0f"});
    EXPECT_EQ(plugin.alpha.GetValue(), 0.0f) << "a data byte beyond 127 is taken as 0";
}

TEST_F(ParameterFlowTest, HostValuesGoThroughTheCurrentProgram)
{
    flow.SetFromHost(0, 0.5f);
    flow.SetFromHost(0, std::nanf(""));
    flow.SetFromHost(5, 0.5f);
    EXPECT_EQ(flow.GetValue(0), 0.5f);
    EXPECT_EQ(flow.GetValue(5), 0.0f);
    EXPECT_TRUE(host.told.empty()) << "the host's own changes are not echoed";
    flow.SelectProgram(2);
    EXPECT_EQ(plugin.alpha.GetValue(), 0.25f);
    flow.SelectProgram(3);
    EXPECT_EQ(flow.GetCurrentProgram(), 2) << "a program outside the bank changes nothing";
    flow.SelectProgram(0);
    EXPECT_EQ(plugin.alpha.GetValue(), 0.5f);
}

// A stored state names its bank and current program; its values are
// sanitised before they reach the plug-in.
TEST_F(ParameterFlowTest, AStoredBankAndProgramAreLoadedSanitised)
{
    BankChunk<3, 2> bank;
    flow.GetBank().SaveBank(&bank);
    bank.programs[1].values[0] = std::nanf("");
    bank.programs[1].values[1] = 4.0f;
    bank.programs[2].values[0] = 0.125f;
    flow.LoadBankAndProgram(&bank, 1);
    EXPECT_EQ(flow.GetCurrentProgram(), 1);
    EXPECT_EQ(plugin.alpha.GetValue(), 0.25f) << "NaN goes back to the default";
    EXPECT_EQ(plugin.beta.GetValue(), 1.0f);
    flow.LoadBankAndProgram(&bank, 7);
    EXPECT_EQ(flow.GetCurrentProgram(), 1) << "a program outside the bank keeps the current one";
    flow.LoadBankAndProgram(&bank, 2);
    EXPECT_EQ(plugin.alpha.GetValue(), 0.125f);
}
