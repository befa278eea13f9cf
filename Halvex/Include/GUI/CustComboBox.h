#pragma once

#include "GUI/ParameterControl.h"

#include <atomic>

// Selects one of a list of named items and prints the selected name on the
// panel. A left click opens a popup menu of the items (after a menu was
// dismissed, the next plain click only re-arms it); Shift + left click and
// the wheel toward the user step forward, Shift + right click and the wheel
// away from the user step back, wrapping at both ends. The items are spread
// evenly over [0, 1]. The names are not owned and must outlive the control;
// the menu is owned.
class CustComboBox : public ParameterControl {
public:
    CustComboBox(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, const char* const* menuItems,
        int menuItemCount);
    ~CustComboBox() override;

    float GetValue() const override;
    void SetValue(float value) override;
    void Draw(Gdiplus::Graphics& graphics) override;
    void OnLeftButtonDown(int keys, int x, int y) override;
    void OnRightButtonDown(int keys, int x, int y) override;
    void OnMouseWheel(int keys, int delta, int x, int y) override;

private:
    void OpenMenu();
    // Takes the item and tells the observers, even when it is unchanged.
    void Select(int item);

    const char* const* menuItems;
    int menuItemCount;
    HMENU menu;
    // 1-based item number, 0 when there are no items.
    std::atomic<int> selected {0};
    bool armed;
};
