#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

// Real pointer input through the XTest extension, in the coordinates of a
// window: the server delivers it to whichever window lies under the pointer,
// as it does a user's mouse. For tests that drive a panel on their own X
// server; the connection stays the caller's.
class XTestPointer {
public:
    XTestPointer(Display* display, Window window)
        : display(display)
        , window(window)
    {
    }

    void MoveTo(int x, int y)
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

private:
    Display* display;
    Window window;
};
