// run_windowed: the loop waits at most a millisecond for input between frames while
// the window is active, and sleeps on the event queue once the one frame after
// deactivation has run, so an idle game costs no processor time.
#include "app/sdl_shell.h"

#include <cstdio>

#include "app/message_loop.h"
#include "app/startup.h"
#include "app/window_art.h"
#include "board/board.h"
#include "flow/flow.h"
#include "platform/desktop.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_desktop.h"
#include "platform/sdl_window.h"
#include "platform/window.h"

namespace app {

namespace {
// Whether the loop will run a frame on its next pass: while active, and once more after.
bool frames_wanted() {
    return flow::flow_state().input.window_active != 0 || app_state().activity_count != 0;
}
}  // namespace

int run_windowed(std::optional<std::uint32_t> seed, int scale) {
    platform::SdlDesktop desktop;
    platform::set_desktop(&desktop);
    platform::SdlAudio audio;
    platform::set_audio(&audio);

    prepare_globals();
    place_window(desktop.screen_width(), desktop.screen_height());
    platform::Window window;
    create_window(window);
    platform::SdlWindow sdl;
    if (!sdl.open(window.client_width(), window.client_height(), scale,
                  rules::rules_state().title_text.c_str())) {
        std::fprintf(stderr, "vorpy: %s\n", sdl.error().c_str());
        platform::set_audio(nullptr);
        platform::set_desktop(nullptr);
        return 1;
    }
    sdl.set_icon(window_icon());
    sdl.set_cursor(window_cursor());
    desktop.set_window(sdl.handle());
    start_up(window, seed);

    for (;;) {
        const int wait_ms = platform::messages_waiting() ? 0 : frames_wanted() ? 1 : -1;
        sdl.pump(wait_ms);
        if (!loop_pass(window)) break;
        sdl.present(window.framebuffer());
    }
    close_game();
    platform::set_audio(nullptr);
    platform::set_desktop(nullptr);
    return app_state().exit_code;
}

}  // namespace app
