#pragma once

#include "Assert.h"
#include "Halvex.h"
#include "Interfaces.h"
#include "Parameters/ParameterDescription.h"

#include <atomic>
#include <map>
#include <vector>

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
class PluginBase : public IEffectComponent,
                   public IControllable,
                   public ISynchronizeable,
                   public IParameterCollection,
                   public IEditorFactory {
public:
    PluginBase() = default;

    void Reset() override;
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

protected:
    void AddComponent(IComponent* component);
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
    std::atomic<float> sampleRate {DefaultSampleRate};
    std::vector<IComponent*> components;
    std::vector<IControllable*> controllables;
    std::vector<ISynchronizeable*> synchronizeables;
    std::vector<ParameterBase*> parameters;
    std::map<char, int> controllerMap;
};
