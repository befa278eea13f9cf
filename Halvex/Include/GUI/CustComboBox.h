#pragma once

#include "GUI/ParameterControl.h"
#include "GUI/SwitchBehaviour.h"

// Selects one of a list of named items (ChoiceBehaviour) and prints the
// selected name on the panel. A left click opens a popup menu of the items
// (after a menu was dismissed, the next plain click only re-arms it); Shift +
// left click and the wheel away from the user step forward, Shift + right
// click and the wheel toward the user step back, wrapping at both ends. The
// names are not owned and must outlive the control; the menu is owned.
class CustComboBox : public ParameterControl {
public:
    CustComboBox(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, const char* const* menuItems,
        int menuItemCount);
    ~CustComboBox() override;

    void Draw(Gdiplus::Graphics& graphics) override;
    void OnLeftButtonDown(int keys, int x, int y) override;
    void OnRightButtonDown(int keys, int x, int y) override;

protected:
    ParameterBehaviour& Behaviour() override { return behaviour; }
    const ParameterBehaviour& Behaviour() const override { return behaviour; }

private:
    void OpenMenu();

    const char* const* menuItems;
    HMENU menu;
    bool armed;
    ChoiceBehaviour behaviour;
};
