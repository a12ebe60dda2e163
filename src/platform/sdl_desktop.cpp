// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SdlDesktop: Windows-1251 texts are converted to UTF-8 at this edge.
#include "platform/sdl_desktop.h"

#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <thread>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/sdl_window.h"
#include "platform/sdl_x11.h"

extern char** environ;

namespace platform {

void SdlDesktop::message_box(std::string_view text, std::string_view caption, unsigned flags) {
    const Uint32 kind =
        (flags & MB_ICONEXCLAMATION) != 0 ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_ERROR;
    const std::string utf8_text = cp1251_to_utf8(text);
    const std::string utf8_caption = cp1251_to_utf8(caption);
    // Modal: returns once the player has dismissed it. Without a display it fails at once.
    SDL_ShowSimpleMessageBox(kind, utf8_caption.c_str(), utf8_text.c_str(), nullptr);
}

void SdlDesktop::open_file(std::string_view path) {
    // The desktop's opener plays or shows the file with the program chosen for its type;
    // the game does not wait for it and does not learn how it went.
    const std::string native = native_path(path);
    char opener[] = "xdg-open";
    std::string argument = native;
    char* argv[] = {opener, argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, opener, nullptr, nullptr, argv, environ) != 0) return;
    // The opener may take its time (some wait for the player they start): a thread of
    // its own waits to reap it, so no zombie stays and the game goes on at once.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

void SdlDesktop::set_window_title(std::string_view title) {
    if (window_ == nullptr || window_->handle() == nullptr) return;
    const std::string utf8 = cp1251_to_utf8(title);
    SDL_SetWindowTitle(window_->handle(), utf8.c_str());
    set_x11_window_name(window_->handle(), utf8);
}

void SdlDesktop::toggle_full_screen() {
    if (window_ != nullptr) window_->toggle_full_screen();
}

bool SdlDesktop::is_full_screen() {
    return window_ != nullptr && window_->full_screen();
}

bool SdlDesktop::escape_down() {
    // The shell pumps the events before every pass of the loop, so the state is current.
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    if (keys != nullptr && keys[SDL_SCANCODE_ESCAPE] != 0) return true;
    // A game controller's B is the pad's Escape.
    return window_ != nullptr && window_->pads().escape_down();
}

int SdlDesktop::screen_width() {
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 0;
}

int SdlDesktop::screen_height() {
    SDL_DisplayMode mode;
    return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 0;
}

}  // namespace platform
