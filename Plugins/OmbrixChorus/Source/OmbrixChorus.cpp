#include "OmbrixChorus.h"

#if defined(_WIN32)
#include "OmbrixChorusEditor.h"
#else
#include "GUI/X11Editor.h"
#include "OmbrixChorusPanel.h"
#endif

OmbrixChorus::OmbrixChorus()
    : onOff("On", "Chorus On/Off", "On/Off", 1.0f)
    , delayTime("D Time", "Delay Time", "Secs", 1.0f)
    , depth("Depth", "Mod. Depth", "Level", 0.25f)
    , feedback("FB", "Feedback", "Level", 0.0f)
    , mix("Mix", "Mix", "Dry/Wet", 0.5f)
    , frequency("Freq", "Frequency", "Hz", 0.1f)
    , quadMode("Quad", "Quad Mode", "On/Off", 1.0f)
    , modWheelMode("MW", "Mod. Wheel", "On/Off", 0.0f)
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

    AddParameter(&onOff);
    AddParameter(&delayTime);
    AddParameter(&depth);
    AddParameter(&feedback);
    AddParameter(&mix);
    AddParameter(&frequency);
    AddParameter(&quadMode);
    AddParameter(&modWheelMode);

    // The MIDI general-purpose controllers, and the chorus send for the mix.
    MapController(80, 0);
    MapController(93, 4);
    MapController(16, 1);
    MapController(17, 2);
    MapController(18, 3);
    MapController(19, 5);
    MapController(81, 6);
    MapController(82, 7);
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
