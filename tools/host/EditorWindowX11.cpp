#include "EditorWindow.h"

#include <X11/Xutil.h>
#include <cairo/cairo.h>
#include <poll.h>

#include <chrono>
#include <cstdint>

EditorWindow::~EditorWindow()
{
    host.SetResizeListener(nullptr);
    CloseEditor();
    if (display != nullptr) {
        if (window != 0)
            XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
}

bool EditorWindow::Open(const std::string& title, std::string& error)
{
    if (!ReadEditorSize(error))
        return false;
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        error = "cannot connect to the X server (is DISPLAY set?)";
        return false;
    }
    const int screen = DefaultScreen(display);
    window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(clientWidth),
        static_cast<unsigned>(clientHeight), 0, BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, title.c_str());
    FixSize();
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);

    const auto windowId = static_cast<std::uintptr_t>(window);
    if (host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(windowId)) == 0) {
        error = "the plug-in did not open its editor (effEditOpen answered 0)";
        return false;
    }
    editorOpen = true;
    XMapWindow(display, window);
    XSync(display, False);
    return true;
}

// A fixed-size frame: the user cannot resize what the editor draws at its own size.
void EditorWindow::FixSize()
{
    XSizeHints size {};
    size.flags = PMinSize | PMaxSize;
    size.min_width = size.max_width = clientWidth;
    size.min_height = size.max_height = clientHeight;
    XSetWMNormalHints(display, window, &size);
}

bool EditorWindow::Resize(int width, int height)
{
    if (window == 0 || width <= 0 || height <= 0)
        return false;
    clientWidth = width;
    clientHeight = height;
    FixSize();
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFlush(display);
    return true;
}

void EditorWindow::PointAt(int x, int y)
{
    XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
    XFlush(display);
}

// The window's own events (the close button) are handled as they come; the
// editor is idled every IdleIntervalMs.
bool EditorWindow::Run(std::string& error)
{
    using Clock = std::chrono::steady_clock;
    auto nextIdle = Clock::now();
    bool closing = false;
    while (!closing) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
                closing = true;
        }
        const auto now = Clock::now();
        if (now >= nextIdle) {
            nextIdle += std::chrono::milliseconds(IdleIntervalMs);
            closing = IdleAndMaybeSave() || closing;
            continue;
        }
        pollfd connection {ConnectionNumber(display), POLLIN, 0};
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - now).count();
        poll(&connection, 1, static_cast<int>(wait) + 1);
    }
    // The editor goes first, while its parent window still exists, as in a sequencer.
    CloseEditor();
    return ScreenshotSavedIfAsked(error);
}

// Reads the window back from the X server, the editor's child window
// included, and writes it with cairo's PNG encoder.
bool EditorWindow::SaveScreenshot()
{
    XSync(display, False);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(clientWidth),
        static_cast<unsigned>(clientHeight), AllPlanes, ZPixmap);
    if (image == nullptr) {
        screenshotError = "cannot read the window's pixels (XGetImage failed)";
        return false;
    }
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, clientWidth, clientHeight);
    unsigned char* data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < clientHeight; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < clientWidth; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const auto channel = [&](unsigned long mask) {
                unsigned long value = pixel & mask;
                unsigned long top = mask;
                while (top != 0 && (top & 1) == 0) {
                    value >>= 1;
                    top >>= 1;
                }
                return static_cast<std::uint32_t>(top == 0xFF ? value : value * 255 / (top != 0 ? top : 1));
            };
            row[x] = channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask);
        }
    }
    XDestroyImage(image);
    cairo_surface_mark_dirty(picture);
    const cairo_status_t status = cairo_surface_write_to_png(picture, screenshotPath.c_str());
    cairo_surface_destroy(picture);
    if (status != CAIRO_STATUS_SUCCESS) {
        screenshotError = "cannot write " + screenshotPath + " (" + cairo_status_to_string(status) + ")";
        return false;
    }
    return true;
}
