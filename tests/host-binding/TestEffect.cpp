#include "AudioEffectX.h"

// A stereo gain, loaded by the test host the way a real host loads a
// plug-in: one parameter (the gain, 0 to 1), two programs held as chunks.
class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback audioMaster)
        : AudioEffectX(audioMaster, 2, 1)
    {
        setNumInputs(2);
        setNumOutputs(2);
        setUniqueID(ToFourCharCode("HbTe"));
        programsAreChunks(true);
    }

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override
    {
        for (int channel = 0; channel < 2; ++channel) {
            for (VstInt32 i = 0; i < sampleFrames; ++i) {
                outputs[channel][i] = inputs[channel][i] * gain;
            }
        }
    }
    void setParameter(VstInt32 index, float value) override
    {
        if (index == 0) {
            gain = value;
        }
    }
    float getParameter(VstInt32 index) override { return index == 0 ? gain : 0.0f; }

private:
    float gain = 1.0f;
};

AudioEffect* createEffectInstance(audioMasterCallback audioMaster)
{
    return new TestEffect(audioMaster);
}
