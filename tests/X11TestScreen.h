#pragma once

// Include after GoogleTest: Xlib's macros (None, Bool, Status) would break
// its templates.

#include "XvfbServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdint>
#include <string>
#include <vector>

// The screen of the editor tests of every plug-in format: an X server of the
// test's own (XvfbServer) and a connection to it, top-level windows like the
// frames hosts open editors in, real pointer and key input that the server
// delivers to whichever window is under the pointer (XTest), and pixels read
// back from the server. One thread.
class X11TestScreen {
public:
    X11TestScreen() = default;
    ~X11TestScreen()
    {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    X11TestScreen(const X11TestScreen&) = delete;
    X11TestScreen& operator=(const X11TestScreen&) = delete;

    // Answers false, with the reason in error, when no server or no XTest could be had.
    bool Start(std::string& error)
    {
        if (!server.Start(error)) {
            return false;
        }
        display = XOpenDisplay(nullptr);
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        if (display == nullptr || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
            error = "no connection to the test's X server, or no XTest there";
            return false;
        }
        return true;
    }

    Display* GetDisplay() const { return display; }

    // The X resources every new connection reads, as xrdb sets them ("Xft.dpi:\t192\n").
    void SetDesktopResources(const std::string& resources)
    {
        XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(resources.c_str()), static_cast<int>(resources.size()));
        XSync(display, False);
    }

    // A mapped top-level window of the given size at (x, y).
    Window MakeHostWindow(int x, int y, int width, int height)
    {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y,
            static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    }

    // The pointer to (x, y) of the window.
    void MoveTo(Window window, int x, int y)
    {
        int rootX = 0, rootY = 0;
        Window child = None;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
        XFlush(display);
    }
    void Button(unsigned button, bool down)
    {
        XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
        XFlush(display);
    }
    void Key(KeySym key, bool down)
    {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down ? True : False, CurrentTime);
        XFlush(display);
    }

    // The window's pixels in the rectangle as 0xRRGGBB, row by row; empty
    // when the server cannot read them.
    std::vector<std::uint32_t> Pixels(Window window, int left, int top, int width, int height)
    {
        XSync(display, False);
        std::vector<std::uint32_t> pixels;
        XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(width),
            static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return pixels;
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
            }
        }
        XDestroyImage(image);
        return pixels;
    }

private:
    XvfbServer server;
    Display* display = nullptr;
};
