// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SdlWindow: SDL2 window and its window surface; event translation; presenting the
// changed tiles of the framebuffer; full screen.
#include "platform/sdl_window.h"

#include <SDL.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/sdl_wayland.h"
#include "platform/sdl_x11.h"

namespace platform {

namespace {

// Drivers that draw nowhere a player could see ("evdev" is the dummy one with
// keyboard input from the console's devices).
bool screenless(std::string_view driver) {
    return driver == "dummy" || driver == "offscreen" || driver == "evdev";
}

// Starts SDL's video on a real display. Left to itself SDL falls back to its
// off-screen driver when no display answers, and the game would run unseen; so
// unless a driver is named, the others are tried one by one. The error is the
// first driver's, which is the usual display (X11) of this system.
bool start_video(std::string& error) {
    const char* named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (named != nullptr && named[0] != '\0') {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        error = SDL_GetError();
        return false;
    }
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* driver = SDL_GetVideoDriver(i);
        if (driver == nullptr || screenless(driver)) continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!started && error.empty()) error = SDL_GetError();
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        if (started) return true;
    }
    if (error.empty()) error = "no display driver";
    return false;
}

// The keys the game acts on; 0 for the others. Enter is one of them: the window
// procedure makes its control character.
std::uint32_t virtual_key(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_h:
            return VK_H;
        case SDLK_m:
            return VK_M;
        case SDLK_F11:
            return VK_F11;
        default:
            return 0;
    }
}

// Division rounding towards minus infinity: a position left of the picture is not on
// its first pixel.
int floor_div(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

SdlWindow::~SdlWindow() {
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

int SdlWindow::choose_scale(int screen_w, int screen_h, int w, int h) {
    if (w <= 0 || h <= 0 || screen_w < 2 * w || screen_h < 2 * h) return 1;
    const int by_width = static_cast<int>(screen_w * 0.9) / w;
    const int by_height = static_cast<int>(screen_h * 0.9) / h;
    return std::max(1, std::min(by_width, by_height));
}

bool SdlWindow::connect() {
    if (connected_) return true;
    if (!error_.empty()) return false;  // tried, and no display answered
    // The close button only asks; the game decides whether to end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The game's own handlers take SIGTERM and SIGINT (platform/termination.h).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string reason;
    if (!start_video(reason)) {
        error_ = "cannot open a display: " + reason;
        return false;
    }
    connected_ = true;
    return true;
}

bool SdlWindow::open(int w, int h, int scale, std::string_view title) {
    if (!connect()) return false;
    // On X11 the window surface is a plain shared-memory image: without this hint SDL
    // backs it with a GL renderer, which on a machine without a GPU is a software
    // rasteriser of tens of megabytes and threads. Drivers with no surface of their own
    // (Wayland) keep SDL's default.
    if (const char* driver = SDL_GetCurrentVideoDriver();
        driver != nullptr && std::strcmp(driver, "x11") == 0)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    width_ = std::max(w, 1);
    height_ = std::max(h, 1);
    SDL_DisplayMode mode;
    if (scale <= 0) {
        scale = SDL_GetDesktopDisplayMode(0, &mode) == 0
                    ? choose_scale(mode.w, mode.h, width_, height_)
                    : 1;
    }
    scale_ = scale;
    windowed_scale_ = scale;
    window_ = SDL_CreateWindow(cp1251_to_utf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width_ * scale_, height_ * scale_, 0);
    if (window_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
        error_ = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    SDL_StartTextInput();
    display_ = x11_display(window_);
    wayland_ = wayland_display(window_);
    // Once the window exists: the title properties are set on its X11 window.
    set_x11_window_name(window_, cp1251_to_utf8(title));
    return true;
}

// A counter written by wake_from_any_thread and watched by the pump's sleep on X11 beside
// the display connection: SDL wakes its own wait for events other threads push, not ours.
int SdlWindow::wake_descriptor() {
    static const int descriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return descriptor;
}

void SdlWindow::wake_from_any_thread() {
    // The event is queued before the count goes up: a sleep the count ends finds the event
    // waiting. Should the pump take the event first, the count only ends one later sleep
    // early, and the pump takes the count then.
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
    const std::uint64_t one = 1;
    if (wake_descriptor() >= 0 && write(wake_descriptor(), &one, sizeof one) < 0) {
        // Only a full counter refuses, and a full counter wakes the pump as well.
    }
}

namespace {
// Takes what the wakes counted, so that the next sleep is a sleep again.
void take_wakes(int descriptor) {
    std::uint64_t count = 0;
    if (descriptor >= 0 && read(descriptor, &count, sizeof count) < 0) {
        // Nothing counted.
    }
}
}  // namespace

void SdlWindow::pump(int timeout_ms) {
    SDL_Event event;
    pads_.begin_pump();
    if (const int limit = pads_.sleep_limit_ms(); limit >= 0)
        timeout_ms = timeout_ms < 0 ? limit : std::min(timeout_ms, limit);
    if (timeout_ms != 0) {
        // The display connection is watched while asleep: input ends the wait at once.
        if (display_ != nullptr || wayland_ != nullptr) {
            // SDL's own wait reads the X11 connection a dozen times before it sleeps, more
            // than the menu's frame costs, and on Wayland it does not see the wakes a
            // signal handler writes; with nothing read in the time there is nothing for
            // SDL to pump either. The controllers' devices are watched beside it.
            std::vector<int> watched = pads_.watched();
            watched.push_back(wake_descriptor());
            const auto woken = [&] {
                return display_ != nullptr ? x11_wait_for_events(display_, timeout_ms, watched)
                                           : wayland_wait_for_events(wayland_, timeout_ms, watched);
            };
            if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) && !woken() &&
                !pads_.needs_polling()) {
                pads_.post_repeats();
                return;
            }
            take_wakes(wake_descriptor());
            pads_.drain();
        } else {
            const int got =
                timeout_ms < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout_ms);
            if (got != 0) translate(&event);
        }
    }
    SDL_PumpEvents();
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(&event);
    pads_.post_repeats();
}

void SdlWindow::translate(const void* raw) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    if (pads_.translate(event)) return;
    // Positions reach the game in its own pixels, clamped to the client area: its
    // coordinates are unsigned. The division rounds down on the black margins too.
    auto game_x = [this](int x) { return std::clamp(floor_div(x - left_, scale_), 0, width_ - 1); };
    auto game_y = [this](int y) { return std::clamp(floor_div(y - top_, scale_), 0, height_ - 1); };
    // Whether a window position lies on the game's picture rather than the margins.
    auto on_picture = [this](int x, int y) {
        return x >= left_ && x < left_ + width_ * scale_ && y >= top_ &&
               y < top_ + height_ * scale_;
    };
    switch (event.type) {
        case SDL_QUIT:
            post_quit_message(0);
            break;
        case SDL_USEREVENT:
            // Only a wake: the sleep it ended took its count.
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    post_message({MessageType::activate, 1});
                    active_ = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    post_message({MessageType::activate, 0});
                    active_ = false;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    post_message({MessageType::close});
                    break;
                case SDL_WINDOWEVENT_SHOWN:
                    // An X server asks a window it maps to paint itself (the exposure
                    // below); a Wayland compositor never asks, since it keeps what the
                    // window last sent, so being shown is the first paint's request.
                    if (display_ == nullptr) {
                        post_message({MessageType::paint});
                        whole_owed_ = true;
                    }
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    post_message({MessageType::paint});
                    whole_owed_ = true;  // whatever covered it is gone
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    // Full screen came or went: clicks from now on land on the new layout.
                    fit(event.window.data1, event.window.data2);
                    whole_owed_ = true;
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEMOTION:
            post_message(
                {MessageType::mouse_move, 0, game_x(event.motion.x), game_y(event.motion.y)});
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            // A click on the black margins of the full screen is on nothing of the game's.
            if (!on_picture(event.button.x, event.button.y)) break;
            // The click that activates the window may come before the focus event:
            // the window is active for it, so the game does not drop it.
            if (!active_ && SDL_GetKeyboardFocus() == window_) {
                post_message({MessageType::activate, 1});
                active_ = true;
            }
            post_message(
                {MessageType::left_button, 0, game_x(event.button.x), game_y(event.button.y)});
            break;
        case SDL_TEXTINPUT:
            for (char byte : utf8_to_cp1251(event.text.text))
                post_message({MessageType::character, static_cast<unsigned char>(byte)});
            break;
        case SDL_KEYDOWN:
            if (const std::uint32_t key = virtual_key(event.key.keysym.sym)) {
                // A held key repeats only where repeating means something: the arrows.
                const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
                if (event.key.repeat == 0 || arrow) post_message({MessageType::key_down, key});
                break;
            }
            // Control characters come only as key presses.
            switch (event.key.keysym.sym) {
                case SDLK_BACKSPACE:
                    post_message({MessageType::character, 8});
                    break;
                case SDLK_TAB:
                    post_message({MessageType::character, 9});
                    break;
                case SDLK_ESCAPE:
                    post_message({MessageType::character, 27});
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

namespace {
// An SDL surface over the picture's pixels, or null when the picture does not fill its size.
SDL_Surface* surface_of(const ArgbPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
        return nullptr;
    // SDL only reads the pixels: the surface is freed before the call returns.
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(picture.pixels.data()),
                                              picture.width, picture.height, 32, picture.width * 4,
                                              SDL_PIXELFORMAT_ARGB8888);
}
// Framebuffer pixels are 0x00RRGGBB; the window surface's own layout otherwise.
Uint32 surface_pixel(const SDL_PixelFormat& format, Pixel p) {
    if (format.format == SDL_PIXELFORMAT_RGB888) return p;
    return SDL_MapRGB(&format, static_cast<Uint8>(p >> 16), static_cast<Uint8>(p >> 8),
                      static_cast<Uint8>(p));
}

Uint32* surface_row(const SDL_Surface& surface, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface.pixels) +
                                     static_cast<std::ptrdiff_t>(y) * surface.pitch);
}
}  // namespace

void SdlWindow::set_icon(const ArgbPicture& icon) {
    if (window_ == nullptr) return;
    SDL_Surface* surface = surface_of(icon);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

void SdlWindow::set_cursor(const ArgbPicture& pointer) {
    SDL_Surface* surface = surface_of(pointer);
    if (surface == nullptr) return;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, pointer.hot_x, pointer.hot_y);
    SDL_FreeSurface(surface);
    if (cursor == nullptr) return;
    SDL_SetCursor(cursor);
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    cursor_ = cursor;
}

bool SdlWindow::tile_differs(const Bitmap& framebuffer, const SDL_Surface& surface, int x, int y,
                             int w, int h) const {
    const bool same_layout = surface.format->format == SDL_PIXELFORMAT_RGB888;
    for (int row = y; row < y + h; ++row) {
        const Pixel* source = &framebuffer.pixels[static_cast<std::size_t>(row) * width_ + x];
        const Uint32* shown = surface_row(surface, top_ + row * scale_) + left_ + x * scale_;
        if (scale_ == 1 && same_layout) {
            if (std::memcmp(source, shown, static_cast<std::size_t>(w) * sizeof(Pixel)) != 0)
                return true;
            continue;
        }
        // The top-left pixel of each block stands for the block: blocks are written whole.
        for (int i = 0; i < w; ++i)
            if (shown[i * scale_] != surface_pixel(*surface.format, source[i])) return true;
    }
    return false;
}

void SdlWindow::copy_scaled(const Bitmap& framebuffer, SDL_Surface& surface, int x, int y, int w,
                            int h) const {
    const std::size_t row_bytes = static_cast<std::size_t>(w) * scale_ * sizeof(Uint32);
    const bool same_layout = surface.format->format == SDL_PIXELFORMAT_RGB888;
    for (int row = y; row < y + h; ++row) {
        const Pixel* source = &framebuffer.pixels[static_cast<std::size_t>(row) * width_ + x];
        Uint32* first = surface_row(surface, top_ + row * scale_) + left_ + x * scale_;
        if (scale_ == 1 && same_layout) {
            std::memcpy(first, source, row_bytes);
            continue;
        }
        for (int i = 0; i < w; ++i) {
            const Uint32 p = surface_pixel(*surface.format, source[i]);
            std::fill_n(first + i * scale_, scale_, p);
        }
        for (int copy = 1; copy < scale_; ++copy)
            std::memcpy(surface_row(surface, top_ + row * scale_ + copy) + left_ + x * scale_,
                        first, row_bytes);
    }
}

bool SdlWindow::present(const Bitmap& framebuffer) {
    if (window_ == nullptr || framebuffer.width != width_ || framebuffer.height != height_)
        return false;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr || surface->format->BytesPerPixel != 4) return false;
    // A new surface holds none of what was sent before, and may be another size.
    const bool whole = whole_owed_ || surface != surface_;
    if (surface != surface_) fit(surface->w, surface->h);
    if (surface->w < left_ + width_ * scale_ || surface->h < top_ + height_ * scale_) return false;
    if (!whole && framebuffer.changes == shown_changes_) return true;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    if (whole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    // Changed tiles next to each other in a row of tiles go as one rectangle.
    std::vector<SDL_Rect> sent;
    const int columns = touch_columns(width_);
    for (int y = 0, tile_row = 0; y < height_; y += touch_tile, ++tile_row) {
        const int h = std::min(touch_tile, height_ - y);
        int run_start = -1;  // first column of the run of changed tiles being gathered
        for (int x = 0, tile = tile_row * columns;; x += touch_tile, ++tile) {
            const bool at_end = x >= width_;
            const bool touched = !at_end && (whole || framebuffer.touched.empty() ||
                                             framebuffer.touched[static_cast<std::size_t>(tile)]);
            if (touched && (whole || tile_differs(framebuffer, *surface, x, y,
                                                  std::min(touch_tile, width_ - x), h))) {
                if (run_start < 0) run_start = x;
                continue;
            }
            if (run_start >= 0) {
                const int w = std::min(x, width_) - run_start;
                copy_scaled(framebuffer, *surface, run_start, y, w, h);
                sent.push_back(
                    {left_ + run_start * scale_, top_ + y * scale_, w * scale_, h * scale_});
                run_start = -1;
            }
            if (at_end) break;
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    surface_ = surface;
    shown_changes_ = framebuffer.changes;
    whole_owed_ = false;
    if (whole)
        SDL_UpdateWindowSurface(window_);  // the margins too
    else if (!sent.empty())
        SDL_UpdateWindowSurfaceRects(window_, sent.data(), static_cast<int>(sent.size()));
    return true;
}

void SdlWindow::fit(int window_w, int window_h) {
    scale_ = std::max(1, std::min(window_w / width_, window_h / height_));
    left_ = std::max(0, (window_w - width_ * scale_) / 2);
    top_ = std::max(0, (window_h - height_ * scale_) / 2);
}

bool SdlWindow::toggle_full_screen() {
    if (window_ == nullptr) return false;
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
    if (!full) {
        // A screen smaller than the game's picture would cut it: the window stays.
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(window_);
        if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w < width_ ||
            mode.h < height_)
            return false;
    }
    // Full screen at the desktop's own resolution: the game scales itself in fit().
    if (SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return false;
    // Not every driver gives the window its old size back by itself.
    if (full) SDL_SetWindowSize(window_, width_ * windowed_scale_, height_ * windowed_scale_);
    whole_owed_ = true;
    return true;
}

bool SdlWindow::full_screen() const {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

}  // namespace platform
