#include "GUI/Editor.h"

#include "Assert.h"
#include "GUI/CustomControl.h"
#include "GUI/MainDialog.h"
#include "GUI/Module.h"
#include "Parameters/ParameterBase.h"

Editor::Editor(AudioEffect* effect, IParameterCollection* parameters)
    : AEffEditor(effect)
    , parameters(parameters)
    , gdiplusToken(0)
    , hDlg(nullptr)
    , mainDialog(nullptr)
    , dialogOpen(false)
    , refreshPending(false)
    , windowThreadId(0)
    , flagCount(parameters != nullptr ? parameters->GetParameterCount() : 0)
    // Value-initialised: every flag starts down.
    , refreshFlags(new std::atomic<bool>[flagCount > 0 ? flagCount : 0]())
{
    RegisterControlClasses();
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
}

Editor::~Editor()
{
    Editor::close();
    Gdiplus::GdiplusShutdown(gdiplusToken);
}

bool Editor::open(void* ptr)
{
    if (dialogOpen.load(std::memory_order_relaxed)) {
        close();
    }
    systemWindow = ptr;
    hDlg = CreateDialogParamA(GetModuleInstance(), "MainDialog", static_cast<HWND>(ptr), MainDialogProc, 0);
    HALVEX_ASSERT(hDlg != 0);
    if (hDlg == nullptr) {
        systemWindow = nullptr;
        return false;
    }
    mainDialog = CreateMainDialog(hDlg);
    ShowWindow(hDlg, SW_SHOWNORMAL);
    UpdateWindow(hDlg);
    windowThreadId.store(GetCurrentThreadId(), std::memory_order_relaxed);
    // The fresh controls show their constructed state until the first idle.
    refreshPending.store(true, std::memory_order_relaxed);
    // Release: a thread that sees the dialog open also sees whose it is.
    dialogOpen.store(true, std::memory_order_release);
    return true;
}

// The windows go before the objects, so that no message can reach a
// destroyed control.
void Editor::close()
{
    if (!dialogOpen.load(std::memory_order_relaxed)) {
        return;
    }
    dialogOpen.store(false, std::memory_order_relaxed);
    DestroyWindow(hDlg);
    hDlg = nullptr;
    delete mainDialog;
    mainDialog = nullptr;
    systemWindow = nullptr;
}

// A refresh requested while the dialog is closed waits for the first idle
// after the next open.
void Editor::idle()
{
    if (!dialogOpen.load(std::memory_order_relaxed)) {
        return;
    }
    // Flags are taken down before the values are read, so a change that
    // arrives meanwhile raises them again for the next idle.
    const bool refreshAll = refreshPending.exchange(false, std::memory_order_relaxed);
    for (int i = 0; parameters != nullptr && i < parameters->GetParameterCount(); ++i) {
        const bool flagged = i < flagCount && refreshFlags[i].exchange(false, std::memory_order_relaxed);
        if ((refreshAll || flagged) && dialogOpen.load(std::memory_order_relaxed)) {
            PushValue(i);
        }
    }
}

void Editor::RequestRefresh()
{
    refreshPending.store(true, std::memory_order_relaxed);
}

void Editor::RefreshControl(int parameterId)
{
    if (parameterId < 0 || parameterId >= flagCount) {
        return;
    }
    if (OnWindowThread()) {
        PushValue(parameterId);
    } else {
        refreshFlags[parameterId].store(true, std::memory_order_relaxed);
    }
}

void Editor::SetStatusText(const char* text)
{
    HALVEX_ASSERT(text != 0);
    if (text != nullptr && OnWindowThread()) {
        mainDialog->SetStatusText(text);
    }
}

void Editor::ClearStatusText()
{
    if (OnWindowThread()) {
        mainDialog->ClearStatusText();
    }
}

// True only on the thread that opened the dialog, while it is open: then
// close cannot run at the same time.
bool Editor::OnWindowThread() const
{
    return dialogOpen.load(std::memory_order_acquire)
        && windowThreadId.load(std::memory_order_relaxed) == GetCurrentThreadId();
}

void Editor::PushValue(int parameterId)
{
    ParameterBase* parameter = parameters->GetParameter(parameterId);
    if (parameter != nullptr && mainDialog != nullptr) {
        mainDialog->SetParameterValue(parameterId, parameter->GetValue());
    }
}
