// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services on SDL2: real message boxes, the window title and full
// screen, the live Escape key and the screen size, and files handed to the desktop's
// opener.
#pragma once

#include "platform/desktop.h"

namespace platform {

class SdlWindow;

class SdlDesktop : public Desktop {
  public:
    // Until a window is set the title and full screen go nowhere.
    void set_window(SdlWindow* window) { window_ = window; }

    void message_box(std::string_view text, std::string_view caption, unsigned flags) override;
    void open_file(std::string_view path) override;
    void set_window_title(std::string_view title) override;
    void toggle_full_screen() override;
    bool is_full_screen() override;
    bool escape_down() override;
    int screen_width() override;
    int screen_height() override;

  private:
    SdlWindow* window_ = nullptr;
};

}  // namespace platform
