#pragma once

#include "Chorus.h"
#include "OmbrixChorusDescription.h"
#include "Parameters/Displays.h"
#include "Parameters/EnumParameter.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"
#include "Parameters/SwitchParameter.h"
#include "PluginBase.h"
#include "QuadLfo.h"

// The Ombrix Chorus plug-in: ten parameters, the quadrature LFO and the
// stereo chorus, registered with the plug-in base and run in a fixed order
// for every block: the three smoothers, the LFO, then the chorus.
//
// The first eight parameters are the host's (ids 0 to 7), built and
// registered from the product's description, each driven by one MIDI
// controller. "Sync Mode" and "Sync Resolution" exist only because the
// LFO needs them: they have no id, no controller and no control, and keep
// their defaults, so the LFO always runs free at the "Frequency" rate.
//
// Process runs on the host's audio thread; parameters are set from any
// thread (see the toolkit's parameter classes).
class OmbrixChorus : public PluginBase {
public:
    static constexpr const auto& Description = OmbrixChorusDescription;

    OmbrixChorus();
    OmbrixChorus(const OmbrixChorus&) = delete;
    OmbrixChorus& operator=(const OmbrixChorus&) = delete;

    void Process(float** inputs, float** outputs, int count) override;
    // The chorus's tail: its delay and what the feedback leaves audible.
    float GetTailSeconds() override;
    // The product's editor: the Win32 dialog on Windows, the X11 panel elsewhere.
    Editor* CreateEditor(AudioEffect* effect, IControlObserver* observer) override;

private:
    SwitchParameter<DisplayOnOff> onOff;
    SmoothParameter<ChorusDelayTimeTransform, DisplayFloat> delayTime;
    SmoothParameter<DoNothingSmoothTransform, DisplayFloat> depth;
    Parameter<float, FeedbackTransform, DisplayFloat> feedback;
    SmoothParameter<DoNothingSmoothTransform, DisplayFloatToInteger> mix;
    Parameter<float, QuadLfoFrequencyTransform, DisplayFloat> frequency;
    SwitchParameter<DisplayOnOff> quadMode;
    SwitchParameter<DisplayOnOff> modWheelMode;
    SwitchParameter<DisplayOnOff> syncMode;
    EnumParameter syncResolution;
    QuadLfo lfo;
    Chorus chorus;
};
