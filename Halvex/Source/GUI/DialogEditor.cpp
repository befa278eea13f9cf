#include "GUI/DialogEditor.h"

#include "Assert.h"
#include "GUI/CustomControl.h"
#include "GUI/MainDialog.h"
#include "GUI/Module.h"

DialogEditor::DialogEditor(AudioEffect* effect, IParameterCollection* parameters)
    : Editor(effect, parameters)
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

bool DialogEditor::OpenView(void* parentWindow)
{
    hDlg = CreateDialogParamA(GetModuleInstance(), "MainDialog", static_cast<HWND>(parentWindow), MainDialogProc, 0);
    HALVEX_ASSERT(hDlg != 0);
    if (hDlg == nullptr) {
        return false;
    }
    mainDialog = CreateMainDialog(hDlg);
    ShowWindow(hDlg, SW_SHOWNORMAL);
    UpdateWindow(hDlg);
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
