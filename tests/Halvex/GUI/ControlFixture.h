#pragma once

#include "GUI/CustomControl.h"
#include "GUI/ParameterControl.h"
#include "IControlObserver.h"
#include "TestDialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Records every call a control makes. Like the effect, it pushes the
// default value back into the control while it handles a reset.
class RecordingObserver : public IControlObserver {
public:
    enum Kind { Reset, Change, Show, Clear };
    struct Call {
        Kind kind;
        int parameterId;
        float value;
        bool showStatus;
    };

    void ResetParameter(int parameterId) override;
    void ChangeParameter(int parameterId, float value, bool showStatus) override;
    void ShowParameterStatus(int parameterId) override;
    void ClearStatus() override;

    std::vector<Kind> Kinds() const;

    std::vector<Call> calls;
    ParameterControl* resetTarget = nullptr;
    float defaultValue = 0.0f;
};

// A live test dialog on the Xvfb display, with GDI+ started and the control
// classes registered. Items are placed at exact pixel positions; the
// dialog's background image is a gradient whose pixel (x, y) has the colour
// RGB(x, y, 200), so a control shows where it took its background from.
// The dialog and GDI+ live for a whole test suite (creating and destroying
// windows under Wine costs seconds); each test binds its own controls and
// gets the items back at their places.
class ControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    // Moves an item to dialog client pixels (x, y) with the given size.
    void PlaceItem(int id, int x, int y, int width, int height);

    // A bitmap filled with one colour; owned by the fixture.
    Gdiplus::Bitmap* SolidBitmap(int width, int height, COLORREF colour);
    // A film strip of frameCount frames of width × frameHeight, frame i in
    // the colour FrameColour(i); owned by the fixture.
    Gdiplus::Bitmap* FilmStrip(int width, int frameHeight, int frameCount);
    static COLORREF FrameColour(int frame);
    static COLORREF BackgroundColour(int dialogX, int dialogY);

    // Invalidates the dialog with its items, as the editor does once the
    // controls are bound, and repaints it.
    void RedrawDialog();
    // Repaints what is invalid and reads one pixel of the window.
    COLORREF PixelAt(HWND window, int x, int y);
    // Puts the pointer over client point (x, y) of the window and presses.
    void PressAt(HWND window, int keys, int x, int y);
    static LPARAM Point(int x, int y);
    static POINT ScreenPoint(HWND window, int x, int y);

    static HWND dialog;
    Gdiplus::Bitmap* background = nullptr;
    RecordingObserver observer;

private:
    static ULONG_PTR gdiplusToken;
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> bitmaps;
};
