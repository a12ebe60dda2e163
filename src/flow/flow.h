// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game flow: the game states and the frame function that drives them, the
// input the window procedure stores for it, the close request, and the repaint of
// every screen with the score panel and the menu button.
#pragma once

#include <cstdint>
#include <optional>

#include "base/game_states.h"
#include "base/string.h"
#include "base/timer.h"
#include "flow/board_cursor.h"
#include "flow/kept_game.h"
#include "platform/raster.h"
#include "platform/window.h"

class windowmenu;

namespace flow {

// What the window procedure stores and the frame function takes.
struct Input {
    std::uint16_t mouse_x = 0;
    std::uint16_t mouse_y = 0;
    std::uint16_t click_count = 0;  // left-button presses not yet taken
    String typed_chars;             // printable characters not yet taken
    std::uint32_t last_control_char = 0;
    std::int32_t window_active = 1;
    std::uint32_t key_pressed = 0;  // the last key pressed (a VirtualKey) not yet taken, or 0
    std::int32_t mouse_moved = 0;   // 1 once the mouse moved or clicked since the last frame
};

// The flow's program-wide state.
struct FlowState {
    std::int32_t game_state = NEW_STAGE;
    std::int32_t keep_running = 1;
    std::int32_t first_tick = 1;
    std::int32_t menu_button_lit = 0;
    std::int32_t training_level = -1;
    // The state the last frame began in; -1 before the first frame.
    std::int32_t frame_start_state = -1;
    String player_name;
    std::optional<Timer> second_timer;  // made on the first frame
    // Outer size of the window: the client size plus the frame of the original desktop.
    std::int32_t window_width = 0;
    std::int32_t window_height = 0;
    // The score the panel showed last.
    std::int32_t panel_score = 0;
    // Character width of the game's texts: cell width / 2.
    std::int32_t text_width = 0;
    Input input;
    // 1 while the keyboard moved a menu's highlight last; the mouse takes it back.
    std::int32_t keys_lead = 0;
    BoardCursor cursor;
    // The game set aside, while the main menu offers it.
    std::optional<KeptGame> kept_game;
    // The file name of the full game's current background, "" for none.
    String stage_background;
    // The main menu's own text of the slot that offers a kept game, once it was taken.
    std::optional<String> resume_slot_text;
};

FlowState& flow_state();
// Everything back to its start-up value (the game state to NEW_STAGE, as before start-up).
void reset_flow_state();

// The frame of the outer window around the client area.
constexpr int frame_left = 3, frame_right = 3, frame_top = 22, frame_bottom = 3;

// One frame: the current state's work, then the music schedule. False ends the program.
bool run_frame(platform::Window& window);
// The platform counter reading at which run_frame next has work without new input:
// due_now after a frame that changed the state and in the passing states; the score
// drain, a pending removal, the menu border animation and the music otherwise;
// never_due when only input can change anything. A frame run earlier does nothing.
std::int64_t next_frame_due();
// A close request of the window: back towards the main menu, or quit from it.
void on_close(platform::Window& window);

// The next background in the folder's order, drawn and cut into the cells' backdrops
// (black when there is none); returns its name.
String show_next_background(platform::Window& window);
// The background picture of that name in res, drawn and cut into the cells' backdrops.
void show_background(platform::Window& window, const String& name);

// The menu a screen shows, null for the screens without one.
windowmenu* menu_on_screen(std::int32_t game_state);

// Paints the whole screen of the current state.
void redraw_state(platform::Window& window);
// The score at the top right, in red, yellow above 100, green above 300; sighs when
// the score falls to 0 or to 100 and below.
void draw_score_panel(platform::Window& window);
// The "<< Меню" button at the top left of the play screen.
void draw_menu_button(platform::Window& window, platform::Colour colour);

}  // namespace flow
