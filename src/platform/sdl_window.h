// The game's window on SDL2: a fixed-size window centred on the screen, shown at a
// whole-number scale on large screens; SDL events become the window procedure's
// messages, and the framebuffer is presented only when it changed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/raster.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

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

    // Opens the window for a client area of w x h game pixels. scale 0 picks one
    // from the screen size. False when no display or the window cannot be had; error()
    // then says what failed. A driver without a screen (dummy, offscreen) is used only
    // when SDL_VIDEODRIVER names it.
    bool open(int w, int h, int scale, std::string_view title);
    const std::string& error() const { return error_; }
    SDL_Window* handle() const { return window_; }
    int scale() const { return scale_; }

    // Moves waiting SDL events into the message queue as the window procedure's
    // messages, after sleeping timeout_ms; -1 sleeps until an event comes.
    void pump(int timeout_ms);

    // The window's icon in the title bar and task switcher; nothing happens when the
    // picture is unusable or the system refuses it.
    void set_icon(const ArgbPicture& icon);
    // The mouse pointer over the window; the standard arrow stays when the picture is
    // unusable or the pointer cannot be made.
    void set_cursor(const ArgbPicture& pointer);

    // Shows the framebuffer if it changed since it was last shown, or when forced.
    void present(const Bitmap& framebuffer, bool force = false);

    // The largest whole factor that fits the client area in 90 % of the screen, when
    // the screen is at least twice the client area both ways; otherwise 1.
    static int choose_scale(int screen_w, int screen_h, int w, int h);

  private:
    void translate(const void* event);
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* cursor_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
    std::uint64_t shown_changes_ = ~std::uint64_t{0};
    std::string error_;
};

}  // namespace platform
