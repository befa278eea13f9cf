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

EditorTestDialog::EditorTestDialog(HWND hDlg, Gdiplus::Bitmap* background, Gdiplus::Bitmap* strip, Gdiplus::Bitmap* on,
    Gdiplus::Bitmap* off, DisplayScale scale)
    : MainDialog(hDlg, background)
    , knob(hDlg, IDC_EDITOR_KNOB, 0, background, strip, KnobFrames, scale)
    , toggle(hDlg, IDC_EDITOR_SWITCH, 1, background, on, off)
    , status(hDlg, IDC_EDITOR_STATUS, background, 12)
{
    AddControl(0, &knob);
    AddControl(1, &toggle);
}

HostWindow* EditorTest::host = nullptr;

const COLORREF EditorTestEditor::BackgroundColour = RGB(30, 60, 90);

PanelLayout EditorTestEditor::Layout()
{
    PanelLayout layout = {};
    layout.width = 400;
    layout.height = 100;
    layout.knobFrames = EditorTestDialog::KnobFrames;
    layout.controls = {{0, PlacedControlKind::Knob, {150, 16, 24, 26}, IDC_EDITOR_KNOB},
        {1, PlacedControlKind::Switch, {195, 16, 15, 26}, IDC_EDITOR_SWITCH}};
    layout.status = {225, 16, 90, 32};
    layout.statusItemId = IDC_EDITOR_STATUS;
    layout.statusFontHeight = 12;
    layout.about = {4, 6, 20, 40};
    return layout;
}

EditorTestEditor::EditorTestEditor(IParameterCollection* parameters, IControlObserver* observer)
    : DialogEditor(nullptr, parameters, observer, Layout())
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

MainDialog* EditorTestEditor::CreateMainDialog(HWND hDlg, DisplayScale scale)
{
    ++dialogsCreated;
    dialog = new EditorTestDialog(hDlg, background.get(), strip.get(), on.get(), off.get(), scale);
    return dialog;
}
