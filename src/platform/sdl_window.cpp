// SdlWindow: SDL2 window, renderer and streaming texture; event translation.
#include "platform/sdl_window.h"

#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/sdl_x11_title.h"

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

}  // namespace

SdlWindow::~SdlWindow() {
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
}

int SdlWindow::choose_scale(int screen_w, int screen_h, int w, int h) {
    if (w <= 0 || h <= 0 || screen_w < 2 * w || screen_h < 2 * h) return 1;
    const int by_width = static_cast<int>(screen_w * 0.9) / w;
    const int by_height = static_cast<int>(screen_h * 0.9) / h;
    return std::max(1, std::min(by_width, by_height));
}

bool SdlWindow::open(int w, int h, int scale, std::string_view title) {
    // The close button only asks; the game decides whether to end.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    std::string reason;
    if (!start_video(reason)) {
        error_ = "cannot open a display: " + reason;
        return false;
    }
    width_ = std::max(w, 1);
    height_ = std::max(h, 1);
    SDL_DisplayMode mode;
    if (scale <= 0) {
        scale = SDL_GetDesktopDisplayMode(0, &mode) == 0
                    ? choose_scale(mode.w, mode.h, width_, height_)
                    : 1;
    }
    scale_ = scale;
    window_ = SDL_CreateWindow(cp1251_to_utf8(title).c_str(), SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width_ * scale_, height_ * scale_, 0);
    if (window_ == nullptr || (renderer_ = SDL_CreateRenderer(window_, -1, 0)) == nullptr) {
        error_ = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 width_, height_);
    if (texture_ == nullptr) {
        error_ = std::string("cannot open a window: ") + SDL_GetError();
        return false;
    }
    SDL_StartTextInput();
    // After the renderer: a renderer that needs another visual makes the window anew.
    set_x11_window_name(window_, cp1251_to_utf8(title));
    return true;
}

void SdlWindow::pump(int timeout_ms) {
    SDL_Event event;
    if (timeout_ms < 0) {
        if (SDL_WaitEvent(&event) == 0) return;
        translate(&event);
    } else {
        // A plain sleep, then one look at the display connection: SDL's timed wait
        // asks the connection several times a pass, and each ask is a system call.
        if (timeout_ms > 0) SDL_Delay(static_cast<Uint32>(timeout_ms));
        SDL_PumpEvents();
    }
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        translate(&event);
}

void SdlWindow::translate(const void* raw) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    // Positions reach the game clamped to the client area: its coordinates are unsigned.
    auto clamp_x = [this](int x) { return std::clamp(x, 0, width_ - 1); };
    auto clamp_y = [this](int y) { return std::clamp(y, 0, height_ - 1); };
    switch (event.type) {
        case SDL_QUIT:
            post_quit_message(0);
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    post_message({MessageType::activate, 1});
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    post_message({MessageType::activate, 0});
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    post_message({MessageType::close});
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    post_message({MessageType::paint});
                    shown_changes_ = ~std::uint64_t{0};  // whatever covered it is gone
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEMOTION:
            post_message(
                {MessageType::mouse_move, 0, clamp_x(event.motion.x), clamp_y(event.motion.y)});
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT)
                post_message({MessageType::left_button, 0, clamp_x(event.button.x),
                              clamp_y(event.button.y)});
            break;
        case SDL_TEXTINPUT:
            for (char byte : utf8_to_cp1251(event.text.text))
                post_message({MessageType::character, static_cast<unsigned char>(byte)});
            break;
        case SDL_KEYDOWN:
            // Control characters come only as key presses.
            switch (event.key.keysym.sym) {
                case SDLK_BACKSPACE:
                    post_message({MessageType::character, 8});
                    break;
                case SDLK_TAB:
                    post_message({MessageType::character, 9});
                    break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    post_message({MessageType::character, 13});
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

void SdlWindow::present(const Bitmap& framebuffer, bool force) {
    if (texture_ == nullptr || framebuffer.width != width_ || framebuffer.height != height_) return;
    if (!force && framebuffer.changes == shown_changes_) return;
    shown_changes_ = framebuffer.changes;
    SDL_UpdateTexture(texture_, nullptr, framebuffer.pixels.data(),
                      framebuffer.width * static_cast<int>(sizeof(Pixel)));
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

}  // namespace platform
