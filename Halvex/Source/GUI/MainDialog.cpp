#include "GUI/MainDialog.h"

#include "Assert.h"
#include "GUI/ControlMath.h"
#include "GUI/Module.h"

MainDialog::MainDialog(HWND hDlg, Gdiplus::Image* background)
    : background(background)
{
    SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(hDlg, nullptr, FALSE);
}

MainDialog::~MainDialog()
{
    controls.clear();
}

void MainDialog::AddControl(int parameterId, ParameterControl* control)
{
    controls[parameterId] = control;
}

void MainDialog::SetParameterValue(int parameterId, float value)
{
    HALVEX_ASSERT(value >= 0.0f && value <= 1.0f);
    auto found = controls.find(parameterId);
    if (found != controls.end() && found->second != nullptr) {
        found->second->SetValue(ClampToUnit(value));
    }
}

void MainDialog::CancelGestures()
{
    for (auto& entry : controls) {
        if (entry.second != nullptr) {
            entry.second->CancelGesture();
        }
    }
}

void MainDialog::Paint(HWND hwnd)
{
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    if (background != nullptr) {
        Gdiplus::Graphics graphics(hdc);
        graphics.DrawImage(background, 0, 0, background->GetWidth(), background->GetHeight());
    }
    EndPaint(hwnd, &paint);
}

// The about box is modal: when DialogBoxParamA returns, the editor may have
// been closed meanwhile, so nothing of this object is touched afterwards.
void MainDialog::OnLeftButtonDown(HWND hwnd, int x, int y)
{
    if (GetAboutRect().Contains(x, y)) {
        DialogBoxParamA(GetModuleInstance(), "AboutDialog", hwnd, AboutDialogProc, 0);
    }
}

INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM /*wParam*/, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<MainDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_PAINT:
        dialog->Paint(hwnd);
        return TRUE;
    case WM_LBUTTONDOWN:
        dialog->OnLeftButtonDown(hwnd, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK AboutDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_CLOSE:
        EndDialog(hwnd, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(hwnd, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void RegisterDialogClass(HINSTANCE instance, const char* className)
{
    WNDCLASSA dialogClass = {};
    dialogClass.style = 0;
    dialogClass.lpfnWndProc = DefDlgProcA;
    dialogClass.cbClsExtra = 0;
    dialogClass.cbWndExtra = DLGWINDOWEXTRA;
    dialogClass.hInstance = instance;
    dialogClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    dialogClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    dialogClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    dialogClass.lpszMenuName = nullptr;
    dialogClass.lpszClassName = className;
    RegisterClassA(&dialogClass);
}
