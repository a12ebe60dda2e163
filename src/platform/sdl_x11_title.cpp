// WM_NAME through Xlib's own text conversion, on the display SDL opened.
#include "platform/sdl_x11_title.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

void set_x11_window_name(SDL_Window* window, const std::string& utf8_title) {
    if (window == nullptr) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    const ::Window handle = info.info.x11.window;
    char* list[] = {const_cast<char*>(utf8_title.c_str())};
    XTextProperty name{};
    if (Xutf8TextListToTextProperty(display, list, 1, XStdICCTextStyle, &name) < Success) return;
    XSetWMName(display, handle, &name);
    XSetWMIconName(display, handle, &name);
    XFree(name.value);
    XFlush(display);
}

}  // namespace platform
