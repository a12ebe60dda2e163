// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the SDL window asks of X11 directly, on the display SDL opened: a title every X11
// reader can read, and a wait on the display connection that costs one read, where SDL's
// own wait reads the connection a dozen times before it sleeps.
#pragma once

#include <span>
#include <string>

struct SDL_Window;
struct _XDisplay;  // Xlib's Display

namespace platform {

// Rewrites the window's WM_NAME (and WM_ICON_NAME) from the UTF-8 title in the encoding
// the X11 conventions ask for: Latin-1 text as STRING, anything else as COMPOUND_TEXT.
// SDL writes the UTF-8 title into _NET_WM_NAME, but into WM_NAME as if it were Latin-1;
// programs that read only WM_NAME (xdotool's search, older window managers) then see
// mangled text. Does nothing when the window is not on X11.
void set_x11_window_name(SDL_Window* window, const std::string& utf8_title);

// The X display the window is on; nullptr when it is not on X11.
_XDisplay* x11_display(SDL_Window* window);

// Has Xlib call handler when the connection to the display is lost (the session ended,
// the X server went away); the process then ends with exit code 1, as Xlib ends it,
// but without running the exit handlers of a program whose display is gone.
void on_x11_connection_lost(void (*handler)());

// Sends what Xlib holds back, then sleeps until the display has events for us, one of
// the descriptors also_watched has something to read, or timeout_ms have passed (-1: no
// limit). False when the time ran out with nothing to read; true at once when events
// were already read and are waiting in Xlib, and when a signal ended the sleep.
bool x11_wait_for_events(_XDisplay* display, int timeout_ms, std::span<const int> also_watched);

}  // namespace platform
