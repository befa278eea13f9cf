#include "GUI/X11Editor.h"

#include "GUI/Panel.h"
#include "Halvex.h"
#include "X11Library.h"
#include "X11PanelPictures.h"

#include <X11/keysym.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int StatusTextSize = 512;
constexpr long EventMask
    = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | KeyPressMask;

// Xlib reports a request on a window that does not exist (a host that hands
// over a stale id, or destroys its window before closing the editor) through
// the process's error handler, whose default ends the process. While a trap
// is set, errors on its display are counted instead; errors on the host's
// own displays still go to the host's handler. Every request the editor
// makes is inside a trap that waits for the server's answers before it ends
// (open, each idle, close), so no error of the editor's can arrive later.
// Xlib's handler is one per process: traps are set on the GUI thread only.
class ErrorTrap {
public:
    ErrorTrap(const X11Library& x, Display* display)
        : x(x)
        , display(display)
    {
        trappedDisplay = display;
        errorCount = 0;
        previousHandler = x.XSetErrorHandler(&ErrorTrap::Handle);
    }
    ~ErrorTrap()
    {
        x.XSetErrorHandler(previousHandler);
        trappedDisplay = nullptr;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to answer every request so far.
    bool Failed()
    {
        x.XSync(display, False);
        return errorCount != 0;
    }

private:
    static int Handle(Display* errorDisplay, XErrorEvent* error)
    {
        if (errorDisplay == trappedDisplay) {
            ++errorCount;
            return 0;
        }
        return previousHandler != nullptr ? previousHandler(errorDisplay, error) : 0;
    }

    static Display* trappedDisplay;
    static int errorCount;
    static XErrorHandler previousHandler;

    const X11Library& x;
    Display* display;
};

Display* ErrorTrap::trappedDisplay = nullptr;
int ErrorTrap::errorCount = 0;
XErrorHandler ErrorTrap::previousHandler = nullptr;

PointerKeys KeysOf(unsigned int state)
{
    PointerKeys keys;
    keys.leftButton = (state & Button1Mask) != 0;
    keys.shift = (state & ShiftMask) != 0;
    keys.control = (state & ControlMask) != 0;
    return keys;
}

// The desktop's scale as a connection finds it (the X resources are those
// of the moment it was opened); 96 dpi without one.
DisplayScale DesktopScaleOf(const X11Library& x, Display* display)
{
    return DesktopScale(std::getenv("GDK_SCALE"), display != nullptr ? x.XResourceManagerString(display) : nullptr);
}

} // namespace

// A connection to the X server, closed with the object unless taken over.
class X11Editor::Connection {
public:
    explicit Connection(const X11Library& x)
        : x(x)
        , display(x.XOpenDisplay(nullptr))
    {
    }
    ~Connection()
    {
        if (display != nullptr) {
            x.XCloseDisplay(display);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* Get() const { return display; }
    Display* Take()
    {
        Display* taken = display;
        display = nullptr;
        return taken;
    }

private:
    const X11Library& x;
    Display* display;
};

// The open panel: the child window on a display connection of its own, an
// off-screen image the panel is drawn into whole, and the Panel that owns
// the controls' behaviour. The layout and the pictures are those of the
// display's scale.
class X11Editor::View : public IPanelSurface {
public:
    View(const X11Library& x, Display* display, Window window, const PanelLayout& layout,
        const X11PanelPictures& images, IControlObserver* observer, DisplayScale scale)
        : x(x)
        , display(display)
        , window(window)
        , layout(layout)
        , images(images)
        , knobFrameHeight(KnobFrameHeight(static_cast<unsigned>(images.Height(images.knobStrip)), layout.knobFrames))
        , panel(*this, layout.about, scale)
    {
        XWindowAttributes attributes = {};
        x.XGetWindowAttributes(display, window, &attributes);
        windowSurface = x.cairo_xlib_surface_create(display, window, attributes.visual, layout.width, layout.height);
        buffer = x.cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height);
        static const char noBits[1] = {0};
        Pixmap empty = x.XCreateBitmapFromData(display, window, noBits, 1, 1);
        XColor black = {};
        hiddenCursor = x.XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
        x.XFreePixmap(display, empty);
        statusText[0] = '\0';
        PlaceControls(observer);
    }
    ~View() override
    {
        {
            ErrorTrap trap = Trap();
            x.cairo_surface_destroy(buffer);
            x.cairo_surface_destroy(windowSurface);
            x.XFreeCursor(display, hiddenCursor);
            if (!windowGone) {
                x.XDestroyWindow(display, window);
            }
            trap.Failed();
        }
        x.XCloseDisplay(display);
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    void HandleEvents()
    {
        while (x.XPending(display) > 0) {
            XEvent event;
            x.XNextEvent(display, &event);
            Handle(event);
        }
    }

    void DrawIfChanged()
    {
        if (!changed || windowGone) {
            return;
        }
        changed = false;
        cairo_t* cr = x.cairo_create(buffer);
        DrawPanel(cr);
        x.cairo_destroy(cr);
        x.cairo_surface_flush(buffer);
        cairo_t* windowCr = x.cairo_create(windowSurface);
        x.cairo_set_source_surface(windowCr, buffer, 0, 0);
        x.cairo_paint(windowCr);
        x.cairo_destroy(windowCr);
        x.cairo_surface_flush(windowSurface);
    }

    void SetStatusText(const char* text)
    {
        CopyString(statusText, text, StatusTextSize);
        RepaintArea(layout.status);
    }

    Panel& GetPanel() { return panel; }
    // A trap for the requests of this view; the pixels drawn are on the
    // screen once it has answered.
    ErrorTrap Trap() const { return ErrorTrap(x, display); }
    // The window is gone (an error came back for it): nothing names it again.
    void ForgetWindow() { windowGone = true; }
    Window GetWindow() const { return windowGone ? None : window; }

    // IPanelSurface: the whole panel is redrawn, at the end of the idle.
    void RepaintArea(PixelRect) override { changed = true; }
    void RepaintAll() override { changed = true; }
    void HoldPointer() override
    {
        if (!windowGone) {
            x.XDefineCursor(display, window, hiddenCursor);
        }
    }
    void MovePointer(int px, int py) override
    {
        if (!windowGone) {
            x.XWarpPointer(display, None, window, 0, 0, 0, 0, px, py);
        }
    }
    void ReleasePointer(int px, int py) override
    {
        if (!windowGone) {
            x.XUndefineCursor(display, window);
        }
        MovePointer(px, py);
    }

private:
    struct DrawnControl {
        PlacedControlKind kind;
        PixelRect rect;
        const KnobBehaviour* knob;
        const SliderBehaviour* slider;
        const SwitchBehaviour* toggle;
    };

    void PlaceControls(IControlObserver* observer)
    {
        for (const ControlPlacement& placement : layout.controls) {
            DrawnControl drawn = {placement.kind, placement.rect, nullptr, nullptr, nullptr};
            switch (placement.kind) {
            case PlacedControlKind::Knob:
                drawn.knob
                    = &panel.AddKnob(placement.parameterId, placement.rect, knobFrameHeight > 0, layout.knobFrames);
                break;
            case PlacedControlKind::HorizontalSlider:
                drawn.slider = &panel.AddSlider(placement.parameterId, placement.rect, images.sliderThumb != nullptr,
                    images.Width(images.sliderThumb), SliderOrientation::Horizontal);
                break;
            case PlacedControlKind::Switch:
                drawn.toggle = &panel.AddSwitch(
                    placement.parameterId, placement.rect, images.switchOn != nullptr && images.switchOff != nullptr);
                break;
            }
            drawnControls.push_back(drawn);
        }
        panel.AddObserver(observer);
    }

    void Handle(const XEvent& event)
    {
        switch (event.type) {
        case Expose:
            changed = true;
            break;
        case DestroyNotify:
            // The host took its window down before closing the editor.
            windowGone = windowGone || event.xdestroywindow.window == window;
            break;
        case MotionNotify:
            panel.Move(KeysOf(event.xmotion.state), event.xmotion.x, event.xmotion.y);
            break;
        case ButtonPress:
            HandlePress(event.xbutton);
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1) {
                panel.Release(KeysOf(event.xbutton.state), event.xbutton.x, event.xbutton.y);
            }
            break;
        case LeaveNotify:
            panel.PointerLeft();
            break;
        case KeyPress: {
            XKeyEvent key = event.xkey;
            if (x.XLookupKeysym(&key, 0) == XK_Escape) {
                panel.EscapePressed();
            }
            break;
        }
        default:
            break;
        }
    }

    // Buttons 4 and 5 are the wheel turned away from and toward the user.
    void HandlePress(const XButtonEvent& press)
    {
        const PointerKeys keys = KeysOf(press.state);
        if (press.button == Button4 || press.button == Button5) {
            panel.Wheel(keys, press.button == Button4 ? 1.0f : -1.0f, press.x, press.y);
        } else if (press.button == Button1) {
            // The about box takes the keyboard while it shows, so that
            // Escape reaches it.
            if (panel.Press(keys, press.x, press.y) == Panel::PressTarget::AboutShown) {
                x.XSetInputFocus(display, window, RevertToParent, CurrentTime);
            }
        }
    }

    void DrawPanel(cairo_t* cr)
    {
        if (images.background != nullptr) {
            x.cairo_set_source_surface(cr, images.background, 0, 0);
            x.cairo_paint(cr);
        } else {
            x.cairo_set_source_rgb(cr, 0, 0, 0);
            x.cairo_paint(cr);
        }
        for (const DrawnControl& control : drawnControls) {
            DrawControl(cr, control);
        }
        DrawStatus(cr);
        if (panel.IsAboutShown()) {
            DrawAbout(cr);
        }
    }

    // An image at (left, top), clipped to the control's rectangle.
    void DrawImage(
        cairo_t* cr, cairo_surface_t* image, const PixelRect& clip, double left, double top, const PixelRect& source)
    {
        if (image == nullptr) {
            return;
        }
        x.cairo_save(cr);
        x.cairo_rectangle(cr, clip.left, clip.top, clip.width, clip.height);
        x.cairo_clip(cr);
        x.cairo_rectangle(cr, source.left, source.top, source.width, source.height);
        x.cairo_clip(cr);
        x.cairo_set_source_surface(cr, image, left, top);
        x.cairo_paint(cr);
        x.cairo_restore(cr);
    }

    void DrawControl(cairo_t* cr, const DrawnControl& control)
    {
        const PixelRect& rect = control.rect;
        switch (control.kind) {
        case PlacedControlKind::Knob: {
            if (knobFrameHeight <= 0) {
                return;
            }
            const int frameTop = control.knob->GetFrameIndex() * knobFrameHeight;
            DrawImage(cr, images.knobStrip, rect, rect.left, rect.top - frameTop,
                {rect.left, rect.top, images.Width(images.knobStrip), knobFrameHeight});
            break;
        }
        case PlacedControlKind::HorizontalSlider: {
            const int left = rect.left + control.slider->GetThumbOffset();
            DrawImage(cr, images.sliderThumb, rect, left, rect.top,
                {left, rect.top, images.Width(images.sliderThumb), images.Height(images.sliderThumb)});
            break;
        }
        case PlacedControlKind::Switch: {
            cairo_surface_t* image = control.toggle->IsOn() ? images.switchOn : images.switchOff;
            if (images.switchOn == nullptr || images.switchOff == nullptr) {
                return;
            }
            DrawImage(
                cr, image, rect, rect.left, rect.top, {rect.left, rect.top, images.Width(image), images.Height(image)});
            break;
        }
        }
    }

    // Lines of text centred in a rectangle, fontHeight pixels apart, the
    // first at its top, in the desktop's sans-serif face.
    void DrawLines(cairo_t* cr, const PixelRect& area, const char* text, int fontHeight)
    {
        x.cairo_save(cr);
        x.cairo_rectangle(cr, area.left, area.top, area.width, area.height);
        x.cairo_clip(cr);
        x.cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        // The face's ascent and descent fill the line pitch, as a Windows
        // font of that cell height does.
        x.cairo_set_font_size(cr, fontHeight);
        cairo_font_extents_t font;
        x.cairo_font_extents(cr, &font);
        const double scale = font.ascent + font.descent > 0.0 ? fontHeight / (font.ascent + font.descent) : 1.0;
        x.cairo_set_font_size(cr, fontHeight * scale);
        const double ascent = font.ascent * scale;
        std::string remaining(text);
        for (int line = 0; !remaining.empty() || line == 0; ++line) {
            const std::string::size_type end = remaining.find('\n');
            const std::string lineText = remaining.substr(0, end);
            remaining = end == std::string::npos ? std::string() : remaining.substr(end + 1);
            cairo_text_extents_t extents;
            x.cairo_text_extents(cr, lineText.c_str(), &extents);
            x.cairo_move_to(
                cr, area.left + (area.width - extents.x_advance) / 2.0, area.top + line * fontHeight + ascent);
            x.cairo_show_text(cr, lineText.c_str());
        }
        x.cairo_restore(cr);
    }

    void DrawStatus(cairo_t* cr)
    {
        if (statusText[0] == '\0') {
            return;
        }
        x.cairo_set_source_rgb(cr, layout.statusRed / 255.0, layout.statusGreen / 255.0, layout.statusBlue / 255.0);
        DrawLines(cr, layout.status, statusText, layout.statusFontHeight);
    }

    // A box over the middle of the panel, in the status line's colours.
    void DrawAbout(cairo_t* cr)
    {
        const int lineCount = static_cast<int>(layout.aboutLines.size());
        const int height = (lineCount + 1) * layout.statusFontHeight;
        const PixelRect box = {layout.width / 4, (layout.height - height) / 2, layout.width / 2, height};
        x.cairo_set_source_rgb(cr, 0.06, 0.07, 0.08);
        x.cairo_rectangle(cr, box.left, box.top, box.width, box.height);
        x.cairo_fill(cr);
        x.cairo_set_source_rgb(cr, layout.statusRed / 255.0, layout.statusGreen / 255.0, layout.statusBlue / 255.0);
        x.cairo_set_line_width(cr, 1.0);
        x.cairo_rectangle(cr, box.left + 0.5, box.top + 0.5, box.width - 1, box.height - 1);
        x.cairo_stroke(cr);
        std::string text;
        for (const char* line : layout.aboutLines) {
            text += text.empty() ? line : std::string("\n") + line;
        }
        const PixelRect lines = {box.left, box.top + layout.statusFontHeight / 2, box.width, box.height};
        DrawLines(cr, lines, text.c_str(), layout.statusFontHeight);
    }

    const X11Library& x;
    Display* display;
    Window window;
    const PanelLayout layout;
    const X11PanelPictures& images;
    // Of a frame of the knob strip; 0 where the strip is missing or too short.
    const int knobFrameHeight;
    cairo_surface_t* windowSurface = nullptr;
    cairo_surface_t* buffer = nullptr;
    Cursor hiddenCursor = None;
    Panel panel;
    std::vector<DrawnControl> drawnControls;
    char statusText[StatusTextSize];
    bool changed = true;
    bool windowGone = false;
};

X11Editor::X11Editor(AudioEffect* effect, IParameterCollection* parameters, IControlObserver* observer,
    PanelLayout layout, std::vector<PanelArtwork> artwork)
    : PanelEditor(effect, parameters, observer, std::move(layout))
    , artwork(std::move(artwork))
{
}

X11Editor::~X11Editor()
{
    close();
}

DisplayScale X11Editor::ClosedViewScale()
{
    const X11Library* x = X11Library::Get();
    if (x == nullptr) {
        return DisplayScale();
    }
    if (sizeConnection == nullptr || sizeConnection->Get() == nullptr) {
        sizeConnection = std::make_unique<Connection>(*x);
    }
    return DesktopScaleOf(*x, sizeConnection->Get());
}

const X11PanelPictures& X11Editor::PicturesFor(DisplayScale scale)
{
    const X11Library& x = *X11Library::Get();
    if (original == nullptr) {
        original = X11PanelPictures::Decode(x, artwork, 1);
        doubled = X11PanelPictures::Decode(x, artwork, 2);
    }
    if (shown == nullptr || shownScale != scale) {
        shown = X11PanelPictures::ShownAt(*original, *doubled, scale, GetLayout().knobFrames);
        shownScale = scale;
    }
    return *shown;
}

bool X11Editor::OpenView(void* parentWindow)
{
    const X11Library* x = X11Library::Get();
    const auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow));
    if (x == nullptr || parent == None) {
        return false;
    }
    // The connection that answered the last size query becomes the panel's:
    // one connection an open, as some X servers refuse connections made and
    // dropped in quick succession.
    Display* display = sizeConnection != nullptr ? sizeConnection->Take() : nullptr;
    sizeConnection.reset();
    if (display == nullptr) {
        display = x->XOpenDisplay(nullptr);
    }
    if (display == nullptr) {
        return false;
    }
    const DisplayScale scale = DesktopScaleOf(*x, display);
    const PanelLayout scaled = ScaleLayout(GetLayout(), scale);
    ErrorTrap trap(*x, display);
    const Window window = x->XCreateSimpleWindow(
        display, parent, 0, 0, static_cast<unsigned>(scaled.width), static_cast<unsigned>(scaled.height), 0, 0, 0);
    // No background: the panel covers the window whole, without a flash.
    x->XSetWindowBackgroundPixmap(display, window, None);
    x->XSelectInput(display, window, EventMask);
    x->XMapWindow(display, window);
    if (trap.Failed()) {
        x->XCloseDisplay(display);
        return false;
    }
    view = std::make_unique<View>(*x, display, window, scaled, PicturesFor(scale), GetObserver(), scale);
    view->DrawIfChanged();
    if (trap.Failed()) {
        view->ForgetWindow();
    }
    ViewShownAt(scale);
    return true;
}

void X11Editor::CloseView()
{
    if (view != nullptr) {
        view->GetPanel().CancelGestures();
        view.reset();
    }
}

void X11Editor::idle()
{
    if (view == nullptr) {
        Editor::idle();
        return;
    }
    ErrorTrap trap = view->Trap();
    view->HandleEvents();
    Editor::idle();
    view->DrawIfChanged();
    if (trap.Failed()) {
        view->ForgetWindow();
    }
}

std::uintptr_t X11Editor::GetViewWindow() const
{
    return view != nullptr ? view->GetWindow() : 0;
}

void X11Editor::ShowValue(int parameterId, float value)
{
    if (view != nullptr) {
        view->GetPanel().SetParameterValue(parameterId, value);
    }
}

void X11Editor::ShowStatusText(const char* text)
{
    if (view != nullptr) {
        view->SetStatusText(text);
    }
}

void X11Editor::ClearStatusView()
{
    if (view != nullptr) {
        view->SetStatusText("");
    }
}
