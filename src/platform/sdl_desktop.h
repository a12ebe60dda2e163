// The desktop services on SDL2: real message boxes, the window title, the live
// Escape key and the screen size, and files handed to the desktop's opener.
#pragma once

#include "platform/desktop.h"

struct SDL_Window;

namespace platform {

class SdlDesktop : public Desktop {
  public:
    // window may be null: message boxes then have no parent and the title goes nowhere.
    explicit SdlDesktop(SDL_Window* window = nullptr) : window_(window) {}
    void set_window(SDL_Window* window) { window_ = window; }

    void message_box(std::string_view text, std::string_view caption, unsigned flags) override;
    void open_file(std::string_view path) override;
    void set_window_title(std::string_view title) override;
    bool escape_down() override;
    int screen_width() override;
    int screen_height() override;

  private:
    SDL_Window* window_;
};

}  // namespace platform
