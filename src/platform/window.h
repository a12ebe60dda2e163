// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's one window as the game code sees it: a client-area framebuffer and
// the single drawing context that lives with it. The shells present the
// framebuffer; the title and the desktop services are in desktop.h.
#pragma once

#include <algorithm>

#include "platform/raster.h"

namespace platform {

class Window {
  public:
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Gives the window a black client area of the given size; the context keeps its
    // selections. While decoded data is kept (platform/kept_data.h), games play one after
    // another in the process, and the pixels of the last window gone are used again.
    void resize(int client_width, int client_height);

    // The window's own drawing context: every request returns this one.
    DrawContext& dc() { return context_; }
    const Bitmap& framebuffer() const { return framebuffer_; }
    // Forgets which tiles drawing touched; a shell calls it once it has shown them.
    void forget_touches() {
        std::fill(framebuffer_.touched.begin(), framebuffer_.touched.end(), 0);
    }
    int client_width() const { return framebuffer_.width; }
    int client_height() const { return framebuffer_.height; }

  private:
    Bitmap framebuffer_;
    DrawContext context_;
};

}  // namespace platform
