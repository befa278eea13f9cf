#include "OmbrixChorus.h"

#if defined(_WIN32)
#include "OmbrixChorusEditor.h"
#else
#include "GUI/X11Editor.h"
#include "OmbrixChorusPanel.h"
#endif

namespace {

const ParameterDescription& Describe(int id)
{
    return OmbrixChorus::Description.parameters[id];
}

} // namespace

OmbrixChorus::OmbrixChorus()
    : onOff(Describe(ParameterId::OnOff))
    , delayTime(Describe(ParameterId::DelayTime))
    , depth(Describe(ParameterId::ModDepth))
    , feedback(Describe(ParameterId::Feedback))
    , mix(Describe(ParameterId::Mix))
    , frequency(Describe(ParameterId::Frequency))
    , quadMode(Describe(ParameterId::QuadMode))
    , modWheelMode(Describe(ParameterId::ModWheel))
    , syncMode("Sync", "Sync Mode", "On/Off", 0.0f)
    , syncResolution("SyncRes", "Sync Resolution", "Res", 0.0f, SyncResolutionNames, SyncResolutionCount)
    , lfo(&quadMode, &modWheelMode, &syncMode, &syncResolution, &frequency)
    , chorus(&onOff, &delayTime, &depth, &feedback, &mix, &lfo)
{
    // Reset and SetSampleRate reach the components in this order.
    AddComponent(&lfo);
    AddComponent(&chorus);
    AddComponent(&delayTime);
    AddComponent(&depth);
    AddComponent(&mix);

    // Every controller reaches the LFO, which follows the modulation wheel.
    AddControllable(&lfo);

    // In id order, each with its MIDI controller.
    AddParameter(&onOff, Describe(ParameterId::OnOff));
    AddParameter(&delayTime, Describe(ParameterId::DelayTime));
    AddParameter(&depth, Describe(ParameterId::ModDepth));
    AddParameter(&feedback, Describe(ParameterId::Feedback));
    AddParameter(&mix, Describe(ParameterId::Mix));
    AddParameter(&frequency, Describe(ParameterId::Frequency));
    AddParameter(&quadMode, Describe(ParameterId::QuadMode));
    AddParameter(&modWheelMode, Describe(ParameterId::ModWheel));
}

void OmbrixChorus::Process(float** inputs, float** outputs, int count)
{
    // The smoothers, the LFO and the chorus, in this order, as one loop over
    // the samples instead of one pass each: the oscillator's recurrence (and a
    // ramping smoother's) is a chain of dependent operations that leaves the
    // processor idle most of the time, and the chorus's work for the samples
    // already computed fills that time. The results are those of the passes.
    // The smoothers and the LFO run even while the chorus is bypassed, so the
    // modulation keeps its phase.
    SmoothRamp::Run smoothersRun({&delayTime, &depth, &mix}, count);
    QuadLfo::Run lfoRun(lfo, count);
    const int frames = lfoRun.Count();
    const int groups = frames - frames % 4;
    // The sources run Lead samples ahead of the chorus, so that the chorus
    // never waits for the sample the oscillator is computing; the chorus's
    // own preparations overlap the first of them.
    constexpr int Lead = 8;
    int sourced = 0;
    for (; sourced < groups && sourced < Lead; sourced += 4) {
        smoothersRun.NextFour(sourced);
        lfoRun.NextFour(sourced);
    }
    Chorus::Run chorusRun(chorus, inputs, outputs, count, lfo.GetOutput(0), lfo.GetOutput(1));
    if (chorusRun.Running()) {
        int i = 0;
        for (; sourced < groups; sourced += 4, i += 4) {
            smoothersRun.NextFour(sourced);
            lfoRun.NextFour(sourced);
            chorusRun.NextFour(i);
        }
        for (; i < groups; i += 4) {
            chorusRun.NextFour(i);
        }
        for (; i < frames; ++i) {
            smoothersRun.Next(i);
            lfoRun.Next(i);
            chorusRun.Next(i);
        }
    } else {
        for (; sourced < frames; ++sourced) {
            smoothersRun.Next(sourced);
            lfoRun.Next(sourced);
        }
    }
    smoothersRun.Finish();
    lfoRun.Finish();
    chorusRun.Finish();
}

float OmbrixChorus::GetTailSeconds()
{
    return chorus.GetTailSeconds();
}

#if defined(_WIN32)
Editor* OmbrixChorus::CreateEditor(AudioEffect* effect, IControlObserver* observer)
{
    return new OmbrixChorusEditor(effect, observer, this);
}
#else
Editor* OmbrixChorus::CreateEditor(AudioEffect* effect, IControlObserver* observer)
{
    return new X11Editor(effect, this, observer, MakeChorusPanelLayout(), MakeChorusArtwork());
}
#endif
