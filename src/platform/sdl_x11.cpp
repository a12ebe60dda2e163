// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's title and the wait for events, through Xlib on the display SDL opened.
#include "platform/sdl_x11.h"

#include <poll.h>

#include <cstdio>
#include <cstdlib>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace platform {

namespace {
void (*connection_lost_handler)() = nullptr;

int connection_lost(Display*) {
    if (connection_lost_handler != nullptr) connection_lost_handler();
    std::fputs("vorpy: the connection to the display was lost\n", stderr);
    std::_Exit(1);
}

// What SDL knows of the window's X11 side; false when the window is not on X11.
bool x11_info(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
           info.subsystem == SDL_SYSWM_X11;
}
}  // namespace

void set_x11_window_name(SDL_Window* window, const std::string& utf8_title) {
    SDL_SysWMinfo info;
    if (!x11_info(window, info)) return;
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

void on_x11_connection_lost(void (*handler)()) {
    connection_lost_handler = handler;
    XSetIOErrorHandler(connection_lost);
}

_XDisplay* x11_display(SDL_Window* window) {
    SDL_SysWMinfo info;
    return x11_info(window, info) ? info.info.x11.display : nullptr;
}

bool x11_wait_for_events(_XDisplay* display, int timeout_ms, std::span<const int> also_watched) {
    // XPending flushes the output and reads what has arrived; only with nothing read and
    // nothing queued may the wait be on the socket.
    if (XPending(display) > 0) return true;
    std::vector<pollfd> watched{{ConnectionNumber(display), POLLIN, 0}};
    for (const int descriptor : also_watched)
        if (descriptor >= 0) watched.push_back({descriptor, POLLIN, 0});
    return poll(watched.data(), watched.size(), timeout_ms) != 0;
}

}  // namespace platform
