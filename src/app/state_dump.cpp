// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the state dump: the fields in a fixed order as one JSON object.
#include "app/state_dump.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "app/startup.h"
#include "base/fatal.h"
#include "base/random.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "flow/flow.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "scores/score_table.h"
#include "sound/effects.h"
#include "sound/music.h"

namespace app {

namespace {

// Members keep the order they are written in.
using Json = nlohmann::ordered_json;

// A Windows-1251 text as the UTF-8 the dump gives.
std::string text(std::string_view cp1251) {
    return platform::cp1251_to_utf8(cp1251);
}
std::string text(const String& s) {
    return text(std::string_view(s.c_str(), static_cast<std::size_t>(s.length())));
}

const char* music_mode_name(const SoundPlayer& player) {
    if (!player.is_open()) return "closed";
    switch (player.mode()) {
        case platform::PlayerMode::stopped:
            return "stopped";
        case platform::PlayerMode::playing:
            return "playing";
        case platform::PlayerMode::paused:
            return "paused";
    }
    return "stopped";
}

// Every menu by its script name: the items' texts, and where to click them.
void menu_fields(Json& dump) {
    Json texts = Json::object(), centres = Json::object();
    for (const auto& [name, menu] : named_menus()) {
        Json& menu_texts = texts[std::string(name)] = Json::array();
        Json& menu_centres = centres[std::string(name)] = Json::array();
        for (std::int32_t i = 1; i <= menu->item_count; ++i) {
            menu_texts.push_back(text(menu->item_texts[i]));
            const Point p = item_centre(*menu, i);
            menu_centres.push_back({p.x, p.y});
        }
    }
    dump["menus"] = std::move(texts);
    dump["item_centres"] = std::move(centres);
}

// The rules' own counters and board; the open pairs are counted on a copy.
void rules_fields(Json& dump) {
    const rules::RulesState& r = rules::rules_state();
    dump["score"] = r.score;
    dump["stage_bonus"] = r.stage_bonus;
    dump["board_mode"] = r.board_mode;
    dump["hint_cost"] = r.hint_cost;
    dump["tiles_left"] = r.tiles_left;
    dump["no_selection"] = r.no_selection;
    dump["removal_pending"] = r.removal_pending;
    dump["selected"] = {r.selected_cell.column, r.selected_cell.row};

    const rules::Board copy = r.board;
    rules::HintPair hint = r.hint_pair;
    rules::PathCorners corners{r.path_corner1, r.path_corner2};
    dump["open_pairs"] = rules::count_open_pairs(copy, hint, corners);

    const rules::HintPair& h = r.hint_pair;
    dump["hint_pair"] = {h.first.column, h.first.row, h.second.column, h.second.row};
    dump["path_corners"] = {r.path_corner1.column, r.path_corner1.row, r.path_corner2.column,
                            r.path_corner2.row};
    dump["board"] = r.board.cells;
    dump["cell"] = {r.cell_width, r.cell_height};
}

void flow_fields(Json& dump) {
    const flow::FlowState& f = flow::flow_state();
    const AppState& a = app_state();
    dump["training_level"] = f.training_level;
    dump["player_name"] = text(f.player_name);
    dump["saved_game"] = f.kept_game.has_value();
    dump["first_tick"] = f.first_tick;
    dump["keep_running"] = f.keep_running;
    dump["menu_button_lit"] = f.menu_button_lit;
    dump["panel_score"] = f.panel_score;
    dump["text_width"] = f.text_width;
    dump["mouse"] = {f.input.mouse_x, f.input.mouse_y};
    dump["click_count"] = f.input.click_count;
    dump["typed_chars"] = text(f.input.typed_chars);
    dump["last_control_char"] = f.input.last_control_char;
    dump["window_active"] = f.input.window_active;
    dump["cursor"] = f.cursor.visible != 0 ? Json::array({f.cursor.column, f.cursor.row}) : Json();
    const windowmenu* menu = flow::menu_on_screen(f.game_state);
    dump["highlight"] =
        menu != nullptr && menu->hovered_item != 0 ? Json(menu->hovered_item) : Json();
    dump["muted"] = music().muted;
    dump["activity_count"] = a.activity_count;
    dump["frame_count"] = a.frame_count;
    dump["client"] = {a.board_pixel_width, a.board_pixel_height};
    dump["window"] = {f.window_width, f.window_height};
    dump["window_position"] = {a.window_x, a.window_y};
}

void sound_fields(Json& dump, DumpCursor& cursor) {
    auto& effects = platform::recording_audio().effects;
    Json& reported = dump["effects"] = Json::array();
    for (std::size_t i = cursor.effects; i < effects.size(); ++i)
        reported.push_back(effects[i]);
    // Once reported, the effects are forgotten: a long run must not keep every one.
    effects.clear();
    cursor.effects = 0;

    const MusicSchedule& m = music();
    dump["music"] = {{"intro", music_mode_name(m.intro_music)},
                     {"menu", music_mode_name(m.menu_music)},
                     {"bells", music_mode_name(m.bells)}};
}

void score_fields(Json& dump) {
    const ScoreTable& table = score_table();
    Json& scores = dump["scores"] = Json::array();
    for (int i = 0; i < ScoreTable::entry_count; ++i)
        scores.push_back(Json::array({text(table.score_names[i]), table.score_values[i]}));
    dump["score_loaded"] = table.score_loaded;
}

// Message boxes, fatal errors among them, and opened files since the last dump.
void desktop_fields(Json& dump, DumpCursor& cursor) {
    const platform::RecordingDesktop& d = platform::recording_desktop();
    const std::string_view fatal_caption = fatal_error_caption();
    Json& fatal = dump["fatal"] = Json::array();
    Json& boxes = dump["message_boxes"] = Json::array();
    for (std::size_t i = cursor.boxes; i < d.boxes.size(); ++i) {
        const platform::RecordingDesktop::Box& box = d.boxes[i];
        if (box.caption == fatal_caption) {
            fatal.push_back(text(box.text));
        } else {
            boxes.push_back(
                {{"caption", text(box.caption)}, {"text", text(box.text)}, {"flags", box.flags}});
        }
    }
    cursor.boxes = d.boxes.size();

    Json& opened = dump["opened"] = Json::array();
    for (std::size_t i = cursor.opened; i < d.opened.size(); ++i)
        opened.push_back(text(d.opened[i]));
    cursor.opened = d.opened.size();

    dump["title"] = text(d.title);
    dump["full_screen"] = d.full_screen;
    dump["window_title_empty"] = rules::rules_state().title_text.is_empty();
    dump["escape"] = d.escape;
}

}  // namespace

std::array<NamedMenu, 6> named_menus() {
    MenuState& menus = menu_state();
    return {{{"main", &menus.main_menu},
             {"continue", &menus.continue_menu},
             {"help", &menus.help_menu},
             {"back", &menus.back_menu},
             {"training", &menus.training_menu},
             {"really", &menus.really_menu}}};
}

Point item_centre(windowmenu& menu, std::int32_t index) {
    const windowmenu::Rect r = menu.item_rect(index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string state_name(int game_state) {
    switch (game_state) {
        case NEW_STAGE:
            return "NEW_STAGE";
        case PLAY:
            return "PLAY";
        case TRAINING_NEXT:
            return "TRAINING_NEXT";
        case TRAINING_PLAY:
            return "TRAINING_PLAY";
        case MAIN_MENU:
            return "MAIN_MENU";
        case TRAINING_RULES:
            return "TRAINING_RULES";
        case TRAINING_END:
            return "TRAINING_END";
        case HINT_PROMPT:
            return "HINT_PROMPT";
        case PAUSE_MENU:
            return "PAUSE_MENU";
        case CONFIRM_NEW_GAME:
            return "CONFIRM_NEW_GAME";
        case SCORE_SCREEN:
            return "SCORE_SCREEN";
        case NAME_ENTRY:
            return "NAME_ENTRY";
        case QUIT:
            return "QUIT";
        default:
            return std::to_string(game_state);
    }
}

std::string state_json(DumpCursor& cursor) {
    Json dump = Json::object();
    const std::int32_t game_state = flow::flow_state().game_state;
    dump["state"] = state_name(game_state);
    dump["state_number"] = game_state;
    rules_fields(dump);
    flow_fields(dump);
    sound_fields(dump, cursor);
    score_fields(dump);
    desktop_fields(dump, cursor);
    menu_fields(dump);
    dump["tick_count"] = platform::clock().tick_count();
    dump["random_state"] = random_state();
    // Every text is UTF-8 made from Windows-1251, so nothing is ever replaced.
    return dump.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace app
