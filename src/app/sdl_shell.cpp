// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// run_windowed: between passes the loop sleeps until input comes or the game's next
// due time is reached, whichever is first, so frames run only when they have
// something to do; once the window is inactive and its one last frame has run it
// sleeps until input alone.
#include "app/sdl_shell.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <utility>

#include "app/message_loop.h"
#include "app/startup.h"
#include "app/window_art.h"
#include "board/board.h"
#include "flow/flow.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_desktop.h"
#include "platform/sdl_window.h"
#include "platform/sdl_x11.h"
#include "platform/termination.h"
#include "platform/window.h"

namespace app {

namespace {
// How long the next pump may sleep: 0 with messages waiting or a frame owed now, -1 with
// nothing due, else the whole milliseconds up to the due time, rounded up so that the
// frame never runs before it. A frame owed now right after one that was owed now waits
// a millisecond: should something stay due whatever the frame does (a music file that
// cannot start), the loop runs no faster than a frame a millisecond.
int sleep_ms(bool& owed_now) {
    const bool was_owed_now = std::exchange(owed_now, false);
    if (platform::messages_waiting() || platform::termination_signal() != 0) return 0;
    const std::int64_t due = next_frame_due();
    if (due == never_due) return -1;
    const std::int64_t now = platform::clock().counter();
    if (due <= now) {
        owed_now = true;
        return was_owed_now ? 1 : 0;
    }
    const std::int64_t per_ms = platform::clock().frequency() / 1000;
    constexpr std::int64_t longest_ms = 3'600'000;  // well within SDL's int timeout
    return static_cast<int>(std::min((due - now + per_ms - 1) / per_ms, longest_ms));
}

// For scripts/desktop-bench: the wall-clock time of the first present and the processor
// time spent until then, on stderr.
void report_first_present(bool sound) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::fprintf(
        stderr,
        "vorpy: first frame presented at %lld us after %ld ms of processor time, sound %s\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
        static_cast<long>(std::clock() / (CLOCKS_PER_SEC / 1000)), sound ? "on" : "off");
}
}  // namespace

int run_windowed(std::optional<std::uint32_t> seed, int scale) {
    platform::SdlDesktop desktop;
    platform::set_desktop(&desktop);
    platform::SdlAudio audio;
    platform::set_audio(&audio);
    // Ended from outside, the game is kept by the loop's next pass; the sleep wakes for it.
    platform::catch_termination_signals(platform::SdlWindow::wake_descriptor());

    // The pictures and the score table load on a thread of their own while SDL connects
    // to the display: neither touches what the other does, and the window waits for both.
    std::thread loader(prepare_globals);
    platform::SdlWindow sdl;
    sdl.connect();
    loader.join();
    place_window(desktop.screen_width(), desktop.screen_height());
    platform::Window window;
    create_window(window);
    if (!sdl.open(window.client_width(), window.client_height(), scale,
                  rules::rules_state().title_text.c_str())) {
        std::fprintf(stderr, "vorpy: %s\n", sdl.error().c_str());
        platform::set_audio(nullptr);
        platform::set_desktop(nullptr);
        return 1;
    }
    // The session gone with its display: the game is kept before the process ends.
    platform::on_x11_connection_lost(flow::keep_game_at_exit);
    sdl.set_icon(window_icon());
    sdl.set_cursor(window_cursor());
    desktop.set_window(&sdl);
    start_up(window, seed);

    const bool report_first_frame = std::getenv("VORPY_REPORT_FIRST_FRAME") != nullptr;
    bool owed_now = false;
    bool first_frame = true;
    for (;;) {
        sdl.pump(sleep_ms(owed_now));
        if (!loop_pass(window)) break;
        if (sdl.present(window.framebuffer())) window.forget_touches();
        audio.rest_while_silent();
        if (std::exchange(first_frame, false)) {
            if (report_first_frame) report_first_present(audio.available());
            audio.settle();
            // Looking for controllers takes milliseconds: not before the first picture.
            sdl.start_pads();
        }
    }
    close_game();
    platform::set_audio(nullptr);
    platform::set_desktop(nullptr);
    return app_state().exit_code;
}

}  // namespace app
