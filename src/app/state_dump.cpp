// Writing the state dump: a few JSON helpers and the fields in a fixed order.
#include "app/state_dump.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "app/startup.h"
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

// Appends a JSON string of UTF-8 text.
void append_string(std::string& out, std::string_view utf8) {
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

// Appends a JSON string of a Windows-1251 text.
void append_text(std::string& out, std::string_view cp1251) {
    append_string(out, platform::cp1251_to_utf8(cp1251));
}

std::string_view view(const String& s) {
    return {s.c_str(), static_cast<std::size_t>(s.length())};
}

// Writes "key": before each value, with the commas between fields.
class Fields {
  public:
    explicit Fields(std::string& out) : out_(out) {}
    std::string& key(std::string_view name) {
        if (!first_) out_ += ',';
        first_ = false;
        append_string(out_, name);
        out_ += ':';
        return out_;
    }
    void number(std::string_view name, std::int64_t value) { key(name) += std::to_string(value); }
    void boolean(std::string_view name, bool value) { key(name) += value ? "true" : "false"; }
    void text(std::string_view name, std::string_view cp1251) { append_text(key(name), cp1251); }
    void numbers(std::string_view name, std::initializer_list<std::int64_t> values) {
        std::string& out = key(name);
        out += '[';
        bool first = true;
        for (const std::int64_t v : values) {
            if (!first) out += ',';
            first = false;
            out += std::to_string(v);
        }
        out += ']';
    }

  private:
    std::string& out_;
    bool first_ = true;
};

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

void append_menu(std::string& out, windowmenu& menu) {
    out += '[';
    for (std::int32_t i = 1; i <= menu.item_count; ++i) {
        if (i > 1) out += ',';
        append_text(out, view(menu.item_texts[i]));
    }
    out += ']';
}

void append_centres(std::string& out, windowmenu& menu) {
    out += '[';
    for (std::int32_t i = 1; i <= menu.item_count; ++i) {
        if (i > 1) out += ',';
        const Point p = item_centre(menu, i);
        out += '[' + std::to_string(p.x) + ',' + std::to_string(p.y) + ']';
    }
    out += ']';
}

// Every menu by its script name, as the items' texts or as where to click them.
void menus_field(Fields& fields, const char* key, void (*append)(std::string&, windowmenu&)) {
    std::string& out = fields.key(key);
    out += '{';
    bool first = true;
    for (const auto& [name, menu] : named_menus()) {
        if (!first) out += ',';
        first = false;
        append_string(out, name);
        out += ':';
        append(out, *menu);
    }
    out += '}';
}

// The rules' own counters and board; the open pairs are counted on a copy.
void rules_fields(Fields& fields) {
    const rules::RulesState& r = rules::rules_state();
    fields.number("score", r.score);
    fields.number("stage_bonus", r.stage_bonus);
    fields.number("board_mode", r.board_mode);
    fields.number("hint_cost", r.hint_cost);
    fields.number("tiles_left", r.tiles_left);
    fields.number("no_selection", r.no_selection);
    fields.number("removal_pending", r.removal_pending);
    fields.numbers("selected", {r.selected_cell.column, r.selected_cell.row});

    const rules::Board copy = r.board;
    rules::HintPair hint = r.hint_pair;
    rules::PathCorners corners{r.path_corner1, r.path_corner2};
    fields.number("open_pairs", rules::count_open_pairs(copy, hint, corners));

    const rules::HintPair& h = r.hint_pair;
    fields.numbers("hint_pair", {h.first.column, h.first.row, h.second.column, h.second.row});
    fields.numbers("path_corners", {r.path_corner1.column, r.path_corner1.row,
                                    r.path_corner2.column, r.path_corner2.row});
    std::string& board = fields.key("board");
    board += '[';
    for (std::size_t i = 0; i < r.board.cells.size(); ++i) {
        if (i > 0) board += ',';
        board += std::to_string(r.board.cells[i]);
    }
    board += ']';
    fields.numbers("cell", {r.cell_width, r.cell_height});
}

void flow_fields(Fields& fields) {
    const flow::FlowState& f = flow::flow_state();
    const AppState& a = app_state();
    fields.number("training_level", f.training_level);
    fields.text("player_name", view(f.player_name));
    fields.number("first_tick", f.first_tick);
    fields.number("keep_running", f.keep_running);
    fields.number("menu_button_lit", f.menu_button_lit);
    fields.number("panel_score", f.panel_score);
    fields.number("text_width", f.text_width);
    fields.numbers("mouse", {f.input.mouse_x, f.input.mouse_y});
    fields.number("click_count", f.input.click_count);
    fields.text("typed_chars", view(f.input.typed_chars));
    fields.number("last_control_char", f.input.last_control_char);
    fields.number("window_active", f.input.window_active);
    fields.number("activity_count", a.activity_count);
    fields.number("frame_count", static_cast<std::int64_t>(a.frame_count));
    fields.numbers("client", {a.board_pixel_width, a.board_pixel_height});
    fields.numbers("window", {f.window_width, f.window_height});
    fields.numbers("window_position", {a.window_x, a.window_y});
}

void sound_fields(Fields& fields, DumpCursor& cursor) {
    auto& effects = platform::recording_audio().effects;
    std::string& out = fields.key("effects");
    out += '[';
    for (std::size_t i = cursor.effects; i < effects.size(); ++i) {
        if (i > cursor.effects) out += ',';
        append_string(out, effects[i]);
    }
    out += ']';
    // Once reported, the effects are forgotten: a long run must not keep every one.
    effects.clear();
    cursor.effects = 0;

    const MusicSchedule& m = music();
    std::string& players = fields.key("music");
    players += "{\"intro\":";
    append_string(players, music_mode_name(m.intro_music));
    players += ",\"menu\":";
    append_string(players, music_mode_name(m.menu_music));
    players += ",\"bells\":";
    append_string(players, music_mode_name(m.bells));
    players += '}';
}

void score_fields(Fields& fields) {
    const ScoreTable& table = score_table();
    std::string& out = fields.key("scores");
    out += '[';
    for (int i = 0; i < ScoreTable::entry_count; ++i) {
        if (i > 0) out += ',';
        out += '[';
        append_text(out, view(table.score_names[i]));
        out += ',' + std::to_string(table.score_values[i]) + ']';
    }
    out += ']';
    fields.number("score_loaded", table.score_loaded);
}

// Message boxes, fatal errors among them, and opened files since the last dump.
void desktop_fields(Fields& fields, DumpCursor& cursor) {
    const platform::RecordingDesktop& d = platform::recording_desktop();
    const std::string_view fatal_caption = "Фатальная ошибка"_cp1251;
    std::string& fatal = fields.key("fatal");
    fatal += '[';
    bool first = true;
    for (std::size_t i = cursor.boxes; i < d.boxes.size(); ++i) {
        if (d.boxes[i].caption != fatal_caption) continue;
        if (!first) fatal += ',';
        first = false;
        append_text(fatal, d.boxes[i].text);
    }
    fatal += ']';
    std::string& boxes = fields.key("message_boxes");
    boxes += '[';
    first = true;
    for (std::size_t i = cursor.boxes; i < d.boxes.size(); ++i) {
        if (d.boxes[i].caption == fatal_caption) continue;
        if (!first) boxes += ',';
        first = false;
        boxes += "{\"caption\":";
        append_text(boxes, d.boxes[i].caption);
        boxes += ",\"text\":";
        append_text(boxes, d.boxes[i].text);
        boxes += ",\"flags\":" + std::to_string(d.boxes[i].flags) + '}';
    }
    boxes += ']';
    cursor.boxes = d.boxes.size();

    std::string& opened = fields.key("opened");
    opened += '[';
    for (std::size_t i = cursor.opened; i < d.opened.size(); ++i) {
        if (i > cursor.opened) opened += ',';
        append_text(opened, d.opened[i]);
    }
    opened += ']';
    cursor.opened = d.opened.size();

    fields.text("title", d.title);
    fields.boolean("window_title_empty", rules::rules_state().title_text.is_empty());
    fields.boolean("escape", d.escape);
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
    std::string out = "{";
    Fields fields(out);
    const std::int32_t game_state = flow::flow_state().game_state;
    append_string(fields.key("state"), state_name(game_state));
    fields.number("state_number", game_state);
    rules_fields(fields);
    flow_fields(fields);
    sound_fields(fields, cursor);
    score_fields(fields);
    desktop_fields(fields, cursor);
    menus_field(fields, "menus", append_menu);
    menus_field(fields, "item_centres", append_centres);
    fields.number("tick_count", platform::clock().tick_count());
    fields.number("random_state", random_state());
    out += '}';
    return out;
}

}  // namespace app
