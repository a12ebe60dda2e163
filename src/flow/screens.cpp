// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The repaint of every screen, the score panel and the menu button.
#include "base/language.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "flow/board_play.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "flow/pictures.h"
#include "graphics/drawing.h"
#include "menu/menu_items.h"
#include "menu/windowmenu.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "scores/score_screen.h"
#include "scores/score_table.h"
#include "sound/effects.h"

namespace flow {

namespace {

constexpr platform::Colour shadow_grey = platform::rgb(128, 128, 128);
constexpr platform::Colour prompt_green = platform::rgb(0, 255, 128);
constexpr platform::Colour rose = platform::rgb(255, 128, 128);
constexpr platform::Colour score_red = platform::rgb(255, 0, 0);
constexpr platform::Colour score_yellow = platform::rgb(255, 255, 0);
constexpr platform::Colour score_green = platform::rgb(0, 255, 0);
constexpr platform::Colour button_green = platform::rgb(0, 255, 0);

const char* const text_face = "Courier New";

// The pause and training menus' offer of a hint.
const char* show_hint_text() {
    return localized("Показать подсказку"_cp1251, "Show a hint");
}

// The font of this screen's texts: text width by cell height - 6.
Font text_font(platform::Window& window) {
    return Font(&window.dc(), flow_state().text_width, rules::rules_state().cell_height - 6,
                text_face);
}

void show_picture(platform::Window& window, const Picture& picture) {
    picture.draw_to_window(window, 0, 0, platform::SRCCOPY);
}

void show_menu_title() {
    platform::desktop().set_window_title(rules::rules_state().title_text.c_str());
}

// A line centred at y in its colour over its grey shadow two pixels lower.
void centred_with_shadow(Font& font, int y, const String& text, platform::Colour colour) {
    font.draw_centered(y + 2, text, shadow_grey, platform::TRANSPARENT);
    font.draw_centered(y, text, colour, platform::TRANSPARENT);
}

void draw_hint_prompt(platform::Window& window) {
    Font font = text_font(window);
    centred_with_shadow(font, 170,
                        localized("Будут показаны два ворпа"_cp1251, "Two vorps will be shown"),
                        prompt_green);
    const String cost = localized("Вы потеряте "_cp1251, "You will lose ") + String() +
                        rules::rules_state().hint_cost + localized(" очков"_cp1251, " points");
    centred_with_shadow(font, 220, cost, prompt_green);
}

// While tiles remain, item 4 offers a hint; once the stage is cleared it is empty and
// the score stands in its place in large rose digits outlined in grey.
void draw_pause_items(platform::Window& window) {
    windowmenu& menu = menu_state().continue_menu;
    if (rules::rules_state().tiles_left > 0) {
        menu.set_item_text(menu_items::pause::hint, show_hint_text());
        return;
    }
    menu.set_item_text(menu_items::pause::hint, "");
    const String text = String() + rules::rules_state().score;
    const int y =
        menu.item_rect(menu_items::pause::hint).top - rules::rules_state().cell_height / 3;
    const int w = rules::rules_state().cell_width, h = rules::rules_state().cell_height;
    Font outline(&window.dc(), 4 + 2 * w, 4 + 2 * h, text_face);
    outline.draw_centered(y, text, shadow_grey, platform::TRANSPARENT);
    Font digits(&window.dc(), 2 * w, 2 * h, text_face);
    digits.draw_centered(y + 2, text, rose, platform::TRANSPARENT);
}

// The main menu's slot for a kept game: "Продолжить игру" while there is one, the
// file's own text otherwise.
void show_resume_item() {
    FlowState& f = flow_state();
    windowmenu& menu = menu_state().main_menu;
    constexpr int slot = menu_items::main::resume;
    if (f.kept_game) {
        if (!f.resume_slot_text) f.resume_slot_text = menu.item_texts[slot];
        menu.set_item_text(slot, localized("Продолжить игру"_cp1251, "Continue game"));
    } else if (f.resume_slot_text) {
        menu.set_item_text(slot, *f.resume_slot_text);
    }
}

}  // namespace

windowmenu* menu_on_screen(std::int32_t game_state) {
    MenuState& menus = menu_state();
    switch (game_state) {
        case MAIN_MENU:
            return &menus.main_menu;
        case PAUSE_MENU:
            return &menus.continue_menu;
        case HINT_PROMPT:
            return &menus.help_menu;
        case CONFIRM_NEW_GAME:
            return &menus.really_menu;
        case TRAINING_RULES:
        case TRAINING_END:
        case SCORE_SCREEN:
            return &menus.back_menu;
        case TRAINING_PLAY:
            return &menus.training_menu;
        default:
            return nullptr;
    }
}

void redraw_state(platform::Window& window) {
    FlowState& f = flow_state();
    MenuState& menus = menu_state();
    ScreenPictures& pictures = screen_pictures();
    // Whatever the frame stood on is painted over.
    forget_cursor_pixels();
    switch (f.game_state) {
        case PLAY:
            draw_board(window);
            draw_score_panel(window);
            draw_menu_button(window, button_green);
            paint_cursor(window);
            show_board_title();
            break;
        case TRAINING_PLAY:
            draw_board(window);
            menus.training_menu.set_item_text(menu_items::training::hint,
                                              rules::rules_state().tiles_left > 0
                                                  ? show_hint_text()
                                                  : localized("Продолжить"_cp1251, "Continue"));
            menus.training_menu.draw(window);
            paint_cursor(window);
            show_board_title();
            break;
        case MAIN_MENU:
            show_picture(window, pictures.menu_picture);
            show_resume_item();
            menus.main_menu.draw(window);
            show_menu_title();
            break;
        case CONFIRM_NEW_GAME:
            show_picture(window, pictures.menu_picture);
            menus.really_menu.draw(window);
            show_menu_title();
            break;
        case TRAINING_RULES:
            show_picture(window, pictures.rules_picture);
            menus.back_menu.draw(window);
            show_menu_title();
            break;
        case TRAINING_END:
            show_picture(window, pictures.rules_end_picture);
            menus.back_menu.draw(window);
            show_menu_title();
            break;
        case HINT_PROMPT:
            show_picture(window, pictures.menu_picture);
            draw_hint_prompt(window);
            menus.help_menu.draw(window);
            show_menu_title();
            break;
        case PAUSE_MENU:
            show_picture(window, pictures.menu_picture);
            draw_pause_items(window);
            menus.continue_menu.draw(window);
            show_menu_title();
            break;
        case SCORE_SCREEN:
            show_picture(window, pictures.score_picture);
            menus.back_menu.draw(window);
            score_table().draw_scores(window.dc(), f.text_width,
                                      rules::rules_state().cell_height - 5);
            show_menu_title();
            break;
        case NAME_ENTRY:
            show_picture(window, pictures.menu_picture);
            draw_name_entry(window, f.player_name, f.text_width, rules::rules_state().cell_height);
            show_menu_title();
            break;
        default:
            break;
    }
}

void draw_score_panel(platform::Window& window) {
    FlowState& f = flow_state();
    Font font = text_font(window);
    const std::int32_t score = rules::rules_state().score;
    const platform::Colour colour = score > 300   ? score_green
                                    : score > 100 ? score_yellow
                                                  : score_red;
    if ((score == 0 && f.panel_score > 0) || (score <= 100 && f.panel_score > 100))
        play_effect(Effect::VZDOH);
    f.panel_score = score;
    for (int column = 8; column < 18; ++column)
        board_pictures().game_backdrop_cells[column][0].draw_to_window(
            window, column * rules::rules_state().cell_width, 0, platform::SRCCOPY);
    const String text = localized("Счет: "_cp1251, "Score: ") + String() + score;
    const int x = f.window_width - (text.length() + 1) * f.text_width;
    draw_text(window, x + 2, 5, text, shadow_grey, platform::TRANSPARENT);
    draw_text(window, x, 3, text, colour, platform::TRANSPARENT);
}

void draw_menu_button(platform::Window& window, platform::Colour colour) {
    const int tw = flow_state().text_width;
    Font font = text_font(window);
    const char* const text = localized("<< Меню"_cp1251, "<< Menu");
    draw_text(window, tw + 2, 5, text, shadow_grey, platform::TRANSPARENT);
    draw_text(window, tw, 3, text, colour, platform::TRANSPARENT);
}

}  // namespace flow
