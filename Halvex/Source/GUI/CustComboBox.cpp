#include "GUI/CustComboBox.h"

#include "Assert.h"
#include "GUI/ControlText.h"

namespace {

const ControlTextStyle ItemTextStyle
    = {14, FW_THIN, ANTIALIASED_QUALITY, RGB(255, 189, 160), DT_SINGLELINE | DT_BOTTOM | DT_CENTER, 1};

// The items the control can use: none without a list.
int UsableItemCount(const char* const* menuItems, int menuItemCount)
{
    HALVEX_ASSERT(menuItems != 0);
    HALVEX_ASSERT(menuItemCount >= 0);
    return menuItems != nullptr && menuItemCount > 0 ? menuItemCount : 0;
}

} // namespace

CustComboBox::CustComboBox(
    HWND hDlg, int id, int parameterId, Gdiplus::Image* background, const char* const* menuItems, int menuItemCount)
    : ParameterControl(hDlg, id, parameterId, background)
    , menuItems(menuItems)
    , menu(CreatePopupMenu())
    , armed(true)
    , behaviour(*this, parameterId, UsableItemCount(menuItems, menuItemCount))
{
    for (int i = 0; i < behaviour.GetItemCount(); ++i) {
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), menuItems[i]);
    }
}

CustComboBox::~CustComboBox()
{
    DestroyMenu(menu);
}

void CustComboBox::Draw(Gdiplus::Graphics& graphics)
{
    int item = behaviour.GetSelected();
    if (item < 1 || item > behaviour.GetItemCount()) {
        return;
    }
    DrawControlText(graphics, hWnd, menuItems[item - 1], ItemTextStyle);
}

void CustComboBox::OnLeftButtonDown(int keys, int, int)
{
    if (keys & MK_SHIFT) {
        behaviour.SelectNext();
    } else if (!armed) {
        armed = true;
        ReturnFocus();
    } else {
        OpenMenu();
    }
}

void CustComboBox::OnRightButtonDown(int keys, int, int)
{
    if (keys & MK_SHIFT) {
        behaviour.SelectPrevious();
    } else {
        ReturnFocus();
    }
}

// A menu dismissed without a choice disarms the control, so that a click
// meant to close the menu cannot open it again straight away.
void CustComboBox::OpenMenu()
{
    POINT corner = {rect.left, rect.bottom};
    ClientToScreen(hWnd, &corner);
    int command = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD, corner.x, corner.y, 0, hWnd, &rect));
    if (command == 0) {
        armed = false;
        ReturnFocus();
        return;
    }
    behaviour.Select(command);
}
