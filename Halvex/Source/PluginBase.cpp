#include "PluginBase.h"

#include "Assert.h"
#include "Parameters/SmoothRamp.h"

void PluginBase::Reset()
{
    // A reset requested before this one is served by it.
    TakeResetRequest();
    ResetComponents(true);
}

void PluginBase::RequestReset()
{
    for (const Component& entry : components) {
        if (entry.smoother != nullptr) {
            entry.smoother->RequestReset();
        }
    }
    resetRequested.store(true, std::memory_order_release);
}

void PluginBase::ResetComponents(bool smoothersToo)
{
    for (const Component& entry : components) {
        if (smoothersToo || entry.smoother == nullptr) {
            entry.component->Reset();
        }
    }
}

float PluginBase::GetSampleRate()
{
    return sampleRate.load(std::memory_order_relaxed);
}

void PluginBase::SetSampleRate(float sampleRate)
{
    HALVEX_ASSERT(sampleRate > 0.0f);
    if (!(sampleRate > 0.0f)) {
        return;
    }
    this->sampleRate.store(sampleRate, std::memory_order_relaxed);
    for (const Component& entry : components) {
        entry.component->SetSampleRate(sampleRate);
    }
}

void PluginBase::SetController(char controller, float value)
{
    for (IControllable* controllable : controllables) {
        controllable->SetController(controller, value);
    }
}

bool PluginBase::GetMappedParameter(char controller, int* parameterId) const
{
    const auto entry = controllerMap.find(controller);
    if (entry == controllerMap.end()) {
        return false;
    }
    if (parameterId != nullptr) {
        *parameterId = entry->second;
    }
    return true;
}

void PluginBase::AddComponent(IComponent* component)
{
    components.push_back({component, nullptr});
}

void PluginBase::AddComponent(SmoothRamp* smoother)
{
    components.push_back({smoother, smoother});
}

void PluginBase::AddControllable(IControllable* controllable)
{
    controllables.push_back(controllable);
}

void PluginBase::AddSynchronizeable(ISynchronizeable* synchronizeable)
{
    synchronizeables.push_back(synchronizeable);
}

void PluginBase::AddParameter(ParameterBase* parameter)
{
    parameters.push_back(parameter);
}

void PluginBase::AddParameter(ParameterBase* parameter, const ParameterDescription& description)
{
    const int id = GetParameterCount();
    HALVEX_ASSERT(description.id == id);
    AddParameter(parameter);
    if (description.midiController != ParameterDescription::NoController) {
        MapController(static_cast<char>(description.midiController), id);
    }
}

void PluginBase::MapController(char controller, int parameterId)
{
    controllerMap[controller] = parameterId;
}
