// The chorus editor as a host meets it: the shipped DLL loaded from disk,
// the editor opened through the dispatcher inside a host window, and real
// window messages sent to the dialog and its controls. Control values and
// the status line are read through the control objects bound to the
// windows.

#include "GUI/ControlMath.h"
#include "GUI/ImageResource.h"
#include "GUI/ParameterControl.h"
#include "GUI/StatusControl.h"
#include "ShippedEditorFixture.h"

#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int ParameterCount = 8;
constexpr int KnobFrames = 91;
constexpr int StatusItem = 1000;

enum class ControlKind { Switch, Knob, Slider };

struct Binding {
    int itemId;
    ControlKind kind;
};

// Dialog item and kind of control for parameter ids 0 to 7.
constexpr Binding Bindings[ParameterCount] = {{1001, ControlKind::Switch}, {1002, ControlKind::Knob},
    {1003, ControlKind::Knob}, {1004, ControlKind::Knob}, {1008, ControlKind::Slider}, {1005, ControlKind::Knob},
    {1006, ControlKind::Switch}, {1007, ControlKind::Switch}};

// What a control of the kind shows for a parameter value: switches snap to
// 0 or 1, knobs keep a frame position, sliders a pixel position (travel
// multiplied in and divided out again, hence the tolerance).
float ShownValue(ControlKind kind, float value)
{
    switch (kind) {
    case ControlKind::Switch:
        return value < 0.5f ? 0.0f : 1.0f;
    case ControlKind::Knob:
        return KnobValueFromPosition(KnobPositionFromValue(value, KnobFrames), KnobFrames);
    default:
        return value;
    }
}

struct Automation {
    VstInt32 index;
    float value;
};

class ChorusEditorTest : public ShippedEditorFixture {
protected:
    void SetUp() override
    {
        ShippedEditorFixture::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        plugin.SetAutomationListener([this](VstInt32 index, float value) { automations.push_back({index, value}); });
    }

    bool OpenEditor() { return plugin.Dispatch(effEditOpen, 0, 0, host->Get()) == 1; }
    void CloseEditor() { plugin.Dispatch(effEditClose); }
    void Idle() { plugin.Dispatch(effEditIdle); }

    HWND Dialog() const { return host->Dialog(); }
    ParameterControl* Control(int parameterId) const
    {
        return reinterpret_cast<ParameterControl*>(
            GetWindowLongPtrA(Item(Bindings[parameterId].itemId), GWLP_USERDATA));
    }
    float ControlValue(int parameterId) const { return Control(parameterId)->GetValue(); }
    std::string StatusText() const
    {
        auto* status = reinterpret_cast<StatusControl*>(GetWindowLongPtrA(Item(StatusItem), GWLP_USERDATA));
        return status != nullptr ? status->GetText() : "(no status control)";
    }

    // Every control shows what its parameter holds.
    void ExpectControlsShowTheParameters() const
    {
        for (int id = 0; id < ParameterCount; ++id) {
            EXPECT_NEAR(ControlValue(id), ShownValue(Bindings[id].kind, plugin.GetParameter(id)), 1e-6f)
                << "parameter " << id;
        }
    }

    // Presses on the middle of an item, with the pointer over that point.
    POINT Press(int itemId, WPARAM keys)
    {
        const POINT middle = PointerToMiddle(itemId);
        SendMessageA(Item(itemId), WM_LBUTTONDOWN, MK_LBUTTON | keys, ClientPoint(middle.x, middle.y));
        return middle;
    }

    std::vector<Automation> automations;
};

} // namespace

TEST_F(ChorusEditorTest, TheEditorIsFourHundredByEightyFourBeforeItWasEverOpened)
{
    ERect* rect = nullptr;
    ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 84);
    EXPECT_EQ(rect->right, 400);
}

TEST_F(ChorusEditorTest, EveryOpenBuildsANewDialogWithTheSameBindingsAndTheCurrentValues)
{
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(OpenEditor());
        HWND dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(host->ChildCount(), 1);
        for (int id = 0; id < ParameterCount; ++id) {
            ASSERT_NE(Control(id), nullptr) << "parameter " << id;
            EXPECT_EQ(Control(id)->GetParameterId(), id);
        }
        EXPECT_EQ(StatusText(), "");
        // Fresh controls show their constructed state until the first idle.
        EXPECT_EQ(ControlValue(1), 0.0f);
        EXPECT_EQ(ControlValue(0), 1.0f);
        Idle();
        ExpectControlsShowTheParameters();

        CloseEditor();
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(host->ChildCount(), 0);
        // Changes while closed, and an idle that cannot show them.
        plugin.SetParameter(1, 0.3f + 0.2f * static_cast<float>(round));
        plugin.SetProgram(3 + round);
        Idle();
    }
    ASSERT_TRUE(OpenEditor());
    Idle();
    ExpectControlsShowTheParameters();
}

TEST_F(ChorusEditorTest, DraggingAKnobMovesItsParameterAndCtrlClickResetsIt)
{
    ASSERT_TRUE(OpenEditor());
    plugin.SetParameter(2, 0.5f);
    Idle();
    automations.clear();

    POINT middle = Press(1003, 0);
    SendMessageA(Item(1003), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(middle.x, middle.y - 9));
    SendMessageA(Item(1003), WM_LBUTTONUP, 0, ClientPoint(middle.x, middle.y - 9));
    const float dragged = KnobValueFromPosition(KnobPositionFromValue(0.5f, KnobFrames) + 9.0f, KnobFrames);
    EXPECT_EQ(plugin.GetParameter(2), dragged);
    EXPECT_EQ(ControlValue(2), dragged);
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 2);
    EXPECT_EQ(automations[0].value, dragged);
    EXPECT_EQ(StatusText(), "Mod. Depth\n " + plugin.GetParameterDisplay(2) + " " + plugin.GetParameterLabel(2));

    // Ctrl + click: back to the default, 0.25, before the drag starts.
    automations.clear();
    middle = Press(1003, MK_CONTROL);
    SendMessageA(Item(1003), WM_LBUTTONUP, MK_CONTROL, ClientPoint(middle.x, middle.y));
    EXPECT_EQ(plugin.GetParameter(2), 0.25f);
    EXPECT_EQ(ControlValue(2), ShownValue(ControlKind::Knob, 0.25f));
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 2);
    EXPECT_EQ(automations[0].value, 0.25f);
}

TEST_F(ChorusEditorTest, ClickingASwitchTogglesItsParameterAndClearsTheStatusLine)
{
    ASSERT_TRUE(OpenEditor());
    plugin.SetParameter(6, 1.0f);
    Idle();
    SendMessageA(Item(1006), WM_MOUSEHOVER, 0, ClientPoint(2, 2));
    EXPECT_EQ(StatusText().rfind("Quad Mode\n", 0), 0u) << StatusText();
    automations.clear();

    POINT middle = Press(1006, 0);
    EXPECT_EQ(plugin.GetParameter(6), 0.0f);
    EXPECT_EQ(ControlValue(6), 0.0f);
    ASSERT_EQ(automations.size(), 1u);
    EXPECT_EQ(automations[0].index, 6);
    EXPECT_EQ(automations[0].value, 0.0f);
    SendMessageA(Item(1006), WM_LBUTTONUP, 0, ClientPoint(middle.x, middle.y));
    EXPECT_EQ(StatusText(), "");
}

TEST_F(ChorusEditorTest, HoveringShowsTheStatusTextAndLeavingClearsIt)
{
    ASSERT_TRUE(OpenEditor());
    Idle();
    SendMessageA(Item(1002), WM_MOUSEHOVER, 0, ClientPoint(3, 3));
    EXPECT_EQ(StatusText(), "Delay Time\n " + plugin.GetParameterDisplay(1) + " " + plugin.GetParameterLabel(1));
    SendMessageA(Item(1002), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(StatusText(), "");

    SendMessageA(Item(1008), WM_MOUSEHOVER, 0, ClientPoint(3, 3));
    EXPECT_EQ(StatusText(), "Mix\n " + plugin.GetParameterDisplay(4) + " " + plugin.GetParameterLabel(4));
    SendMessageA(Item(1008), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(StatusText(), "");
}

TEST_F(ChorusEditorTest, HostParameterChangesMoveTheControls)
{
    ASSERT_TRUE(OpenEditor());
    Idle();
    // On the editor's own thread the control moves at once.
    plugin.SetParameter(1, 0.3f);
    EXPECT_EQ(ControlValue(1), ShownValue(ControlKind::Knob, 0.3f));
    plugin.SetParameter(4, 0.8f);
    EXPECT_NEAR(ControlValue(4), 0.8f, 1e-6f);

    // From another thread it waits for the next idle.
    const float before = ControlValue(3);
    std::thread automation([this] { plugin.SetParameter(3, 0.7f); });
    automation.join();
    EXPECT_EQ(ControlValue(3), before);
    Idle();
    EXPECT_EQ(ControlValue(3), ShownValue(ControlKind::Knob, 0.7f));
    ExpectControlsShowTheParameters();
    EXPECT_TRUE(automations.empty()) << "host changes are not reported back to the host";
}

TEST_F(ChorusEditorTest, AProgramChangeRefreshesEveryControlAtTheNextIdle)
{
    ASSERT_TRUE(OpenEditor());
    Idle();
    std::vector<float> shown;
    for (int id = 0; id < ParameterCount; ++id) {
        shown.push_back(ControlValue(id));
    }
    plugin.SetProgram(7);
    int different = 0;
    for (int id = 0; id < ParameterCount; ++id) {
        EXPECT_EQ(ControlValue(id), shown[id]) << "no control moves before the idle";
        different += ShownValue(Bindings[id].kind, plugin.GetParameter(id)) != shown[id] ? 1 : 0;
    }
    ASSERT_GT(different, 0) << "program 7 should differ from program 0";
    Idle();
    ExpectControlsShowTheParameters();
}

// The about area is the title strip (0, 0)-(225, 25), bounds inclusive.
TEST_F(ChorusEditorTest, OnlyALeftClickOnTheTitleStripOpensTheAboutBox)
{
    ASSERT_TRUE(OpenEditor());
    Idle();
    AboutBoxProbe probe;
    EXPECT_TRUE(probe.Click(Dialog(), WM_LBUTTONDOWN, MK_LBUTTON, 225, 25));
    ASSERT_FALSE(probe.Captions().empty());
    EXPECT_EQ(probe.Captions()[0], "About Ombrix Chorus...");
    EXPECT_EQ(probe.TicksOpen(), 1) << "OK ends the box";
    EXPECT_TRUE(IsWindow(Dialog()));

    EXPECT_FALSE(probe.Click(Dialog(), WM_LBUTTONDOWN, MK_LBUTTON, 226, 10));
    EXPECT_FALSE(probe.Click(Dialog(), WM_LBUTTONDOWN, MK_LBUTTON, 10, 26));
    EXPECT_FALSE(probe.Click(Dialog(), WM_RBUTTONDOWN, MK_RBUTTON, 10, 10));
    EXPECT_FALSE(probe.Click(Dialog(), WM_RBUTTONUP, 0, 10, 10));
}

// The host's automation thread sets parameters and programs as fast as it
// can while its window thread opens, idles and closes the editor.
TEST_F(ChorusEditorTest, ParameterAndProgramChangesFromAnotherThreadNeverDisturbOpenAndClose)
{
    AEffect* effect = plugin.GetEffect();
    std::atomic<bool> running {true};
    std::atomic<long> changes {0};
    std::thread automation([&] {
        std::mt19937 random(2026);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        for (unsigned step = 0; running.load(std::memory_order_relaxed); ++step) {
            effect->setParameter(effect, static_cast<VstInt32>(step % ParameterCount), unit(random));
            if (step % 101 == 0) {
                effect->dispatcher(effect, effSetProgram, 0, static_cast<VstIntPtr>(step / 101 % 32), nullptr, 0.0f);
            }
            changes.fetch_add(1, std::memory_order_relaxed);
        }
    });
    // No ASSERT while the thread runs: leaving the test with a joinable
    // thread would end the whole test program.
    int opened = 0;
    for (int cycle = 0; cycle < 30; ++cycle) {
        opened += OpenEditor() ? 1 : 0;
        Idle();
        PumpMessages();
        Idle();
        CloseEditor();
        Idle();
    }
    const bool openAtTheEnd = OpenEditor();
    for (int idle = 0; idle < 20; ++idle) {
        Idle();
        PumpMessages();
    }
    running.store(false);
    automation.join();
    EXPECT_EQ(opened, 30);
    ASSERT_TRUE(openAtTheEnd);
    EXPECT_GT(changes.load(), 1000);
    Idle();
    ExpectControlsShowTheParameters();
}

// The images and dialogs the editor loads from the library, in US English.
TEST(ChorusEditorResources, TheLibraryHoldsTheFiveImagesAndBothDialogTemplates)
{
    PluginHost plugin;
    std::string error;
    ASSERT_TRUE(plugin.Load(OMBRIX_CHORUS_PATH, error)) << error;
    HMODULE module = GetModuleHandleA("OmbrixChorus.dll");
    ASSERT_NE(module, nullptr);
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    struct Image {
        const char* name;
        unsigned width;
        unsigned height;
        int colourType; // PNG: 2 = RGB, 6 = RGBA
    };
    for (const Image& image : {Image {"BACKGROUND", 400, 84, 2}, Image {"HSLIDER", 15, 22, 6},
             Image {"KNOB", 24, 2457, 6}, Image {"SWITCH_ON", 12, 22, 6}, Image {"SWITCH_OFF", 12, 22, 6}}) {
        SCOPED_TRACE(image.name);
        HRSRC resource = FindResourceExA(module, "PNG", image.name, english);
        ASSERT_NE(resource, nullptr);
        ASSERT_GE(SizeofResource(module, resource), 26u);
        const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 1, 3), "PNG");
        EXPECT_EQ(bytes[24], 8) << "8 bits per channel";
        EXPECT_EQ(bytes[25], image.colourType);

        Gdiplus::Bitmap* bitmap = LoadImageResource(module, image.name, "PNG");
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->GetWidth(), image.width);
        EXPECT_EQ(bitmap->GetHeight(), image.height);
        delete bitmap;
    }
    Gdiplus::GdiplusShutdown(token);

    struct Template {
        const char* name;
        DWORD style;
        WORD itemCount;
        short width;
        short height;
    };
    for (const Template& expected :
        {Template {"MAINDIALOG", 0x50000040, 9, 270, 54}, Template {"ABOUTDIALOG", 0x80C800C0, 5, 186, 103}}) {
        SCOPED_TRACE(expected.name);
        HRSRC resource = FindResourceExA(module, RT_DIALOG, expected.name, english);
        ASSERT_NE(resource, nullptr);
        const auto* dialog = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->style, expected.style);
        EXPECT_EQ(dialog->dwExtendedStyle, 0u);
        EXPECT_EQ(dialog->cdit, expected.itemCount);
        EXPECT_EQ(dialog->x, 0);
        EXPECT_EQ(dialog->y, 0);
        EXPECT_EQ(dialog->cx, expected.width);
        EXPECT_EQ(dialog->cy, expected.height);
    }
}
