// The chorus editor on Linux as a host meets it: the shipped OmbrixChorus.so
// loaded from disk, the editor opened through the dispatcher inside a host
// window on an X server of the test's own, and real pointer and key input
// that the server delivers to the panel (XTest). What the panel shows is
// read back from the server and compared with the artwork. Every test runs
// on a desktop at 96 dpi and on one at 192 dpi (Xft.dpi), where the panel
// and every control on it are twice the size, drawn from the artwork at 2x,
// and the pointer travels twice as far.

#include "GUI/ImageResampling.h"
#include "PanelGeometry.h"
#include "PluginHost.h"
#include "PngPicture.h"

// GoogleTest before Xlib, whose macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "X11TestScreen.h"

#include <X11/keysym.h>
#include <cairo/cairo.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int KnobFrames = 91;
constexpr int KnobIds[4] = {1, 2, 3, 5};
constexpr int SliderId = 4;

// One host callback of interest, in order: 43 (begin), 0 (automate), 44 (end).
struct HostEvent {
    VstInt32 opcode;
    VstInt32 index;
};

// The artwork drawn at resolution 1 (96 dpi) or 2.
std::string ArtworkFile(const char* name, int resolution)
{
    return std::string(ARTWORK_DIR) + "/" + name + (resolution == 2 ? "@2x.png" : ".png");
}

// The background with frame `frame` of the knob strip over the rectangle,
// as the panel composes it from the artwork of the resolution; the
// rectangle is in its pixels.
Pixels KnobOverBackground(const Rect& rect, int frame, int resolution)
{
    cairo_surface_t* background = cairo_image_surface_create_from_png(ArtworkFile("Background", resolution).c_str());
    cairo_surface_t* strip = cairo_image_surface_create_from_png(ArtworkFile("Knob", resolution).c_str());
    cairo_surface_t* canvas
        = cairo_image_surface_create(CAIRO_FORMAT_RGB24, PanelWidth * resolution, PanelHeight * resolution);
    cairo_t* cr = cairo_create(canvas);
    cairo_set_source_surface(cr, background, 0, 0);
    cairo_paint(cr);
    const int frameHeight = cairo_image_surface_get_height(strip) / KnobFrames;
    cairo_rectangle(cr, rect.left, rect.top, rect.width, rect.height);
    cairo_clip(cr);
    cairo_rectangle(cr, rect.left, rect.top, cairo_image_surface_get_width(strip), frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip, rect.left, rect.top - frame * frameHeight);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(canvas);
    Pixels pixels;
    const unsigned char* data = cairo_image_surface_get_data(canvas);
    const int stride = cairo_image_surface_get_stride(canvas);
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
        }
    }
    for (cairo_surface_t* surface : {background, strip, canvas}) {
        cairo_surface_destroy(surface);
    }
    return pixels;
}

// The server, the host's window and the plug-in, on a desktop of `dpi`
// dots per inch (the X resource Xft.dpi, as desktops set it). Pointer
// positions and rectangles are given in the panel's pixels at 96 dpi and
// scaled by S here.
class X11EditorFixture : public ::testing::Test {
protected:
    explicit X11EditorFixture(int dpi = 96)
        : dpi(dpi)
        , S(dpi / 96)
    {
    }

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(screen.Start(error)) << error;
        display = screen.GetDisplay();
        if (dpi != 96) {
            screen.SetDesktopResources("Xft.dpi:\t" + std::to_string(dpi) + "\n");
        }
        hostWindow = MakeHostWindow(20, 30);
        ASSERT_TRUE(plugin.Load(OMBRIX_CHORUS_PATH, error)) << error;
        plugin.SetAutomationListener([this](VstInt32 index, float) { events.push_back({audioMasterAutomate, index}); });
        plugin.SetGestureListener([this](VstInt32 opcode, VstInt32 index) { events.push_back({opcode, index}); });
        background = ReadPngPicture(ArtworkFile("Background", S)).pixels;
        ASSERT_EQ(background.size(), static_cast<size_t>(PanelWidth * S * PanelHeight * S));
    }

    Rect Scaled(const Rect& rect) const { return {rect.left * S, rect.top * S, rect.width * S, rect.height * S}; }

    void TearDown() override { plugin.Unload(); }

    // A mapped top-level window like the frame a host opens the editor in.
    Window MakeHostWindow(int x, int y) { return screen.MakeHostWindow(x, y, PanelWidth * S, PanelHeight * S); }

    VstIntPtr Open(PluginHost& host, Window parent)
    {
        return host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)));
    }
    bool Open() { return Open(plugin, hostWindow) == 1; }
    void Idle() { plugin.Dispatch(effEditIdle); }

    // Idles the editor until the condition holds, for at most five seconds.
    bool IdleUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            Idle();
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    Pixels Panel() { return screen.Pixels(hostWindow, 0, 0, PanelWidth * S, PanelHeight * S); }
    bool Shows(const Rect& rect, const Pixels& expected)
    {
        return Cut(Panel(), PanelWidth * S, Scaled(rect)) == expected;
    }
    bool ShowsBackground(const Rect& rect) { return Shows(rect, Cut(background, PanelWidth * S, Scaled(rect))); }
    bool KnobShows(int parameterId, float value)
    {
        const Rect& rect = ControlRects[parameterId];
        const int frame = static_cast<int>(value * (KnobFrames - 1));
        return Shows(rect, KnobOverBackground(Scaled(rect), frame, S));
    }

    // Real input, delivered by the server to whichever window is under the pointer.
    void MoveTo(int panelX, int panelY) { screen.MoveTo(hostWindow, panelX * S, panelY * S); }
    void Button(unsigned button, bool down) { screen.Button(button, down); }
    void Key(KeySym key, bool down) { screen.Key(key, down); }
    bool Hovering() { return !ShowsBackground(StatusRect); }

    // Puts the pointer on (x, y), waits for the status line to show it, then
    // drags by dy (or dx) with the modifier held, and waits for the gesture to end.
    void Drag(int x, int y, int dx, int dy, KeySym modifier = NoSymbol)
    {
        MoveTo(x, y);
        ASSERT_TRUE(IdleUntil([&] { return Hovering(); })) << "the status line shows the control under the pointer";
        events.clear();
        if (modifier != NoSymbol) {
            Key(modifier, true);
        }
        Button(1, true);
        MoveTo(x + dx / 2, y + dy / 2);
        MoveTo(x + dx, y + dy);
        Button(1, false);
        if (modifier != NoSymbol) {
            Key(modifier, false);
        }
        ASSERT_TRUE(IdleUntil([&] { return !events.empty() && events.back().opcode == audioMasterEndEdit; }))
            << "the gesture ends";
    }

    // 43, one or more 0, then 44, all for parameterId.
    void ExpectOneGesture(int parameterId)
    {
        ASSERT_GE(events.size(), 3u);
        EXPECT_EQ(events.front().opcode, audioMasterBeginEdit);
        EXPECT_EQ(events.back().opcode, audioMasterEndEdit);
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].index, parameterId) << "event " << i;
            if (i > 0 && i + 1 < events.size()) {
                EXPECT_EQ(events[i].opcode, audioMasterAutomate) << "event " << i;
            }
        }
    }

    const int dpi;
    // Device pixels per panel pixel.
    const int S;
    X11TestScreen screen;
    Display* display = nullptr;
    Window hostWindow = None;
    PluginHost plugin;
    std::vector<HostEvent> events;
    Pixels background;
};

class X11EditorTest : public X11EditorFixture, public ::testing::WithParamInterface<int> {
protected:
    X11EditorTest()
        : X11EditorFixture(GetParam())
    {
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Desktop, X11EditorTest, ::testing::Values(96, 192),
    [](const ::testing::TestParamInfo<int>& info) { return "At" + std::to_string(info.param) + "Dpi"; });

TEST_P(X11EditorTest, TheEditorIsFourHundredByEightyFourPanelPixelsBeforeAndAfterOpening)
{
    ASSERT_NE(plugin.GetFlags() & effFlagsHasEditor, 0);
    for (int round = 0; round < 2; ++round) {
        ERect* rect = nullptr;
        ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->top, 0);
        EXPECT_EQ(rect->left, 0);
        EXPECT_EQ(rect->bottom, PanelHeight * S);
        EXPECT_EQ(rect->right, PanelWidth * S);
        ASSERT_TRUE(Open());
    }
}

TEST_P(X11EditorTest, ThePanelShowsTheBackgroundAndEachKnobsFrameForItsValue)
{
    plugin.SetProgram(2);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(IdleUntil([&] { return KnobShows(1, plugin.GetParameter(1)); }));
    EXPECT_TRUE(ShowsBackground(TitleStrip));
    EXPECT_TRUE(ShowsBackground(StatusRect)) << "nothing hovered, no status text";
    for (int id : KnobIds) {
        EXPECT_TRUE(KnobShows(id, plugin.GetParameter(id))) << "parameter " << id;
        EXPECT_FALSE(KnobShows(id, plugin.GetParameter(id) < 0.5f ? 1.0f : 0.0f)) << "parameter " << id;
    }
}

TEST_P(X11EditorTest, CloseReopenAndOpeningTwiceInARowAreSafe)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(Open());
        ASSERT_TRUE(Open()) << "a second open replaces the first panel";
        plugin.SetParameter(3, 0.2f * static_cast<float>(round + 1));
        ASSERT_TRUE(IdleUntil([&] { return KnobShows(3, plugin.GetParameter(3)); })) << "round " << round;
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, hostWindow, &root, &parent, &children, &count);
        XFree(children);
        EXPECT_EQ(count, 1u) << "one panel in the host's window";
        plugin.Dispatch(effEditClose);
        plugin.Dispatch(effEditClose);
        XSync(display, False);
        XQueryTree(display, hostWindow, &root, &parent, &children, &count);
        XFree(children);
        EXPECT_EQ(count, 0u) << "close takes the panel down";
        Idle();
    }
}

TEST_P(X11EditorTest, AKnobFollowsParameterChangesFromAnotherThread)
{
    ASSERT_TRUE(Open());
    for (float value : {0.9f, 0.1f, 0.55f}) {
        std::thread automation([&] { plugin.SetParameter(5, value); });
        automation.join();
        EXPECT_TRUE(IdleUntil([&] { return KnobShows(5, value); })) << value;
    }
    EXPECT_TRUE(events.empty()) << "host changes are not reported back to the host";
}

TEST_P(X11EditorTest, AProgramChangeRefreshesEveryKnobAtTheNextIdle)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(IdleUntil([&] { return KnobShows(1, plugin.GetParameter(1)); }));
    std::thread automation([&] { plugin.SetProgram(7); });
    automation.join();
    EXPECT_TRUE(IdleUntil([&] {
        for (int id : KnobIds) {
            if (!KnobShows(id, plugin.GetParameter(id))) {
                return false;
            }
        }
        return true;
    }));
}

// The host's automation thread sets parameters and programs as fast as it
// can while its GUI thread opens, idles and closes the editor.
TEST_P(X11EditorTest, ChangesFromAnotherThreadNeverDisturbOpenAndClose)
{
    AEffect* effect = plugin.GetEffect();
    std::atomic<bool> running {true};
    std::atomic<long> changes {0};
    std::thread automation([&] {
        for (unsigned step = 0; running.load(std::memory_order_relaxed); ++step) {
            effect->setParameter(effect, static_cast<VstInt32>(step % 8), static_cast<float>(step % 101) / 100.0f);
            if (step % 101 == 0) {
                effect->dispatcher(effect, effSetProgram, 0, static_cast<VstIntPtr>(step / 101 % 32), nullptr, 0.0f);
            }
            changes.fetch_add(1, std::memory_order_relaxed);
        }
    });
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_TRUE(Open());
        Idle();
        Idle();
        plugin.Dispatch(effEditClose);
        Idle();
    }
    ASSERT_TRUE(Open());
    running.store(false);
    automation.join();
    EXPECT_GT(changes.load(), 1000);
    EXPECT_TRUE(
        IdleUntil([&] { return KnobShows(1, plugin.GetParameter(1)) && KnobShows(5, plugin.GetParameter(5)); }));
}

TEST_P(X11EditorTest, DraggingEachKnobUpAndTheSliderRightIsOneGestureThatRaisesIt)
{
    for (int id = 0; id < 8; ++id) {
        plugin.SetParameter(id, 0.3f);
    }
    ASSERT_TRUE(Open());
    for (int id : {1, 2, 3, 5, SliderId}) {
        SCOPED_TRACE("parameter " + std::to_string(id));
        const float before = plugin.GetParameter(id);
        const Rect& rect = ControlRects[id];
        if (id == SliderId) {
            Drag(rect.CentreX(), rect.CentreY(), 8, 0);
        } else {
            Drag(rect.CentreX(), rect.CentreY(), 0, -8);
        }
        ExpectOneGesture(id);
        EXPECT_GT(plugin.GetParameter(id), before);
        MoveTo(200, 10); // off every control
    }
    // Down and left lower them again.
    Drag(ControlRects[2].CentreX(), ControlRects[2].CentreY(), 0, 12);
    ExpectOneGesture(2);
    EXPECT_LT(plugin.GetParameter(2), 0.3f);
}

TEST_P(X11EditorTest, ShiftDragsMoveLessAndCtrlClickGivesTheDefault)
{
    plugin.SetParameter(3, 0.5f);
    ASSERT_TRUE(Open());
    const Rect& rect = ControlRects[3];
    Drag(rect.CentreX(), rect.CentreY(), 0, -10);
    const float plainStep = plugin.GetParameter(3) - 0.5f;
    Drag(rect.CentreX(), rect.CentreY(), 0, -10, XK_Shift_L);
    const float fineStep = plugin.GetParameter(3) - 0.5f - plainStep;
    EXPECT_NEAR(plainStep, 10.0f / 90.0f, 1e-5f);
    EXPECT_NEAR(fineStep, 1.0f / 90.0f, 1e-5f);

    // Ctrl-click: "Feedback" goes back to its default, 0, as a gesture of its own.
    MoveTo(rect.CentreX(), rect.CentreY());
    ASSERT_TRUE(IdleUntil([&] { return Hovering(); }));
    events.clear();
    Key(XK_Control_L, true);
    Button(1, true);
    Button(1, false);
    Key(XK_Control_L, false);
    ASSERT_TRUE(IdleUntil([&] { return plugin.GetParameter(3) == 0.0f && !events.empty(); }));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(events[1].opcode, audioMasterAutomate);
    EXPECT_EQ(events[2].opcode, audioMasterEndEdit);
    EXPECT_TRUE(IdleUntil([&] { return KnobShows(3, 0.0f); }));
}

TEST_P(X11EditorTest, ASwitchClickTogglesItAsOneGesture)
{
    plugin.SetParameter(6, 1.0f);
    ASSERT_TRUE(Open());
    const Rect& rect = ControlRects[6];
    for (float expected : {0.0f, 1.0f}) {
        MoveTo(rect.CentreX(), rect.CentreY());
        Idle();
        events.clear();
        Button(1, true);
        Button(1, false);
        ASSERT_TRUE(IdleUntil([&] { return events.size() >= 3; }));
        EXPECT_EQ(plugin.GetParameter(6), expected);
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[0].opcode, audioMasterBeginEdit);
        EXPECT_EQ(events[1].opcode, audioMasterAutomate);
        EXPECT_EQ(events[2].opcode, audioMasterEndEdit);
        EXPECT_EQ(events[1].index, 6);
        EXPECT_TRUE(IdleUntil([&] { return ShowsBackground(StatusRect); })) << "a click ends with an empty status";
    }
}

TEST_P(X11EditorTest, HoveringShowsTheStatusTextAndLeavingClearsIt)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(IdleUntil([&] { return ShowsBackground(TitleStrip); }));
    for (int id : {1, SliderId, 7}) {
        MoveTo(ControlRects[id].CentreX(), ControlRects[id].CentreY());
        EXPECT_TRUE(IdleUntil([&] { return Hovering(); })) << "parameter " << id;
        MoveTo(PanelWidth + 100, PanelHeight + 100); // off the panel
        EXPECT_TRUE(IdleUntil([&] { return !Hovering(); })) << "parameter " << id;
    }
    EXPECT_TRUE(events.empty());
}

TEST_P(X11EditorTest, EachWheelNotchStepsTheControlAsOneGesture)
{
    plugin.SetParameter(1, 0.5f);
    plugin.SetParameter(SliderId, 0.5f);
    ASSERT_TRUE(Open());
    for (int id : {1, SliderId}) {
        SCOPED_TRACE("parameter " + std::to_string(id));
        MoveTo(ControlRects[id].CentreX(), ControlRects[id].CentreY());
        ASSERT_TRUE(IdleUntil([&] { return Hovering(); }));
        events.clear();
        Button(4, true); // away from the user: up
        Button(4, false);
        ASSERT_TRUE(IdleUntil([&] { return events.size() >= 3; }));
        const float raised = plugin.GetParameter(id);
        EXPECT_GT(raised, 0.5f);
        EXPECT_LT(raised, 0.6f) << "a small step";
        Button(5, true);
        Button(5, false);
        Button(5, true);
        Button(5, false);
        ASSERT_TRUE(IdleUntil([&] { return events.size() >= 9; }));
        EXPECT_LT(plugin.GetParameter(id), 0.5f);
        for (size_t i = 0; i < events.size(); i += 3) {
            EXPECT_EQ(events[i].opcode, audioMasterBeginEdit);
            EXPECT_EQ(events[i + 1].opcode, audioMasterAutomate);
            EXPECT_EQ(events[i + 2].opcode, audioMasterEndEdit);
        }
    }
}

TEST_P(X11EditorTest, AClickOnTheTitleStripShowsTheAboutTextUntilAClickOrEscape)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(IdleUntil([&] { return ShowsBackground(TitleStrip); }));
    const Rect middle = {150, 30, 100, 24};
    for (bool byEscape : {false, true}) {
        MoveTo(100, 12);
        Button(1, true);
        Button(1, false);
        ASSERT_TRUE(IdleUntil([&] { return !ShowsBackground(middle); })) << "the about text shows";
        if (byEscape) {
            Key(XK_Escape, true);
            Key(XK_Escape, false);
        } else {
            MoveTo(ControlRects[6].CentreX(), ControlRects[6].CentreY());
            Button(1, true);
            Button(1, false);
        }
        EXPECT_TRUE(IdleUntil([&] { return ShowsBackground(TitleStrip) && ShowsBackground({150, 30, 50, 5}); }));
    }
    EXPECT_EQ(plugin.GetParameter(6), 1.0f) << "the click that dismissed the box reached no switch";
    EXPECT_TRUE(events.empty());
}

TEST_P(X11EditorTest, TwoInstancesHaveTheirEditorsOpenAtOnceAndAnEffectMayCloseWithItsEditorOpen)
{
    PluginHost second;
    std::string error;
    ASSERT_TRUE(second.Load(OMBRIX_CHORUS_PATH, error)) << error;
    const Window secondWindow = MakeHostWindow(20, 200);
    ASSERT_TRUE(Open());
    ASSERT_EQ(Open(second, secondWindow), 1);
    plugin.SetParameter(2, 1.0f);
    second.SetParameter(2, 0.0f);
    EXPECT_TRUE(IdleUntil([&] {
        second.Dispatch(effEditIdle);
        return KnobShows(2, 1.0f);
    }));
    second.Unload(); // the editor is still open
    plugin.SetParameter(2, 0.0f);
    EXPECT_TRUE(IdleUntil([&] { return KnobShows(2, 0.0f); }));
}

// Drags that are still going on when the host closes the editor end their
// gesture, so that the host is never left with a parameter touched for good.
TEST_P(X11EditorTest, ClosingTheEditorInTheMiddleOfADragEndsTheGesture)
{
    ASSERT_TRUE(Open());
    const Rect& rect = ControlRects[1];
    MoveTo(rect.CentreX(), rect.CentreY());
    ASSERT_TRUE(IdleUntil([&] { return Hovering(); }));
    Button(1, true);
    MoveTo(rect.CentreX(), rect.CentreY() - 5);
    ASSERT_TRUE(IdleUntil([&] { return !events.empty(); }));
    plugin.Dispatch(effEditClose);
    Button(1, false);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(events.back().opcode, audioMasterEndEdit);
    EXPECT_EQ(events.back().index, 1);
}

// Desktops between the two resolutions of the artwork: the panel at 150 %,
// drawn from the 2x artwork resampled, with every control where the 96-dpi
// layout puts it, scaled, and a drag as long on the screen as at 96 dpi.
TEST_F(X11EditorFixture, AtOneHundredAndFiftyPercentThePanelIsResampledWithEveryControlOnItsArtwork)
{
    screen.SetDesktopResources("Xft.antialias:\t1\nXft.dpi:\t144\n");
    ERect* size = nullptr;
    ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &size), 1);
    ASSERT_EQ(size->right, 600);
    ASSERT_EQ(size->bottom, 126);
    XResizeWindow(display, hostWindow, 600, 126);
    plugin.SetParameter(3, 0.5f);
    ASSERT_TRUE(Open());

    // The title strip, (0, 0)-(225, 25) at 96 dpi, holds no control: it
    // shows the 2x background resampled to 600 x 126, pixel for pixel.
    PngPicture doubled = ReadPngPicture(ArtworkFile("Background", 2));
    ASSERT_EQ(doubled.width, 800);
    std::vector<std::uint32_t> resampled(600 * 126);
    ResampleImage({doubled.pixels.data(), 800, 168, 800}, {resampled.data(), 600, 126, 600});
    const Rect titleStrip = {0, 0, 339, 39};
    const auto shown = [&](const Rect& rect) {
        XSync(display, False);
        XImage* image = XGetImage(display, hostWindow, 0, 0, 600, 126, AllPlanes, ZPixmap);
        Pixels pixels;
        for (int y = rect.top; image != nullptr && y < rect.top + rect.height; ++y) {
            for (int x = rect.left; x < rect.left + rect.width; ++x) {
                pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
            }
        }
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return pixels;
    };
    ASSERT_TRUE(IdleUntil([&] { return shown(titleStrip) == Cut(resampled, 600, titleStrip); }));

    // Each control answers at the middle of its scaled rectangle.
    for (int id = 0; id < 8; ++id) {
        const Rect& rect = ControlRects[id];
        const int x = (2 * rect.left + rect.width) * 3 / 4;
        const int y = (2 * rect.top + rect.height) * 3 / 4;
        int rootX = 0, rootY = 0;
        Window child = None;
        XTranslateCoordinates(display, hostWindow, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
        XFlush(display);
        const Pixels empty = Cut(resampled, 600, {440, 5, 151, 34});
        EXPECT_TRUE(IdleUntil([&] { return shown({440, 5, 151, 34}) != empty; })) << "parameter " << id;
        if (id == 3) {
            // Fifteen device pixels up are ten at 96 dpi: ten frames.
            events.clear();
            Button(1, true);
            XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY - 15, CurrentTime);
            Button(1, false);
            ASSERT_TRUE(IdleUntil([&] { return !events.empty() && events.back().opcode == audioMasterEndEdit; }));
            EXPECT_NEAR(plugin.GetParameter(3), 0.5f + 10.0f / 90.0f, 1e-5f);
        }
        XTestFakeMotionEvent(display, DefaultScreen(display), 900, 700, CurrentTime);
        XFlush(display);
        EXPECT_TRUE(IdleUntil([&] { return shown({440, 5, 151, 34}) == empty; })) << "parameter " << id;
    }
}

// GTK's whole-number scale counts over the font resolution, which GTK
// divides by it.
TEST_F(X11EditorFixture, GdkScaleWinsOverXftDpi)
{
    screen.SetDesktopResources("Xft.dpi:\t144\n");
    setenv("GDK_SCALE", "2", 1);
    ERect* size = nullptr;
    plugin.Dispatch(effEditGetRect, 0, 0, &size);
    unsetenv("GDK_SCALE");
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->right, 800);
    EXPECT_EQ(size->bottom, 168);
}

// A host that opens the editor without asking its size again after the
// desktop's scale changed is asked to resize its window, where it can.
TEST_F(X11EditorFixture, AnOpenAtANewScaleAsksTheHostToResizeItsWindowWhereItCan)
{
    std::vector<std::pair<int, int>> resizes;
    plugin.SetResizeListener([&](int width, int height) {
        resizes.emplace_back(width, height);
        XResizeWindow(display, hostWindow, static_cast<unsigned>(width), static_cast<unsigned>(height));
        return true;
    });
    ASSERT_TRUE(Open());
    plugin.Dispatch(effEditClose);
    EXPECT_TRUE(resizes.empty()) << "the panel has the size the host gave it";

    screen.SetDesktopResources("Xft.dpi:\t192\n");
    ASSERT_TRUE(Open());
    EXPECT_EQ(resizes, (std::vector<std::pair<int, int>> {{800, 168}}));
    ERect* size = nullptr;
    plugin.Dispatch(effEditGetRect, 0, 0, &size);
    EXPECT_EQ(size->right, 800);
    EXPECT_EQ(size->bottom, 168);
    plugin.Dispatch(effEditClose);
    ASSERT_TRUE(Open());
    EXPECT_EQ(resizes.size(), 1u) << "the host has the size already";
    plugin.Dispatch(effEditClose);

    // A host that cannot size windows keeps its own; the panel opens anyway.
    plugin.SetResizeListener(nullptr);
    screen.SetDesktopResources("Xft.dpi:\t96\n");
    ASSERT_TRUE(Open());
    plugin.Dispatch(effEditGetRect, 0, 0, &size);
    EXPECT_EQ(size->right, 400);
    EXPECT_EQ(resizes.size(), 1u);
}

// Without a display the editor does not open, and nothing else changes: the
// plug-in processes audio exactly as one that never tried.
TEST(X11EditorWithoutDisplay, OpenAnswersZeroAndAudioIsUnchanged)
{
    unsetenv("DISPLAY");
    PluginHost tried, untouched;
    std::string error;
    ASSERT_TRUE(tried.Load(OMBRIX_CHORUS_PATH, error)) << error;
    ASSERT_TRUE(untouched.Load(OMBRIX_CHORUS_PATH, error)) << error;
    EXPECT_NE(tried.GetFlags() & effFlagsHasEditor, 0);
    EXPECT_EQ(tried.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t {0x400001})), 0);
    tried.Dispatch(effEditIdle);
    tried.Dispatch(effEditClose);

    std::vector<float> outputs[2][2];
    for (int instance = 0; instance < 2; ++instance) {
        PluginHost& host = instance == 0 ? tried : untouched;
        host.SetSampleRate(44100.0);
        host.SetBlockSize(256);
        host.Resume();
        std::vector<float> left(256), right(256);
        for (int i = 0; i < 256; ++i) {
            left[static_cast<size_t>(i)] = std::sin(0.05f * static_cast<float>(i));
            right[static_cast<size_t>(i)] = std::cos(0.03f * static_cast<float>(i));
        }
        outputs[instance][0].resize(256);
        outputs[instance][1].resize(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outs[2] = {outputs[instance][0].data(), outputs[instance][1].data()};
        for (int block = 0; block < 4; ++block) {
            host.Process(inputs, outs, 256, nullptr, 0);
        }
    }
    EXPECT_EQ(outputs[0][0], outputs[1][0]);
    EXPECT_EQ(outputs[0][1], outputs[1][1]);
    float peak = 0.0f;
    for (float sample : outputs[0][0]) {
        peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_GT(peak, 0.1f);
}

// Some hosts take their window down before they close the editor, and some
// hand over a window id that does not exist. Xlib's default answer to a
// request on a missing window ends the process; the editor must never make one
// reach it.
TEST_P(X11EditorTest, AHostWindowGoneBeforeCloseOrNeverThereIsSurvived)
{
    ASSERT_TRUE(Open());
    Idle();
    XDestroyWindow(display, hostWindow);
    XSync(display, False);
    plugin.SetParameter(1, 0.9f);
    for (int i = 0; i < 5; ++i) {
        Idle();
    }
    plugin.Dispatch(effEditClose);

    EXPECT_EQ(Open(plugin, 0x7FFFFFF), 0) << "a window id the server does not know";
    hostWindow = MakeHostWindow(20, 30);
    ASSERT_TRUE(Open());
    EXPECT_TRUE(IdleUntil([&] { return KnobShows(1, 0.9f); }));
}
