// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's framebuffer and its one drawing context.
#include "platform/window.h"

namespace platform {

Window::Window() : context_(&framebuffer_, this) {}

void Window::resize(int client_width, int client_height) {
    framebuffer_ = Bitmap(client_width, client_height);
    track_touches(framebuffer_);
    context_.target = &framebuffer_;
    ++framebuffer_.changes;
}

}  // namespace platform
