#include "plot/widget/escape_key.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef HALVEX_HAVE_X11
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace halvex {

bool EscapeKeyDown()
{
#ifdef HALVEX_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    KeyCode code = XKeysymToKeycode(display, XK_Escape);
    return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
#else
    return false;
#endif
}

} // namespace halvex
