// The X11 UI of OmbrixChorus.lv2 as a host that embeds X11 UIs meets it:
// found through lilv in the bundle's Turtle, loaded from its binary,
// instantiated inside a host window on an X server of the test's own, driven
// by the host's idle calls and port events, and by real pointer input
// (XTest) that must reach the host as control writes and touch gestures.

#include "Lv2/Lv2PortLayout.h"
#include "Lv2TestHost.h"
#include "OmbrixChorusDescription.h"
#include "PanelGeometry.h"
#include "PngPicture.h"

#include <gtest/gtest.h>

#include <lv2/ui/ui.h>

#include "X11TestScreen.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const auto& Product = OmbrixChorusDescription;
constexpr Lv2PortLayout Layout = MakeLv2PortLayout(Product);
// The delay knob and the mix slider.
constexpr const Rect& DelayKnob = ControlRects[ParameterId::DelayTime];
constexpr const Rect& MixSlider = ControlRects[ParameterId::Mix];

// What the UI asked of the host, in order.
struct HostCall {
    enum Kind { Write, TouchBegin, TouchEnd } kind;
    std::uint32_t port;
    float value;
};

class Lv2UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(screen.Start(error)) << error;
        display = screen.GetDisplay();
        hostWindow = screen.MakeHostWindow(10, 10, PanelWidth, PanelHeight);
        background = ReadPngPicture(std::string(ARTWORK_DIR) + "/Background.png").pixels;

        // The UI as lilv finds it in the bundle.
        const LilvPlugin* plugin = lv2.FindPlugin(Product.identity.lv2Uri);
        ASSERT_NE(plugin, nullptr);
        LilvUIs* uis = lilv_plugin_get_uis(plugin);
        ASSERT_EQ(lilv_uis_size(uis), 1u);
        const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
        LilvNode* x11 = lilv_new_uri(lv2.World(), LV2_UI__X11UI);
        EXPECT_TRUE(lilv_ui_is_a(ui, x11));
        lilv_node_free(x11);
        uiUri = lilv_node_as_uri(lilv_ui_get_uri(ui));
        char* path = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        lilv_free(path);
        lilv_uis_free(uis);
        ASSERT_NE(library, nullptr) << dlerror();
        const auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        descriptor = entry(0);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(entry(1), nullptr);
    }

    void TearDown() override
    {
        Close();
        if (library != nullptr) {
            dlclose(library);
        }
    }

    // Instantiates the UI in the host window with the features asked for.
    bool Open(bool withTouchAndResize = true)
    {
        parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow))};
        touchFeature = {LV2_UI__touch, &touch};
        resizeFeature = {LV2_UI__resize, &resize};
        idleFeature = {LV2_UI__idleInterface, nullptr};
        std::vector<const LV2_Feature*> features = {&parentFeature, &idleFeature};
        if (withTouchAndResize) {
            features.push_back(&touchFeature);
            features.push_back(&resizeFeature);
        }
        features.push_back(nullptr);
        handle = descriptor->instantiate(
            descriptor, Product.identity.lv2Uri, OMBRIX_CHORUS_LV2_BUNDLE, &WriteCall, this, &widget, features.data());
        if (handle == nullptr) {
            return false;
        }
        idle = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
        return idle != nullptr;
    }

    void Close()
    {
        if (handle != nullptr) {
            descriptor->cleanup(handle);
            handle = nullptr;
        }
    }

    void PortEvent(std::uint32_t port, float value) { descriptor->port_event(handle, port, sizeof value, 0, &value); }

    // Idles the UI until the condition holds, for at most five seconds.
    bool IdleUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            EXPECT_EQ(idle->idle(handle), 0);
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    Pixels Shown(const Rect& rect) { return screen.Pixels(hostWindow, rect.left, rect.top, rect.width, rect.height); }

    Pixels Background(const Rect& rect) const { return Cut(background, PanelWidth, rect); }

    // Presses on the knob's centre and drags upwards, then lets go.
    void DragDelayKnobUp()
    {
        const int x = DelayKnob.CentreX(), y = DelayKnob.CentreY();
        screen.MoveTo(hostWindow, x, y);
        ASSERT_TRUE(IdleUntil([] { return true; }));
        screen.Button(1, true);
        for (int step = 1; step <= 4; ++step) {
            screen.MoveTo(hostWindow, x, y - 8 * step);
            ASSERT_TRUE(IdleUntil([&] { return !calls.empty() && calls.back().kind == HostCall::Write; }));
        }
        screen.Button(1, false);
    }

    static void WriteCall(
        LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer)
    {
        auto* self = static_cast<Lv2UiTest*>(controller);
        EXPECT_EQ(size, sizeof(float));
        EXPECT_EQ(format, 0u);
        self->calls.push_back({HostCall::Write, port, *static_cast<const float*>(buffer)});
    }
    static void TouchCall(LV2UI_Feature_Handle host, std::uint32_t port, bool grabbed)
    {
        static_cast<Lv2UiTest*>(host)->calls.push_back({grabbed ? HostCall::TouchBegin : HostCall::TouchEnd, port, 0});
    }
    static int ResizeCall(LV2UI_Feature_Handle host, int width, int height)
    {
        static_cast<Lv2UiTest*>(host)->sizes.push_back({width, height});
        return 0;
    }

    X11TestScreen screen;
    Display* display = nullptr;
    Window hostWindow = None;
    Pixels background;
    Lv2TestHost lv2 {OMBRIX_CHORUS_LV2_BUNDLE};
    std::string uiUri;
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    LV2UI_Touch touch {this, &TouchCall};
    LV2UI_Resize resize {this, &ResizeCall};
    LV2_Feature parentFeature {};
    LV2_Feature touchFeature {};
    LV2_Feature resizeFeature {};
    LV2_Feature idleFeature {};
    std::vector<HostCall> calls;
    std::vector<std::pair<int, int>> sizes;
};

} // namespace

TEST_F(Lv2UiTest, OpensThePanelInTheHostsWindowAndAsksForItsSize)
{
    EXPECT_EQ(uiUri, std::string(Product.identity.lv2Uri) + "#ui");
    EXPECT_STREQ(descriptor->URI, uiUri.c_str());
    ASSERT_TRUE(Open());
    ASSERT_NE(widget, nullptr);
    // The widget is the panel's own window, a child of the host's.
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, hostWindow, &root, &parent, &children, &count);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(children[0], static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget)));
    XFree(children);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0], std::make_pair(PanelWidth, PanelHeight));
    EXPECT_TRUE(IdleUntil([&] { return Shown(TitleStrip) == Background(TitleStrip); }));
    Close();
    XSync(display, False);
    XQueryTree(display, hostWindow, &root, &parent, &children, &count);
    XFree(children);
    EXPECT_EQ(count, 0u) << "cleanup takes the panel down";
}

TEST_F(Lv2UiTest, FollowsTheHostsValuesAndTheValuesTheSoundUses)
{
    ASSERT_TRUE(Open());
    PortEvent(Layout.ControlInput(ParameterId::DelayTime), 25.0f);
    PortEvent(Layout.ControlInput(ParameterId::Mix), 50.0f);
    ASSERT_TRUE(IdleUntil([&] { return Shown(TitleStrip) == Background(TitleStrip); }));
    const Pixels longDelay = Shown(DelayKnob), halfMix = Shown(MixSlider);

    PortEvent(Layout.ControlInput(ParameterId::DelayTime), 1.0f);
    EXPECT_TRUE(IdleUntil([&] { return Shown(DelayKnob) != longDelay; })) << "the knob turns to 1 ms";
    // A MIDI controller moved the mix: the host's port still says 50 %, the
    // output says 100 %.
    PortEvent(Layout.ControlOutput(ParameterId::Mix), 100.0f);
    EXPECT_TRUE(IdleUntil([&] { return Shown(MixSlider) != halfMix; })) << "the slider follows the output";
    const Pixels fullMix = Shown(MixSlider);
    // The host repeating its unchanged port value does not pull it back.
    PortEvent(Layout.ControlInput(ParameterId::Mix), 50.0f);
    ASSERT_TRUE(IdleUntil([] { return true; }));
    EXPECT_EQ(Shown(MixSlider), fullMix);
    EXPECT_TRUE(calls.empty()) << "port events are never written back";
}

TEST_F(Lv2UiTest, ADragWritesTheControlInPortUnitsBetweenTouchBeginAndEnd)
{
    ASSERT_TRUE(Open());
    PortEvent(Layout.ControlInput(ParameterId::DelayTime), 1.0f);
    DragDelayKnobUp();
    ASSERT_TRUE(IdleUntil([&] { return !calls.empty() && calls.back().kind == HostCall::TouchEnd; }));
    const std::uint32_t port = Layout.ControlInput(ParameterId::DelayTime);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().kind, HostCall::TouchBegin);
    float previous = 1.0f;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].port, port) << "call " << i;
        if (i > 0 && i + 1 < calls.size()) {
            ASSERT_EQ(calls[i].kind, HostCall::Write) << "call " << i;
            EXPECT_GE(calls[i].value, previous) << "upwards is longer, in milliseconds";
            EXPECT_LE(calls[i].value, 25.0f);
            previous = calls[i].value;
        }
    }
    EXPECT_GT(previous, 5.0f) << "a drag of 32 pixels covers a good part of the range";
}

TEST_F(Lv2UiTest, ACtrlClickWritesTheDefaultAsAGestureOfItsOwn)
{
    ASSERT_TRUE(Open());
    PortEvent(Layout.ControlInput(ParameterId::DelayTime), 1.0f);
    screen.MoveTo(hostWindow, DelayKnob.CentreX(), DelayKnob.CentreY());
    ASSERT_TRUE(IdleUntil([] { return true; }));
    screen.Key(XK_Control_L, true);
    screen.Button(1, true);
    screen.Button(1, false);
    screen.Key(XK_Control_L, false);
    ASSERT_TRUE(IdleUntil([&] { return !calls.empty() && calls.back().kind == HostCall::TouchEnd; }));
    const std::uint32_t port = Layout.ControlInput(ParameterId::DelayTime);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, HostCall::TouchBegin);
    EXPECT_EQ(calls[1].kind, HostCall::Write);
    EXPECT_EQ(calls[1].port, port);
    EXPECT_EQ(calls[1].value, 25.0f) << "the delay's default, in milliseconds";
    EXPECT_EQ(calls[2].port, port);
}

TEST_F(Lv2UiTest, WorksWithoutTouchAndResizeButNotWithoutAParent)
{
    ASSERT_TRUE(Open(false));
    EXPECT_TRUE(sizes.empty());
    PortEvent(Layout.ControlInput(ParameterId::DelayTime), 1.0f);
    DragDelayKnobUp();
    ASSERT_FALSE(calls.empty());
    for (const HostCall& call : calls) {
        EXPECT_EQ(call.kind, HostCall::Write);
        EXPECT_GT(call.value, 1.0f);
    }
    Close();

    const LV2_Feature* noParent[] = {nullptr};
    EXPECT_EQ(descriptor->instantiate(
                  descriptor, Product.identity.lv2Uri, OMBRIX_CHORUS_LV2_BUNDLE, &WriteCall, this, &widget, noParent),
        nullptr);
}

TEST_F(Lv2UiTest, TellsTheHostThePanelsSizeAtTheDisplaysScale)
{
    // A desktop at 192 dpi, as an X resource every new connection reads.
    screen.SetDesktopResources("Xft.dpi:\t192\n");
    ASSERT_TRUE(Open());
    ASSERT_FALSE(sizes.empty());
    for (const auto& size : sizes) {
        EXPECT_EQ(size, std::make_pair(2 * PanelWidth, 2 * PanelHeight)) << "never the size at 96 dpi";
    }
    XWindowAttributes attributes {};
    XGetWindowAttributes(display, static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget)), &attributes);
    EXPECT_EQ(attributes.width, 2 * PanelWidth);
    EXPECT_EQ(attributes.height, 2 * PanelHeight);
}
