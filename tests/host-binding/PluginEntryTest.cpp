#include "AudioEffect.h"
#include "PluginEntry.h"

#include "RecordingEffect.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>


namespace {

int factoryCalls = 0;
bool factoryFails = false;

} // namespace

// The factory this test executable supplies to the entry point.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    ++factoryCalls;
    return factoryFails ? nullptr : new RecordingEffect(audioMaster);
}

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        factoryCalls = 0;
        factoryFails = false;
    }
};

TEST_F(PluginEntry, AsksTheHostsVersionThenCreatesTheEffect)
{
    RecordingHost host;
    host.answers[audioMasterVersion] = 2400;
    AEffect* record = VSTPluginMain(RecordingHost::callback);

    ASSERT_NE(record, nullptr);
    EXPECT_EQ(factoryCalls, 1);
    EXPECT_EQ(record->magic, kEffectMagic);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0], (HostCall {nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f}));
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(PluginEntry, HostAnsweringZeroGetsNoEffect)
{
    RecordingHost host;
    EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
    EXPECT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(factoryCalls, 0);
}

TEST_F(PluginEntry, NoHostGetsNoEffect)
{
    EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
    EXPECT_EQ(factoryCalls, 0);
}

TEST_F(PluginEntry, FailingFactoryGivesNull)
{
    RecordingHost host;
    host.answers[audioMasterVersion] = 2400;
    factoryFails = true;
    EXPECT_EQ(VSTPluginMain(RecordingHost::callback), nullptr);
    EXPECT_EQ(factoryCalls, 1);
}
