#pragma once

// The abstract interfaces through which the toolkit's parts meet. None holds
// data; slot 0 of each is its virtual destructor. No locks are taken behind
// any of them: calls arrive on whatever thread the host uses.

class AudioEffect;
class Editor;
class IControlObserver;
class ParameterBase;

// Anything that runs at a sample rate.
class IComponent {
public:
    virtual ~IComponent() = default;
    // Back to the initial running state; parameter values and rate stay.
    virtual void Reset() = 0;
    virtual float GetSampleRate() = 0;
    // Recomputes rate-dependent coefficients; does not clear running state.
    virtual void SetSampleRate(float sampleRate) = 0;
};

// A component that generates signals into output buffers of its own, each
// BufferSize samples long and valid for the component's lifetime.
class ISynthComponent : public IComponent {
public:
    virtual void Process(int count) = 0;
    virtual int GetOutputCount() = 0;
    virtual float* GetOutput(int index) = 0;
};

// A component that processes the host's audio buffers (in place allowed).
class IEffectComponent : public IComponent {
public:
    virtual void Process(float** inputs, float** outputs, int count) = 0;
};

// A receiver of MIDI continuous controllers; value is data byte / 127.
class IControllable {
public:
    virtual ~IControllable() = default;
    virtual void SetController(char controller, float value) = 0;
};

// A receiver of the host's tempo (beats per minute) and position (quarter
// notes) of the first sample of the block about to be processed.
class ISynchronizeable {
public:
    virtual ~ISynchronizeable() = default;
    virtual void Synchronize(double tempo, double ppqnPosition) = 0;
};

// Called from inside a parameter's SetValue, on the setter's thread, after
// the parameter's derived state is up to date.
class IParameterObserver {
public:
    virtual ~IParameterObserver() = default;
    virtual void ParameterChanged() = 0;
};

class IParameterCollection {
public:
    virtual ~IParameterCollection() = default;
    virtual ParameterBase* GetParameter(int parameterId) = 0;
    virtual int GetParameterCount() = 0;
};

class IEditorFactory {
public:
    virtual ~IEditorFactory() = default;
    // A new editor for effect (the caller owns it), or null for none.
    virtual Editor* CreateEditor(AudioEffect* effect, IControlObserver* observer) = 0;
};
