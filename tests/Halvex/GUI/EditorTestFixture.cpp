#include "EditorTestFixture.h"

namespace {

std::unique_ptr<Gdiplus::Bitmap> SolidBitmap(int width, int height, COLORREF colour)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(bitmap.get());
    graphics.Clear(Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    return bitmap;
}

} // namespace

EditorTestDialog::EditorTestDialog(
    HWND hDlg, Gdiplus::Bitmap* background, Gdiplus::Bitmap* strip, Gdiplus::Bitmap* on, Gdiplus::Bitmap* off)
    : MainDialog(hDlg, background)
    , knob(hDlg, IDC_EDITOR_KNOB, 0, background, strip, KnobFrames)
    , toggle(hDlg, IDC_EDITOR_SWITCH, 1, background, on, off)
    , status(hDlg, IDC_EDITOR_STATUS, background, 12)
{
    AddControl(0, &knob);
    AddControl(1, &toggle);
}

HostWindow* EditorTest::host = nullptr;

const COLORREF EditorTestEditor::BackgroundColour = RGB(30, 60, 90);

EditorTestEditor::EditorTestEditor(IParameterCollection* parameters)
    : DialogEditor(nullptr, parameters)
{
    background = SolidBitmap(400, 100, BackgroundColour);
    strip = SolidBitmap(20, 20 * EditorTestDialog::KnobFrames, RGB(200, 200, 200));
    on = SolidBitmap(10, 20, RGB(0, 255, 0));
    off = SolidBitmap(10, 20, RGB(255, 0, 0));
}

// The images must go before the base shuts GDI+ down, and after the dialog.
EditorTestEditor::~EditorTestEditor()
{
    close();
    background.reset();
    strip.reset();
    on.reset();
    off.reset();
}

bool EditorTestEditor::getRect(ERect** rect)
{
    *rect = &this->rect;
    return true;
}

MainDialog* EditorTestEditor::CreateMainDialog(HWND hDlg)
{
    ++dialogsCreated;
    dialog = new EditorTestDialog(hDlg, background.get(), strip.get(), on.get(), off.get());
    return dialog;
}
