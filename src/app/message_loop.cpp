// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The loop with its activity rule, and the window procedure.
#include "app/message_loop.h"

#include <cstdint>

#include "app/preferences.h"
#include "app/startup.h"
#include "flow/flow.h"
#include "platform/termination.h"

namespace app {

void window_procedure(platform::Window& window, const platform::Message& message) {
    using platform::MessageType;
    flow::Input& input = flow::flow_state().input;
    switch (message.type) {
        case MessageType::destroy:
            platform::post_quit_message(0);
            break;
        case MessageType::activate:
            input.window_active = (message.code & 0xFFFF) != 0 ? 1 : 0;
            break;
        case MessageType::paint:
            flow::redraw_state(window);
            break;
        case MessageType::close:
            flow::on_close(window);
            break;
        case MessageType::character:
            if (message.code >= 32 && message.code <= 255) {
                const char text[2] = {static_cast<char>(message.code), '\0'};
                input.typed_chars = input.typed_chars + text;
            } else {
                input.last_control_char = message.code;
            }
            break;
        case MessageType::mouse_move:
        case MessageType::left_button:
            // Positions arrive as the two 16-bit halves of one message word.
            input.mouse_x = static_cast<std::uint16_t>(message.x);
            input.mouse_y = static_cast<std::uint16_t>(message.y);
            input.mouse_moved = 1;
            // A click on an inactive window is dropped, not kept for after activation,
            // when it would act wherever the mouse then is. The click that activates
            // the window comes after its activation and counts.
            if (message.type == MessageType::left_button && input.window_active != 0)
                input.click_count = static_cast<std::uint16_t>(input.click_count + 1);
            break;
        case MessageType::key_down:
            // F11 is the window's business in every state of the game.
            if (message.code == platform::VK_F11) {
                platform::desktop().toggle_full_screen();
                break;
            }
            input.key_pressed = message.code;
            // Enter also arrives as the control character name entry reads.
            if (message.code == platform::VK_RETURN) input.last_control_char = 13;
            break;
        case MessageType::quit:  // ends the loop before it gets here
        case MessageType::create:
            break;
    }
}

namespace {
bool end_loop(int exit_code) {
    AppState& a = app_state();
    a.loop_ended = true;
    a.exit_code = exit_code;
    return false;
}

// The pass itself; loop_pass keeps the preferences after it.
bool pass(platform::Window& window) {
    AppState& a = app_state();
    if (a.loop_ended) return false;
    // Ended from outside: between two passes the game is whole, and kept as it stands.
    if (const int signal = platform::termination_signal(); signal != 0) {
        flow::keep_game_at_exit();
        return end_loop(128 + signal);
    }
    platform::Message message{};
    if (platform::peek_message(message)) {
        if (message.type == platform::MessageType::quit)
            return end_loop(static_cast<int>(message.code));
        window_procedure(window, message);
    }
    // Inactive: the count drops to -1 once and the frame below brings it to 0; from
    // then on no frames run until the window is active again.
    if (flow::flow_state().input.window_active == 0) {
        if (a.activity_count == 0) return true;
        a.activity_count = -1;
    }
    if (a.activity_count < 2) ++a.activity_count;
    ++a.frame_count;
    // The state QUIT is a normal end: exit code 0, whatever message came last.
    if (!flow::run_frame(window)) return end_loop(0);
    return true;
}
}  // namespace

bool loop_pass(platform::Window& window) {
    const bool running = pass(window);
    // M and F11 are kept as soon as they change, whichever shell runs the loop.
    keep_preferences();
    return running;
}

std::int64_t next_frame_due() {
    const AppState& a = app_state();
    if (a.loop_ended) return never_due;
    if (a.frame_count == 0) return due_now;
    if (flow::flow_state().input.window_active == 0)
        return a.activity_count == 0 ? never_due : due_now;
    return flow::next_frame_due();
}

int run_message_loop(platform::Window& window) {
    while (loop_pass(window)) {
    }
    return app_state().exit_code;
}

}  // namespace app
