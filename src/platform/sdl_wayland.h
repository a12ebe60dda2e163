// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The wait for events on a native Wayland window, on the display connection SDL opened:
// beside the connection it watches descriptors of the game's own (the wakes, which a
// signal handler may write, and the controllers' devices), which SDL's own wait does not.
#pragma once

#include <span>

struct SDL_Window;
struct wl_display;

namespace platform {

// The Wayland display the window is on; nullptr when it is not a native Wayland window.
wl_display* wayland_display(SDL_Window* window);

// Sends the requests SDL has queued, then sleeps until the display has events for us, a
// descriptor of also_watched has something to read, or timeout_ms have passed (-1: no
// limit), reading what arrived into SDL's queue for its next pump. False when the time
// ran out with nothing to read; true at once when events were already queued.
bool wayland_wait_for_events(wl_display* display, int timeout_ms,
                             std::span<const int> also_watched);

}  // namespace platform
