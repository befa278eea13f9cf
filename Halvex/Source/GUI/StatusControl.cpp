#include "GUI/StatusControl.h"

#include "Assert.h"
#include "GUI/ControlText.h"
#include "Halvex.h"

StatusControl::StatusControl(HWND hDlg, int id, Gdiplus::Image* background, int fontHeight)
    : CustomControl(hDlg, id, background)
    , fontHeight(fontHeight)
    , text {}
{
    InvalidateRect(hWnd, nullptr, FALSE);
}

void StatusControl::SetText(const char* text)
{
    HALVEX_ASSERT(text != 0);
    if (text == nullptr) {
        return;
    }
    CopyString(this->text, text, TextSize);
    InvalidateRect(hWnd, nullptr, FALSE);
}

void StatusControl::ClearText()
{
    text[0] = 0;
    InvalidateRect(hWnd, nullptr, FALSE);
}

// Without DT_SINGLELINE the bottom alignment has no effect: both lines are
// drawn from the top.
void StatusControl::Draw(Gdiplus::Graphics& graphics)
{
    const ControlTextStyle style
        = {fontHeight, FW_NORMAL, DEFAULT_QUALITY, RGB(122, 135, 149), DT_CENTER | DT_BOTTOM, 0};
    DrawControlText(graphics, hWnd, text, style);
}
