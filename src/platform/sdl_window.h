// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's window on SDL2: a fixed-size window centred on the screen, shown at a
// whole-number scale on large screens, or full screen at the largest whole factor
// that fits, centred on black; SDL events, the game controllers' among them, become the
// window procedure's messages. The framebuffer
// reaches the window through SDL's window surface, with no GL context, and only the parts that
// changed since the last present are sent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/raster.h"
#include "platform/sdl_pads.h"

struct SDL_Window;
struct SDL_Cursor;
struct SDL_Surface;
struct _XDisplay;
struct wl_display;

namespace platform {

// A small picture with straight alpha (0xAARRGGBB, rows top to bottom) and, for a mouse
// pointer, the pixel it points with.
struct ArgbPicture {
    int width = 0;
    int height = 0;
    int hot_x = 0;
    int hot_y = 0;
    std::span<const std::uint32_t> pixels;
};

class SdlWindow {
  public:
    SdlWindow() = default;
    ~SdlWindow();
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    // Starts SDL's video on a display, the slow part of opening: the connection, its
    // extensions and input method. open() does it when it has not been done. False
    // when no display answers; error() then says so.
    bool connect();
    // Opens the window for a client area of w x h game pixels. scale 0 picks one
    // from the screen size. False when no display or the window cannot be had; error()
    // then says what failed. A driver without a screen (dummy, offscreen) is used only
    // when SDL_VIDEODRIVER names it.
    bool open(int w, int h, int scale, std::string_view title);
    const std::string& error() const { return error_; }
    SDL_Window* handle() const { return window_; }
    int scale() const { return scale_; }

    // Moves waiting SDL events into the message queue as the window procedure's
    // messages, after sleeping until an event comes or timeout_ms have passed,
    // whichever is first; 0 does not sleep, -1 sleeps until an event comes. A held
    // arrow on a game controller ends the sleep when its repeat is due.
    void pump(int timeout_ms);
    // Starts the game controllers; those plugged in already arrive with the next pump.
    void start_pads() { pads_.start(); }
    const SdlPads& pads() const { return pads_; }
    // Ends the sleep of a pump in progress, or makes the next one return at once; safe
    // from any thread (the audio thread calls it when a music file ends).
    static void wake_from_any_thread();
    // The counter the pump's sleep watches on X11, for a signal handler to write to (a
    // write is all a handler may do); -1 when there is none.
    static int wake_descriptor();

    // The window's icon in the title bar and task switcher; nothing happens when the
    // picture is unusable or the system refuses it.
    void set_icon(const ArgbPicture& icon);
    // The mouse pointer over the window; the standard arrow stays when the picture is
    // unusable or the pointer cannot be made.
    void set_cursor(const ArgbPicture& pointer);

    // Switches between full screen and the window; false when the screen is smaller
    // than the game's picture or the system refuses. Until the next present the
    // window may still show the old layout.
    bool toggle_full_screen();
    bool full_screen() const;

    // Sends the window the parts of the framebuffer that differ from what it shows,
    // each pixel as a whole-factor block: among the tiles drawing touched, or all of it
    // after the window was uncovered. True once the window shows the framebuffer.
    bool present(const Bitmap& framebuffer);

    // The largest whole factor that fits the client area in 90 % of the screen, when
    // the screen is at least twice the client area both ways; otherwise 1.
    static int choose_scale(int screen_w, int screen_h, int w, int h);

  private:
    void translate(const void* event);
    // Places the game's picture in a window of that size: the largest whole factor
    // that fits, centred.
    void fit(int window_w, int window_h);
    // Whether the framebuffer's pixels in a tile differ from the window surface's.
    bool tile_differs(const Bitmap& framebuffer, const SDL_Surface& surface, int x, int y, int w,
                      int h) const;
    // Writes a rectangle of game pixels into the window surface, scaled.
    void copy_scaled(const Bitmap& framebuffer, SDL_Surface& surface, int x, int y, int w,
                     int h) const;
    SDL_Window* window_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;
    SDL_Surface* surface_ = nullptr;  // the window surface last written to
    _XDisplay* display_ = nullptr;    // the X display the window is on, if it is
    wl_display* wayland_ = nullptr;   // the Wayland display, on native Wayland
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;           // as the picture is shown now
    int windowed_scale_ = 1;  // as it is shown out of full screen
    int left_ = 0;            // where the picture starts in the window, past the black margins
    int top_ = 0;
    std::uint64_t shown_changes_ = 0;
    bool connected_ = false;
    bool whole_owed_ = true;  // the window shows nothing of ours yet, or was uncovered
    std::string error_;
    bool active_ = true;  // as last told to the game
    SdlPads pads_;
};

}  // namespace platform
