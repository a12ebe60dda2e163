// The window title as every X11 reader sees it. SDL writes the UTF-8 title into
// _NET_WM_NAME, but into the older WM_NAME as if it were Latin-1; programs that read
// only WM_NAME (xdotool's search, older window managers) then see mangled text.
#pragma once

#include <string>

struct SDL_Window;

namespace platform {

// Rewrites the window's WM_NAME (and WM_ICON_NAME) from the UTF-8 title in the encoding
// the X11 conventions ask for: Latin-1 text as STRING, anything else as COMPOUND_TEXT.
// Does nothing when the window is not on X11.
void set_x11_window_name(SDL_Window* window, const std::string& utf8_title);

}  // namespace platform
