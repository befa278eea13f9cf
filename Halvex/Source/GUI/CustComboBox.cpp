#include "GUI/CustComboBox.h"

#include "Assert.h"
#include "GUI/ControlMath.h"
#include "GUI/ControlText.h"

namespace {

const ControlTextStyle ItemTextStyle
    = {14, FW_THIN, ANTIALIASED_QUALITY, RGB(255, 189, 160), DT_SINGLELINE | DT_BOTTOM | DT_CENTER, 1};

} // namespace

CustComboBox::CustComboBox(
    HWND hDlg, int id, int parameterId, Gdiplus::Image* background, const char* const* menuItems, int menuItemCount)
    : ParameterControl(hDlg, id, parameterId, background)
    , menuItems(menuItems)
    , menuItemCount(0)
    , menu(nullptr)
    , armed(true)
{
    HALVEX_ASSERT(menuItems != 0);
    HALVEX_ASSERT(menuItemCount >= 0);
    if (menuItems != nullptr && menuItemCount > 0) {
        this->menuItemCount = menuItemCount;
    }
    menu = CreatePopupMenu();
    for (int i = 0; i < this->menuItemCount; ++i) {
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), menuItems[i]);
    }
    if (this->menuItemCount > 0) {
        selected.store(1, std::memory_order_relaxed);
    }
}

CustComboBox::~CustComboBox()
{
    DestroyMenu(menu);
}

float CustComboBox::GetValue() const
{
    return ComboValueFromItem(selected.load(std::memory_order_relaxed), menuItemCount);
}

void CustComboBox::SetValue(float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    if (menuItemCount > 0) {
        selected.store(ComboItemFromValue(ClampToUnit(value), menuItemCount), std::memory_order_relaxed);
    }
    InvalidateRect(hWnd, nullptr, FALSE);
}

void CustComboBox::Draw(Gdiplus::Graphics& graphics)
{
    int item = selected.load(std::memory_order_relaxed);
    if (item < 1 || item > menuItemCount) {
        return;
    }
    DrawControlText(graphics, hWnd, menuItems[item - 1], ItemTextStyle);
}

void CustComboBox::OnLeftButtonDown(int keys, int, int)
{
    if (keys & MK_SHIFT) {
        Select(NextItem(selected.load(std::memory_order_relaxed), menuItemCount));
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
        Select(PreviousItem(selected.load(std::memory_order_relaxed), menuItemCount));
    } else {
        ReturnFocus();
    }
}

void CustComboBox::OnMouseWheel(int, int delta, int, int)
{
    int item = selected.load(std::memory_order_relaxed);
    if (static_cast<short>(delta) < 0) {
        Select(PreviousItem(item, menuItemCount));
    } else {
        Select(NextItem(item, menuItemCount));
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
    Select(command);
}

void CustComboBox::Select(int item)
{
    selected.store(item, std::memory_order_relaxed);
    InvalidateRect(hWnd, nullptr, FALSE);
    NotifyChanged(false);
    ReturnFocus();
}
