#include "GUI/DialogEditor.h"

#include "Assert.h"
#include "GUI/CustomControl.h"
#include "GUI/MainDialog.h"
#include "GUI/Module.h"
#include "GUI/WindowScale.h"

namespace {

// Control windows have no frame: the window's rectangle is its client area.
void MoveItem(HWND dialog, int itemId, PixelRect rect)
{
    HWND item = GetDlgItem(dialog, itemId);
    if (item != nullptr) {
        MoveWindow(item, rect.left, rect.top, rect.width, rect.height, FALSE);
    }
}

} // namespace

DialogEditor::DialogEditor(
    AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer, PanelLayout layout)
    : PanelEditor(effect, parameters, observer, std::move(layout))
    , gdiplusToken(0)
    , hDlg(nullptr)
    , mainDialog(nullptr)
{
    RegisterControlClasses();
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
}

DialogEditor::~DialogEditor()
{
    close();
    Gdiplus::GdiplusShutdown(gdiplusToken);
}

// GetDpiForWindow answers at once after a change of scale, so checking at
// every idle follows a move to another monitor within one idle period,
// whether or not the host passes the change on to its child windows.
void DialogEditor::idle()
{
    if (hDlg != nullptr && IsViewOpen() && ScaleOf(hDlg) != dialogScale) {
        void* parentWindow = systemWindow;
        CloseView();
        if (!OpenView(parentWindow)) {
            close();
            return;
        }
        RequestRefresh();
    }
    Editor::idle();
}

DisplayScale DialogEditor::ScaleOf(HWND window) const
{
    return WindowDisplayScale(window);
}

bool DialogEditor::OpenView(void* parentWindow)
{
    hDlg = CreateDialogParamA(GetModuleInstance(), "MainDialog", static_cast<HWND>(parentWindow), MainDialogProc, 0);
    HALVEX_ASSERT(hDlg != 0);
    if (hDlg == nullptr) {
        return false;
    }
    // The items move before the controls are bound to them: a control
    // reads its place when it is built.
    dialogScale = ScaleOf(hDlg);
    PlaceItems(dialogScale);
    mainDialog = CreateMainDialog(hDlg, dialogScale);
    ShowWindow(hDlg, SW_SHOWNORMAL);
    UpdateWindow(hDlg);
    ViewShownAt(dialogScale);
    return true;
}

// The windows go before the objects, so that no message can reach a
// destroyed control.
void DialogEditor::CloseView()
{
    if (mainDialog != nullptr) {
        mainDialog->CancelGestures();
    }
    DestroyWindow(hDlg);
    hDlg = nullptr;
    delete mainDialog;
    mainDialog = nullptr;
}

void DialogEditor::ShowValue(int parameterId, float value)
{
    if (mainDialog != nullptr) {
        mainDialog->SetParameterValue(parameterId, value);
    }
}

void DialogEditor::ShowStatusText(const char* text)
{
    if (mainDialog != nullptr) {
        mainDialog->SetStatusText(text);
    }
}

void DialogEditor::ClearStatusView()
{
    if (mainDialog != nullptr) {
        mainDialog->ClearStatusText();
    }
}

void DialogEditor::PlaceItems(DisplayScale scale)
{
    const PanelLayout scaled = ScaleLayout(GetLayout(), scale);
    SetWindowPos(hDlg, nullptr, 0, 0, scaled.width, scaled.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlPlacement& placement : scaled.controls) {
        MoveItem(hDlg, placement.dialogItemId, placement.rect);
    }
    MoveItem(hDlg, scaled.statusItemId, scaled.status);
}
