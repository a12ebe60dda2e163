// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The wait on a native Wayland window's display connection, by libwayland's rules for a
// connection another part of the program (SDL) also reads.
#include "platform/sdl_wayland.h"

#include <poll.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>

#include <cerrno>
#include <vector>

namespace platform {

wl_display* wayland_display(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_WAYLAND)
        return nullptr;
    return info.info.wl.display;
}

bool wayland_wait_for_events(wl_display* display, int timeout_ms,
                             std::span<const int> also_watched) {
    // Events already queued are SDL's to dispatch: no sleep until they are.
    if (wl_display_prepare_read(display) != 0) return true;
    // What SDL asked of the compositor goes out before the sleep; a full socket takes the
    // rest when it drains, which the wait below sees as well.
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return true;  // the connection broke: SDL's pump tells the game
    }
    std::vector<pollfd> watched{{wl_display_get_fd(display), POLLIN, 0}};
    for (const int descriptor : also_watched)
        if (descriptor >= 0) watched.push_back({descriptor, POLLIN, 0});
    const int ready = poll(watched.data(), watched.size(), timeout_ms);
    // Every prepared read ends in a read or a cancel, or other readers wait for ever.
    if (ready > 0 && (watched[0].revents & POLLIN) != 0)
        wl_display_read_events(display);
    else
        wl_display_cancel_read(display);
    return ready != 0;
}

}  // namespace platform
