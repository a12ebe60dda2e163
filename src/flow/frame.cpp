// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The frame function: each game state's work for one frame, the transitions
// between states, the close request, and the music schedule as the shared tail.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "base/language.h"
#include "base/paths.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "board/stage.h"
#include "flow/board_play.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "flow/pictures.h"
#include "menu/menu_items.h"
#include "menu/windowmenu.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "scores/score_screen.h"
#include "scores/score_table.h"
#include "sound/music.h"

namespace flow {

FlowState& flow_state() {
    static FlowState state;
    return state;
}

void reset_flow_state() {
    flow_state() = FlowState();
}

namespace {

// The back menu's button says "Назад" but on the first and last screens of training.
void restore_back_button() {
    menu_state().back_menu.set_item_text(menu_items::back::button,
                                         localized("Назад"_cp1251, "Back"));
}

// The score drains by a point a second.
constexpr std::int64_t second_us = 1'000'000;

// A click is taken once per frame however many presses came since the last one.
bool take_click(Input& input) {
    if (input.click_count == 0) return false;
    input.click_count = 0;
    return true;
}

bool is_arrow(std::uint32_t key) {
    return key == platform::VK_UP || key == platform::VK_DOWN || key == platform::VK_LEFT ||
           key == platform::VK_RIGHT;
}

// Enter (also the keypad's) and Space choose as a click does.
bool is_choice(std::uint32_t key) {
    return key == platform::VK_RETURN || key == platform::VK_SPACE;
}

// The item lit on a menu screen, and the one a click or a choosing key acts on: the
// item under the mouse, or the keyboard's once Up or Down moved the highlight last.
// Up and Down step through `choices`, the items that do something, stopping at the ends.
std::int32_t lit_item(platform::Window& window, windowmenu& menu, std::uint32_t key,
                      std::initializer_list<int> choices) {
    FlowState& f = flow_state();
    if (key == platform::VK_UP || key == platform::VK_DOWN) {
        f.keys_lead = 1;
        const int* const first = choices.begin();
        const int* const last = choices.end() - 1;
        const int* at = first;
        while (at <= last && *at != menu.hovered_item)
            ++at;
        if (at > last)
            at = key == platform::VK_DOWN ? first : last;
        else if (key == platform::VK_DOWN && at < last)
            ++at;
        else if (key == platform::VK_UP && at > first)
            --at;
        return menu.light_item(window, *at);
    }
    if (f.keys_lead != 0) return menu.light_item(window, menu.hovered_item);
    return menu.hover(window, f.input.mouse_x, f.input.mouse_y);
}

// A click, or a choosing key, since the last frame.
bool take_choice(Input& input, std::uint32_t key) {
    return take_click(input) || is_choice(key);
}

// The board's keys: arrows steer the cursor, Enter and Space click its cell.
void board_keys(platform::Window& window, std::uint32_t key) {
    const BoardCursor& cursor = flow_state().cursor;
    if (is_arrow(key)) {
        steer_cursor(window, key);
    } else if (is_choice(key) && cursor.visible != 0) {
        click_board_cell(window, cursor.column, cursor.row);
    }
}

bool escape_down() {
    return platform::desktop().escape_down();
}

// Whether the mouse is over the "<< Меню" button: the first five cells of row 0.
bool in_menu_button_zone(const Input& input) {
    const rules::RulesState& r = rules::rules_state();
    return input.mouse_x < 5 * r.cell_width && input.mouse_y < r.cell_height;
}

// The board cell under the mouse. Without an atlas there are no cells at all: the
// click goes nowhere instead of dividing by zero.
void click_cell_under_mouse(platform::Window& window, const Input& input) {
    const rules::RulesState& r = rules::rules_state();
    if (r.cell_width <= 0 || r.cell_height <= 0) return;
    click_board_cell(window, input.mouse_x / r.cell_width, input.mouse_y / r.cell_height);
}

void new_stage(platform::Window& window) {
    FlowState& f = flow_state();
    f.player_name = "";
    rules::begin_stage();
    f.stage_background = show_next_background(window);
    rules::deal_stage_board();
    reset_cursor();
    f.second_timer->restart();
    f.first_tick = 1;
    f.game_state = PLAY;
    redraw_state(window);
    show_board_title();
}

void play(platform::Window& window, std::uint32_t key) {
    FlowState& f = flow_state();
    Input& in = f.input;
    if (f.second_timer->elapsed_us() >= second_us || f.first_tick == 1) {
        f.first_tick = 0;
        rules::charge_time(f.second_timer->elapsed_us() / second_us);
        f.second_timer->restart();
        draw_score_panel(window);
    }
    if (escape_down()) {
        f.game_state = PAUSE_MENU;
        redraw_state(window);
    }
    const bool in_zone = in_menu_button_zone(in);
    if (in_zone && f.menu_button_lit == 0) {
        draw_menu_button(window, platform::rgb(255, 255, 255));
        f.menu_button_lit = 1;
    } else if (!in_zone && f.menu_button_lit == 1) {
        draw_menu_button(window, platform::rgb(0, 255, 0));
        f.menu_button_lit = 0;
    }
    if (take_click(in)) {
        if (in_zone) {
            f.game_state = PAUSE_MENU;
            redraw_state(window);
            return;
        }
        click_cell_under_mouse(window, in);
    }
    if (f.game_state == PLAY) {
        board_keys(window, key);
        // H asks for a hint as the pause menu's item does: the prompt still asks first.
        if (key == platform::VK_H && rules::rules_state().tiles_left > 0) {
            f.game_state = HINT_PROMPT;
            redraw_state(window);
            return;
        }
    }
    if (rules::removal_due()) finish_board_removal(window, true);
    if (rules::rules_state().tiles_left <= 0) {
        rules::clear_stage();
        f.game_state = PAUSE_MENU;
        redraw_state(window);
    }
}

void training_next(platform::Window& window) {
    FlowState& f = flow_state();
    windowmenu& back = menu_state().back_menu;
    if (f.training_level < 0) {
        f.game_state = TRAINING_RULES;
        back.set_item_text(menu_items::back::button,
                           localized("Начать тренировку"_cp1251, "Start training"));
        redraw_state(window);
        return;
    }
    f.training_level += 1;
    if (f.training_level > 3) {
        f.game_state = TRAINING_END;
        back.set_item_text(menu_items::back::button, localized("Дальше"_cp1251, "Next"));
        redraw_state(window);
        return;
    }
    show_next_background(window);
    rules::deal_training_exercise(f.training_level);
    reset_cursor();
    f.game_state = TRAINING_PLAY;
    redraw_state(window);
    show_board_title();
}

// Ends training from its play screen: the next frame leaves for the end screen.
void end_training(FlowState& f) {
    f.game_state = TRAINING_NEXT;
    f.training_level = 10;
}

void training_play(platform::Window& window, std::uint32_t key) {
    FlowState& f = flow_state();
    Input& in = f.input;
    if (rules::rules_state().tiles_left <= 0 && f.training_level >= 3) {
        f.game_state = TRAINING_NEXT;
        return;
    }
    std::int32_t item = menu_state().training_menu.hover(window, in.mouse_x, in.mouse_y);
    bool chosen = take_click(in);
    if (chosen) {
        // A click on a menu item also reaches the cell beneath it.
        click_cell_under_mouse(window, in);
    } else {
        board_keys(window, key);
        // H is the menu's hint item; on a cleared board Enter and Space go on as it does.
        const bool cleared = rules::rules_state().tiles_left <= 0;
        if (key == platform::VK_H || (cleared && is_choice(key))) {
            item = menu_items::training::hint;
            chosen = true;
        }
    }
    if (chosen) {
        if (item == menu_items::training::hint) {
            if (rules::rules_state().tiles_left <= 0)
                f.game_state = TRAINING_NEXT;
            else
                show_hint(window);
        } else if (item == menu_items::training::end) {
            end_training(f);
        }
    }
    // Escape leaves training the way the menu's last item does: the pause menu belongs
    // to the full game and would let a training board go on as a scored stage.
    if (escape_down()) end_training(f);
    if (rules::removal_due()) finish_board_removal(window, false);
}

void start_new_game(FlowState& f) {
    f.game_state = NEW_STAGE;
    rules::begin_new_game();
}

void main_menu(platform::Window& window, std::uint32_t key) {
    namespace items = menu_items::main;
    FlowState& f = flow_state();
    Input& in = f.input;
    animate_menu_border(window);
    const bool kept = f.kept_game.has_value();
    windowmenu& menu = menu_state().main_menu;
    const std::int32_t item =
        kept ? lit_item(
                   window, menu, key,
                   {items::new_game, items::training, items::scores, items::quit, items::resume})
             : lit_item(window, menu, key,
                        {items::new_game, items::training, items::scores, items::quit});
    if (!take_choice(in, key)) return;
    switch (item) {
        case menu_items::main::new_game:
            // A new game would replace the kept one: the player is asked first.
            if (kept) {
                f.game_state = CONFIRM_NEW_GAME;
                redraw_state(window);
            } else {
                start_new_game(f);
            }
            break;
        case menu_items::main::resume:
            if (kept) resume_kept_game(window);
            break;
        case menu_items::main::training:
            f.game_state = TRAINING_NEXT;
            f.training_level = -1;
            break;
        case menu_items::main::scores:
            f.game_state = SCORE_SCREEN;
            redraw_state(window);
            break;
        case menu_items::main::quit:
            f.game_state = QUIT;
            break;
        default:
            break;
    }
}

// "Вы уверены?" before a new game replaces the kept one: yes drops it and starts the
// new game, no goes back to the main menu.
void confirm_new_game(platform::Window& window, std::uint32_t key) {
    namespace items = menu_items::really;
    FlowState& f = flow_state();
    animate_menu_border(window);
    const std::int32_t item =
        lit_item(window, menu_state().really_menu, key, {items::yes, items::no});
    if (!take_choice(f.input, key)) return;
    if (item == items::yes) {
        drop_kept_game();
        start_new_game(f);
    } else if (item == items::no) {
        f.game_state = MAIN_MENU;
        redraw_state(window);
    }
}

// The rules, training end and score screens: their one item, and any click or choosing
// key leaves.
bool back_screen_left(platform::Window& window, std::uint32_t key) {
    lit_item(window, menu_state().back_menu, key, {menu_items::back::button});
    return take_choice(flow_state().input, key);
}

void training_rules(platform::Window& window, std::uint32_t key) {
    FlowState& f = flow_state();
    if (!back_screen_left(window, key)) return;
    f.game_state = TRAINING_NEXT;
    f.training_level += 1;
    restore_back_button();
}

void training_end(platform::Window& window, std::uint32_t key) {
    FlowState& f = flow_state();
    if (!back_screen_left(window, key)) return;
    restore_back_button();
    f.game_state = MAIN_MENU;
    redraw_state(window);
}

void hint_prompt(platform::Window& window, std::uint32_t key) {
    namespace items = menu_items::hint;
    FlowState& f = flow_state();
    std::int32_t& no_selection = rules::rules_state().no_selection;
    if (no_selection == 0) no_selection = 1;
    animate_menu_border(window);
    const std::int32_t item =
        lit_item(window, menu_state().help_menu, key, {items::show, items::decline});
    if (take_choice(f.input, key)) {
        if (item == menu_items::hint::show) {
            f.game_state = PLAY;
            redraw_state(window);
            show_hint(window);
            rules::charge_hint();
        } else if (item == menu_items::hint::decline) {
            f.game_state = PLAY;
            redraw_state(window);
        }
    }
    f.second_timer->restart();
}

void pause_menu(platform::Window& window, std::uint32_t key) {
    namespace items = menu_items::pause;
    FlowState& f = flow_state();
    const rules::RulesState& r = rules::rules_state();
    animate_menu_border(window);
    // Once the stage is cleared the hint item does nothing: the keys pass it by.
    const std::int32_t item =
        r.tiles_left > 0
            ? lit_item(window, menu_state().continue_menu, key,
                       {items::resume, items::hint, items::end_game})
            : lit_item(window, menu_state().continue_menu, key, {items::resume, items::end_game});
    if (take_choice(f.input, key)) {
        if (item == menu_items::pause::resume) {
            f.game_state = r.tiles_left > 0 ? PLAY : NEW_STAGE;
        } else if (item == menu_items::pause::hint) {
            if (r.tiles_left > 0) f.game_state = HINT_PROMPT;
        } else if (item == menu_items::pause::end_game) {
            drop_kept_game();
            if (r.score > score_table().lowest_score()) {
                f.game_state = NAME_ENTRY;
                f.input.typed_chars = "";
                f.input.last_control_char = 0;
            } else {
                f.game_state = MAIN_MENU;
            }
        }
        redraw_state(window);
    }
    f.second_timer->restart();
}

void score_screen(platform::Window& window, std::uint32_t key) {
    FlowState& f = flow_state();
    const bool left = back_screen_left(window, key);
    animate_menu_border(window);
    if (!left) return;
    f.game_state = MAIN_MENU;
    redraw_state(window);
}

void name_entry(platform::Window& window) {
    FlowState& f = flow_state();
    Input& in = f.input;
    const bool entered =
        run_name_entry(f.player_name, in.typed_chars, in.last_control_char,
                       rules::rules_state().score, [&window] { redraw_state(window); });
    if (!entered) return;
    in.click_count = 0;  // a click made while typing must not leave the score screen at once
    f.game_state = SCORE_SCREEN;
    redraw_state(window);
}

}  // namespace

String show_next_background(platform::Window& window) {
    String name = next_background("");
    if (name.is_empty()) {
        next_background("res\\*.back");
        name = next_background("");
    }
    show_background(window, name);
    return name;
}

void show_background(platform::Window& window, const String& name) {
    FlowState& f = flow_state();
    Picture& backdrop = screen_pictures().backdrop_picture;
    backdrop.load("res\\" + name);
    if (backdrop.is_empty()) {
        platform::fill_rect(window.dc(), 0, 0, f.window_width, f.window_height, 0);
    } else {
        backdrop.draw_to_window(window, 0, 0, platform::SRCCOPY);
    }
    capture_cells_under(window, backdrop, board_pictures().game_backdrop_cells);
}

bool run_frame(platform::Window& window) {
    FlowState& f = flow_state();
    if (!f.second_timer) f.second_timer.emplace();
    f.frame_start_state = f.game_state;
    const std::uint32_t key = std::exchange(f.input.key_pressed, 0);
    if (std::exchange(f.input.mouse_moved, 0) != 0) {
        f.keys_lead = 0;
        hide_cursor(window);
    }
    // M silences the game and brings it back; in name entry it is a letter.
    if (key == platform::VK_M && f.game_state != NAME_ENTRY) toggle_mute();
    switch (f.game_state) {
        case NEW_STAGE:
            new_stage(window);
            break;
        case PLAY:
            play(window, key);
            break;
        case TRAINING_NEXT:
            training_next(window);
            break;
        case TRAINING_PLAY:
            training_play(window, key);
            break;
        case MAIN_MENU:
            main_menu(window, key);
            break;
        case CONFIRM_NEW_GAME:
            confirm_new_game(window, key);
            break;
        case TRAINING_RULES:
            training_rules(window, key);
            break;
        case TRAINING_END:
            training_end(window, key);
            break;
        case HINT_PROMPT:
            hint_prompt(window, key);
            break;
        case PAUSE_MENU:
            pause_menu(window, key);
            break;
        case SCORE_SCREEN:
            score_screen(window, key);
            break;
        case NAME_ENTRY:
            name_entry(window);
            break;
        case QUIT:
            f.keep_running = 0;
            break;
        default:
            break;
    }
    update_music(f.game_state, f.input.window_active != 0);
    return f.keep_running != 0;
}

namespace {
// When the current state's own work is next due, the music aside.
std::int64_t state_due_at(const FlowState& f) {
    const std::int32_t tiles_left = rules::rules_state().tiles_left;
    switch (f.game_state) {
        case PLAY:
            if (f.first_tick == 1 || tiles_left <= 0) return due_now;
            return std::min(f.second_timer->due_at(second_us, true), rules::removal_due_at());
        case TRAINING_PLAY:
            if (tiles_left <= 0 && f.training_level >= 3) return due_now;
            return rules::removal_due_at();
        case MAIN_MENU:
        case CONFIRM_NEW_GAME:
        case HINT_PROMPT:
        case PAUSE_MENU:
        case SCORE_SCREEN:
            return menu_animation_due_at();
        case TRAINING_RULES:
        case TRAINING_END:
        case NAME_ENTRY:
            return never_due;
        default:  // the passing states and QUIT act on their first frame
            return due_now;
    }
}
}  // namespace

std::int64_t next_frame_due() {
    const FlowState& f = flow_state();
    // A state entered during the last frame has not done its first frame's work yet.
    if (!f.second_timer || f.game_state != f.frame_start_state) return due_now;
    return std::min(state_due_at(f), music_due_at(f.game_state));
}

void on_close(platform::Window& window) {
    FlowState& f = flow_state();
    switch (f.game_state) {
        case PLAY:
        case HINT_PROMPT:
            f.game_state = PAUSE_MENU;
            break;
        case TRAINING_PLAY:
        case TRAINING_RULES:
        case TRAINING_END:
            restore_back_button();
            f.game_state = MAIN_MENU;
            break;
        case PAUSE_MENU:
            // The game is set aside for the main menu to offer, not dropped.
            keep_game();
            f.game_state = MAIN_MENU;
            break;
        case SCORE_SCREEN:
        case CONFIRM_NEW_GAME:
            f.game_state = MAIN_MENU;
            break;
        case MAIN_MENU:
            platform::post_quit_message(0);
            break;
        default:
            break;
    }
    redraw_state(window);
}

}  // namespace flow
