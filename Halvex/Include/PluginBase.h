#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/ParameterDescription.h"

#include <atomic>
#include <map>
#include <vector>

class SmoothRamp;

// The base of every toolkit plug-in: one object that answers the effect
// adapter for the whole plug-in. It forwards Reset and SetSampleRate to the
// registered components, MIDI controllers to the registered controllables and
// the host transport to the registered synchronizeables, each list walked in
// registration order (an object registered twice is called twice); it gives
// indexed access to the parameters (the id is the position of registration)
// and maps MIDI controller numbers to parameter ids.
//
// It owns none of the registered objects: they are members of the derived
// plug-in, which registers them in its constructor and implements Process and
// CreateEditor. Registration allocates and must be finished before the
// plug-in is handed to the host; afterwards the lists are only read, from any
// thread, without locks.
//
// Threads: one owner for every piece of signal state. The host calls from
// its audio thread (processEvents, processReplacing), from its dispatcher and
// automation threads (parameters, programs, chunks, sample rate) and from the
// editor's window thread. Nothing takes a lock; what crosses threads is a
// std::atomic.
//
//   state                                      written by
//   parameter values (ParameterBase), the      the calling thread, at once:
//     program bank, derived working values       getParameter, displays and
//     (feedback gain, switch states, the         the editor see a change
//     oscillator's increment, the chorus's       immediately
//     pending clear)
//   a smoother's ramp and buffer (SmoothRamp)  the audio thread only
//   the oscillator's phase and outputs         the audio thread only
//   the chorus's delay lines                   the audio thread only
//
// How a change travels to the audio thread's state:
// - A parameter change (host, editor, or a MIDI controller handled between
//   runs on the audio thread) posts its new target into the smoother's
//   requests (SmoothRamp::RampTo); the smoother applies it before its next
//   block. The oscillator's increment and the chorus's pending clear are
//   atomics that Process reads at its next block.
// - A reset (after a program, chunk or sample-rate change) is requested with
//   RequestReset on any thread: each smoother is told at once to snap to its
//   latest target, and one flag asks for the other components. The audio
//   thread calls ApplyRequestedReset at the start of its next block, which
//   resets the components; the smoothers apply their snap, and whatever was
//   asked of them after it, when they next run. So a value set after the
//   request ramps from the snapped value, as it would after an immediate
//   reset, and nothing asked for is lost.
// - Reset itself is the immediate reset, for the audio thread or a caller
//   with no block running.
class PluginBase : public IEffectComponent,
                   public IControllable,
                   public ISynchronizeable,
                   public IParameterCollection,
                   public IEditorFactory {
public:
    PluginBase() = default;

    // Audio thread (or no block running): resets every component now.
    void Reset() override;
    // Any thread: asks for a reset at the start of the next block.
    void RequestReset();
    // Audio thread, before every block: carries out a requested reset of the
    // components other than smoothers, which apply their own requests. Inline:
    // it costs one plain load when nothing was requested.
    void ApplyRequestedReset()
    {
        if (TakeResetRequest()) {
            ResetComponents(false);
        }
    }
    float GetSampleRate() override;
    // A rate that is not positive is reported and ignored; it does not reset.
    void SetSampleRate(float sampleRate) override;

    // Delivered to every controllable whatever the controller number; the
    // controller map is not consulted.
    void SetController(char controller, float value) override;
    // Inline: the adapter calls it before every block, and usually nothing
    // is registered.
    void Synchronize(double tempo, double ppqnPosition) override
    {
        for (ISynchronizeable* synchronizeable : synchronizeables) {
            synchronizeable->Synchronize(tempo, ppqnPosition);
        }
    }

    // Null (after a report) for an id outside the collection. Inline, like
    // the count: the adapter asks for a parameter with every change.
    ParameterBase* GetParameter(int parameterId) override
    {
        HALVEX_ASSERT(parameterId >= 0 && parameterId < GetParameterCount());
        if (parameterId < 0 || parameterId >= GetParameterCount()) {
            return nullptr;
        }
        return parameters[static_cast<std::size_t>(parameterId)];
    }
    int GetParameterCount() override { return static_cast<int>(parameters.size()); }

    // Stores the parameter id mapped to controller and returns true, or
    // returns false and leaves *parameterId untouched.
    bool GetMappedParameter(char controller, int* parameterId) const;

    // How long the output may go on sounding once the input falls silent,
    // at the current settings: none here. Any thread.
    virtual float GetTailSeconds() { return 0.0f; }

protected:
    void AddComponent(IComponent* component);
    // A smoother, registered as a component that is also told of every
    // reset request.
    void AddComponent(SmoothRamp* smoother);
    void AddControllable(IControllable* controllable);
    void AddSynchronizeable(ISynchronizeable* synchronizeable);
    // The parameter's id is the number of parameters added before it.
    void AddParameter(ParameterBase* parameter);
    // Adds the parameter and maps the description's MIDI controller to it.
    // The description's id must be the id the parameter gets; a mismatch is
    // reported, and the controller then drives the parameter added here.
    void AddParameter(ParameterBase* parameter, const ParameterDescription& description);
    // Maps controller to parameterId, replacing an earlier mapping.
    void MapController(char controller, int parameterId);

private:
    struct Component {
        IComponent* component;
        // The same object when it is a smoother, otherwise null.
        SmoothRamp* smoother;
    };

    // A plain load first: the exchange is a locked instruction, and a reset
    // is requested only now and then.
    bool TakeResetRequest()
    {
        return resetRequested.load(std::memory_order_relaxed)
            && resetRequested.exchange(false, std::memory_order_acquire);
    }
    void ResetComponents(bool smoothersToo);

    std::atomic<float> sampleRate {DefaultSampleRate};
    std::atomic<bool> resetRequested {false};
    std::vector<Component> components;
    std::vector<IControllable*> controllables;
    std::vector<ISynchronizeable*> synchronizeables;
    std::vector<ParameterBase*> parameters;
    std::map<char, int> controllerMap;
};
