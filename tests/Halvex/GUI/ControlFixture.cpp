#include "ControlFixture.h"

#include "GUI/Module.h"

void RecordingObserver::ResetParameter(int parameterId)
{
    calls.push_back({Reset, parameterId, 0.0f, false});
    if (resetTarget != nullptr) {
        resetTarget->SetValue(defaultValue);
    }
}

void RecordingObserver::ChangeParameter(int parameterId, float value, bool showStatus)
{
    calls.push_back({Change, parameterId, value, showStatus});
}

void RecordingObserver::ShowParameterStatus(int parameterId)
{
    calls.push_back({Show, parameterId, 0.0f, false});
}

void RecordingObserver::ClearStatus()
{
    calls.push_back({Clear, -1, 0.0f, false});
}

std::vector<RecordingObserver::Kind> RecordingObserver::Kinds() const
{
    std::vector<Kind> kinds;
    for (const Call& call : calls) {
        kinds.push_back(call.kind);
    }
    return kinds;
}

namespace {

INT_PTR CALLBACK TestDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

} // namespace

HWND ControlTest::dialog = nullptr;
ULONG_PTR ControlTest::gdiplusToken = 0;

void ControlTest::SetUpTestSuite()
{
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
    RegisterControlClasses();
    dialog = CreateDialogParamA(GetModuleInstance(), "TESTDIALOG", nullptr, TestDialogProc, 0);
    SetWindowPos(dialog, HWND_TOP, 100, 100, 260, 200, SWP_SHOWWINDOW);
}

void ControlTest::TearDownTestSuite()
{
    DestroyWindow(dialog);
    dialog = nullptr;
    Gdiplus::GdiplusShutdown(gdiplusToken);
}

void ControlTest::SetUp()
{
    ASSERT_NE(nullptr, dialog);

    auto gradient = std::make_unique<Gdiplus::Bitmap>(260, 200, PixelFormat32bppARGB);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 260; ++x) {
            COLORREF colour = BackgroundColour(x, y);
            gradient->SetPixel(x, y, Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        }
    }
    background = gradient.get();
    bitmaps.push_back(std::move(gradient));

    PlaceItem(IDC_KNOB, 10, 10, 24, 27);
    PlaceItem(IDC_KNOB_SPARE, 40, 10, 24, 27);
    PlaceItem(IDC_HSLIDER, 70, 10, 60, 22);
    PlaceItem(IDC_VSLIDER, 140, 10, 22, 60);
    PlaceItem(IDC_HSLIDER_FULL, 70, 40, 15, 22);
    PlaceItem(IDC_VSLIDER_FULL, 170, 10, 22, 15);
    PlaceItem(IDC_SWITCH, 10, 50, 12, 22);
    PlaceItem(IDC_COMBO, 10, 80, 100, 20);
    PlaceItem(IDC_STATUS, 10, 110, 150, 40);
    PlaceItem(IDC_UNBOUND, 200, 10, 20, 20);
    PlaceItem(IDC_EDIT, 10, 160, 80, 20);
    UpdateWindow(dialog);
}

void ControlTest::TearDown()
{
    bitmaps.clear();
}

void ControlTest::PlaceItem(int id, int x, int y, int width, int height)
{
    SetWindowPos(Item(id), nullptr, x, y, width, height, SWP_NOZORDER);
}

Gdiplus::Bitmap* ControlTest::SolidBitmap(int width, int height, COLORREF colour)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.Clear(Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    }
    bitmaps.push_back(std::move(bitmap));
    return bitmaps.back().get();
}

Gdiplus::Bitmap* ControlTest::FilmStrip(int width, int frameHeight, int frameCount)
{
    auto strip = std::make_unique<Gdiplus::Bitmap>(width, frameHeight * frameCount, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(strip.get());
        for (int frame = 0; frame < frameCount; ++frame) {
            COLORREF colour = FrameColour(frame);
            Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)));
            graphics.FillRectangle(&brush, 0, frame * frameHeight, width, frameHeight);
        }
    }
    bitmaps.push_back(std::move(strip));
    return bitmaps.back().get();
}

COLORREF ControlTest::FrameColour(int frame)
{
    return RGB(frame * 2, 255 - frame * 2, 60);
}

COLORREF ControlTest::BackgroundColour(int dialogX, int dialogY)
{
    return RGB(dialogX % 256, dialogY % 256, 200);
}

void ControlTest::RedrawDialog()
{
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

COLORREF ControlTest::PixelAt(HWND window, int x, int y)
{
    UpdateWindow(window);
    HDC hdc = GetDC(window);
    COLORREF colour = GetPixel(hdc, x, y);
    ReleaseDC(window, hdc);
    return colour;
}

void ControlTest::PressAt(HWND window, int keys, int x, int y)
{
    POINT screen = ScreenPoint(window, x, y);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(x, y));
}

LPARAM ControlTest::Point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

POINT ControlTest::ScreenPoint(HWND window, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}
