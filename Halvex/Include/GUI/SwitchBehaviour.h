#pragma once

#include "GUI/ControlBehaviour.h"

#include <atomic>

// A two-state control; a left press toggles it, a gesture of its own, and
// the release empties the status display. Values of 0.5 and above are On
// (1), below are Off (0). Without its images it ignores clicks. The state is
// atomic so that drawing may read it anywhere.
class SwitchBehaviour : public ParameterBehaviour {
public:
    enum Status { On = 0, Off = 1 };

    SwitchBehaviour(IControlSurface& surface, int parameterId, bool hasImages);

    float GetValue() const override;
    void SetValue(float value) override;
    bool IsOn() const { return status.load(std::memory_order_relaxed) == On; }

    void Press(PointerKeys keys, int x, int y) override;
    void Release(PointerKeys keys, int x, int y) override;
    void Move(PointerKeys keys, int x, int y) override;
    void Hover() override;
    void Leave() override;

private:
    std::atomic<Status> status {On};
    bool hasImages;
};

// Selects one of itemCount items, 1-based (0 when there are none), spread
// evenly over [0, 1]. Each selection the user makes is a gesture of its own,
// also when it picks the item already selected. The selection is atomic so
// that drawing may read it anywhere.
class ChoiceBehaviour : public ParameterBehaviour {
public:
    ChoiceBehaviour(IControlSurface& surface, int parameterId, int itemCount);

    float GetValue() const override;
    void SetValue(float value) override;
    int GetSelected() const { return selected.load(std::memory_order_relaxed); }
    int GetItemCount() const { return itemCount; }

    // Takes the item, repaints and tells the observers.
    void Select(int item);
    void SelectNext() { Select(NextItem(GetSelected(), itemCount)); }
    void SelectPrevious() { Select(PreviousItem(GetSelected(), itemCount)); }
    // Negative notches (toward the user) step back, any others forward.
    void Wheel(PointerKeys keys, float notches) override;

private:
    int itemCount;
    std::atomic<int> selected {0};
};
