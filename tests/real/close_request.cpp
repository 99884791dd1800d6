// Asks an X11 window to close as a window manager does when its close button
// is pressed: a WM_DELETE_WINDOW client message. xdotool can only destroy a
// window, which a program never gets to answer, and a bare X server has no
// window manager to ask.
//
//     velta-close-request WINDOW
//
// WINDOW is the id xdotool prints. Exits 0 once the request is sent, 1 when
// the window does not take close requests or the display cannot be opened.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool xError = false;

// A window that is already gone is an error, not the end of the helper.
int noteError(Display*, XErrorEvent*) {
    xError = true;
    return 0;
}

bool takesCloseRequests(Display* display, Window window, Atom deleteWindow) {
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count)) return false;
    bool found = false;
    for (int i = 0; i < count; ++i)
        found = found || protocols[i] == deleteWindow;
    XFree(protocols);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const Window window = std::strtoul(argv[1], &end, 0);
    if (!end || *end != '\0' || window == 0) {
        std::fprintf(stderr, "%s: not a window id: %s\n", argv[0], argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    XSetErrorHandler(noteError);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    int status = 0;
    if (takesCloseRequests(display, window, deleteWindow)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
        if (xError) {
            std::fprintf(stderr, "%s: cannot send to window %s\n", argv[0], argv[1]);
            status = 1;
        }
    } else {
        std::fprintf(stderr, "%s: window %s does not take WM_DELETE_WINDOW\n", argv[0], argv[1]);
        status = 1;
    }
    XCloseDisplay(display);
    return status;
}
