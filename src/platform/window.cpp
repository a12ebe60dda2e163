// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's framebuffer and its one drawing context.
#include "platform/window.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/kept_data.h"

namespace platform {

namespace {
// The framebuffer pixels of the last window gone while decoded data was kept.
std::vector<Pixel>& spare_pixels() {
    static std::vector<Pixel> pixels;
    return pixels;
}
}  // namespace

Window::Window() : context_(&framebuffer_, this) {}

Window::~Window() {
    if (decoded_data_kept()) spare_pixels() = std::move(framebuffer_.pixels);
}

void Window::resize(int client_width, int client_height) {
    std::vector<Pixel>& spare = spare_pixels();
    if (!decoded_data_kept() || spare.size() != static_cast<std::size_t>(client_width) *
                                                    static_cast<std::size_t>(client_height)) {
        framebuffer_ = Bitmap(client_width, client_height);
        std::vector<Pixel>().swap(spare);
    } else {
        // The same black client area a new bitmap has, without a new block of memory.
        Bitmap reused;
        reused.width = client_width;
        reused.height = client_height;
        reused.pixels = std::move(spare);
        std::memset(reused.pixels.data(), 0, reused.pixels.size() * sizeof(Pixel));
        framebuffer_ = std::move(reused);
    }
    track_touches(framebuffer_);
    context_.target = &framebuffer_;
    ++framebuffer_.changes;
}

}  // namespace platform
