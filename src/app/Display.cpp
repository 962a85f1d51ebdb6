#include "app/Display.h"

// Kept apart: the X11 header defines macros (None, Bool, Status) that
// clash with names elsewhere.
#include <X11/Xlib.h>

bool displayAvailable()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}
