#pragma once

#include "EditorTestResources.h"
#include "EditorTestWindows.h"
#include "GUI/DialogEditor.h"
#include "GUI/Knob.h"
#include "GUI/MainDialog.h"
#include "GUI/StatusControl.h"
#include "GUI/Switch.h"
#include "Parameters/Displays.h"
#include "Parameters/Parameter.h"
#include "Parameters/SmoothParameter.h"

#include <gtest/gtest.h>

#include <memory>

using PlainParameter = Parameter<float, DoNothingSmoothTransform, DisplayFloat>;

// Three parameters: 0 has the knob, 1 the switch, 2 no control at all.
class EditorTestParameters : public IParameterCollection {
public:
    ParameterBase* GetParameter(int parameterId) override
    {
        return parameterId >= 0 && parameterId < Count ? parameters[parameterId] : nullptr;
    }
    int GetParameterCount() override { return Count; }

    static constexpr int Count = 3;
    PlainParameter level {"Level", "Level", "dB", 0.25f};
    PlainParameter toggle {"Toggle", "Toggle", "", 1.0f};
    PlainParameter spare {"Spare", "Spare", "", 0.5f};

private:
    ParameterBase* parameters[Count] = {&level, &toggle, &spare};
};

// The panel of the test editor. The about area is (6, 4)-(40, 20) inclusive.
class EditorTestDialog : public MainDialog {
public:
    EditorTestDialog(HWND hDlg, Gdiplus::Bitmap* background, Gdiplus::Bitmap* strip, Gdiplus::Bitmap* on,
        Gdiplus::Bitmap* off, DisplayScale scale);

    void SetStatusText(const char* text) override { status.SetText(text); }
    void ClearStatusText() override { status.ClearText(); }
    AboutRect GetAboutRect() const override { return {4, 6, 20, 40}; }

    static constexpr int KnobFrames = 11;
    Knob knob;
    Switch toggle;
    StatusControl status;
};

// An editor over EditorTestParameters whose images are drawn in code: a
// background of BackgroundColour, an 11-frame knob strip and two switch
// images. Its 400 x 100 panel has the knob at (150, 16), 24 x 26, the switch
// at (195, 16), 15 x 26, and the status line at (225, 16), 90 x 32. It
// counts the dialogs it creates and lends out the current one, and can pose
// as a display of any scale.
class EditorTestEditor : public DialogEditor {
public:
    static const COLORREF BackgroundColour;
    static PanelLayout Layout();

    explicit EditorTestEditor(IParameterCollection* parameters, IControlObserver* observer = nullptr);
    ~EditorTestEditor() override;

    // The dialog object while open, else null.
    EditorTestDialog* Dialog() { return isOpen() ? dialog : nullptr; }
    int DialogsCreated() const { return dialogsCreated; }
    // From now on every window shows the panel at scale.
    void PoseAs(DisplayScale scale)
    {
        posedScale = scale;
        posing = true;
    }

protected:
    MainDialog* CreateMainDialog(HWND hDlg, DisplayScale scale) override;
    DisplayScale ScaleOf(HWND window) const override { return posing ? posedScale : DialogEditor::ScaleOf(window); }

private:
    bool posing = false;
    DisplayScale posedScale;
    std::unique_ptr<Gdiplus::Bitmap> background;
    std::unique_ptr<Gdiplus::Bitmap> strip;
    std::unique_ptr<Gdiplus::Bitmap> on;
    std::unique_ptr<Gdiplus::Bitmap> off;
    EditorTestDialog* dialog = nullptr;
    int dialogsCreated = 0;
};

// A fresh editor for each test, in a host window shared by the suite (a
// top-level window costs seconds to destroy under Wine).
class EditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host = new HostWindow; }
    static void TearDownTestSuite()
    {
        delete host;
        host = nullptr;
    }
    void SetUp() override { editor = std::make_unique<EditorTestEditor>(&parameters); }
    void TearDown() override { editor.reset(); }

    bool Open() { return editor->open(host->Get()); }
    Knob& KnobControl() { return editor->Dialog()->knob; }
    Switch& SwitchControl() { return editor->Dialog()->toggle; }
    StatusControl& Status() { return editor->Dialog()->status; }

    static HostWindow* host;
    EditorTestParameters parameters;
    std::unique_ptr<EditorTestEditor> editor;
};
