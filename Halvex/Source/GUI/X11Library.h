#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo/cairo-xlib.h>
#include <cairo/cairo.h>

// The Xlib and cairo functions the X11 editor uses, reached through
// pointers of the same names. The libraries are loaded when an editor first
// opens, not when the plug-in is loaded, so that the plug-in still loads,
// scans and renders where they are not installed (a render farm, a headless
// server); they stay loaded for the life of the process.
#define HALVEX_X11_FUNCTIONS(F)   \
    F(XOpenDisplay)               \
    F(XCloseDisplay)              \
    F(XCreateSimpleWindow)        \
    F(XDestroyWindow)             \
    F(XMapWindow)                 \
    F(XSelectInput)               \
    F(XSetWindowBackgroundPixmap) \
    F(XGetWindowAttributes)       \
    F(XPending)                   \
    F(XNextEvent)                 \
    F(XFlush)                     \
    F(XSync)                      \
    F(XSetErrorHandler)           \
    F(XCreateBitmapFromData)      \
    F(XCreatePixmapCursor)        \
    F(XFreePixmap)                \
    F(XFreeCursor)                \
    F(XDefineCursor)              \
    F(XUndefineCursor)            \
    F(XWarpPointer)               \
    F(XSetInputFocus)             \
    F(XLookupKeysym)              \
    F(XResourceManagerString)

#define HALVEX_CAIRO_FUNCTIONS(F)                 \
    F(cairo_xlib_surface_create)                  \
    F(cairo_image_surface_create)                 \
    F(cairo_image_surface_create_from_png_stream) \
    F(cairo_image_surface_get_width)              \
    F(cairo_image_surface_get_height)             \
    F(cairo_image_surface_get_format)             \
    F(cairo_image_surface_get_data)               \
    F(cairo_image_surface_get_stride)             \
    F(cairo_surface_reference)                    \
    F(cairo_surface_mark_dirty)                   \
    F(cairo_surface_status)                       \
    F(cairo_surface_flush)                        \
    F(cairo_surface_destroy)                      \
    F(cairo_create)                               \
    F(cairo_destroy)                              \
    F(cairo_save)                                 \
    F(cairo_restore)                              \
    F(cairo_rectangle)                            \
    F(cairo_clip)                                 \
    F(cairo_fill)                                 \
    F(cairo_stroke)                               \
    F(cairo_paint)                                \
    F(cairo_set_source_surface)                   \
    F(cairo_set_source_rgb)                       \
    F(cairo_set_line_width)                       \
    F(cairo_select_font_face)                     \
    F(cairo_set_font_size)                        \
    F(cairo_font_extents)                         \
    F(cairo_text_extents)                         \
    F(cairo_move_to)                              \
    F(cairo_show_text)

struct X11Library {
#define HALVEX_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;
    HALVEX_X11_FUNCTIONS(HALVEX_DECLARE_FUNCTION)
    HALVEX_CAIRO_FUNCTIONS(HALVEX_DECLARE_FUNCTION)
#undef HALVEX_DECLARE_FUNCTION

    // The functions, loaded on the first call; null when a library or one of
    // its functions cannot be found. Any thread.
    static const X11Library* Get();
};
