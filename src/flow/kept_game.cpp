// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game file: written whole through the safe replacement the score file uses, read
// strictly, and taken only when every value fits a game the rules could have made.
#include "flow/kept_game.h"

#include <array>
#include <charconv>
#include <vector>

#include "base/paths.h"
#include "board/open_pairs.h"
#include "board/selection.h"
#include "board/stage.h"
#include "flow/board_cursor.h"
#include "flow/flow.h"
#include "platform/files.h"

namespace flow {

namespace {

constexpr std::string_view heading = "vorpy kept game 1";
// Far more than the file ever holds: anything larger is not a game file.
constexpr std::size_t max_file_bytes = 4096;
constexpr const char* background_pattern = "res\\*.back";

// The lines of text, each closed by a line feed; nothing when the last one is not.
std::optional<std::vector<std::string_view>> lines_of(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// A decimal integer in [min, max], written as kept_game_bytes writes it.
std::optional<std::int32_t> number(std::string_view text, std::int32_t min, std::int32_t max) {
    std::int32_t value = 0;
    if (text.empty() || text[0] == '+') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

// The value of the line "key value".
std::optional<std::string_view> value_of(std::string_view line, std::string_view key) {
    if (line.size() < key.size() + 1 || line.substr(0, key.size()) != key ||
        line[key.size()] != ' ')
        return std::nullopt;
    return line.substr(key.size() + 1);
}

std::optional<std::int32_t> field(std::string_view line, std::string_view key, std::int32_t min,
                                  std::int32_t max) {
    const std::optional<std::string_view> value = value_of(line, key);
    if (!value) return std::nullopt;
    return number(*value, min, max);
}

// A name the game could have found in its res folder: no folder part, no control bytes.
bool bare_file_name(std::string_view name) {
    if (name.size() > max_background_name_bytes || name == "." || name == "..") return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') return false;
    }
    return true;
}

// One row of the board: 18 cells separated by single spaces.
bool read_row(std::string_view line, int row, rules::Board& board) {
    for (int column = 0; column < rules::board_columns; ++column) {
        const std::size_t gap = line.find(' ');
        const bool last = column == rules::board_columns - 1;
        if (last != (gap == std::string_view::npos)) return false;
        const std::optional<std::int32_t> cell =
            number(line.substr(0, gap), rules::empty_cell, rules::tile_kinds - 1);
        if (!cell) return false;
        board.at(column, row) = *cell;
        if (!last) line.remove_prefix(gap + 1);
    }
    return true;
}

// Whether the board could come from the deals and removals: the ring empty, every kind
// an even number of times and at most four, tiles_left tiles in all.
bool board_holds_up(const KeptGame& game) {
    std::array<int, rules::tile_kinds> copies{};
    std::int32_t tiles = 0;
    for (int x = 0; x < rules::board_columns; ++x)
        for (int y = 0; y < rules::board_rows; ++y) {
            const std::int32_t kind = game.board.at(x, y);
            if (kind == rules::empty_cell) continue;
            if (rules::in_ring(x, y)) return false;
            ++copies[static_cast<std::size_t>(kind)];
            ++tiles;
        }
    for (const int n : copies)
        if (n % 2 != 0 || n > rules::copies_per_kind) return false;
    return tiles == game.tiles_left && (game.stage_cleared == 1) == (tiles == 0);
}

// Where the game file is written and read: the player's own, never an installed one.
std::string game_file_path() {
    return platform::writable_path(kept_game_file);
}

}  // namespace

std::string kept_game_bytes(const KeptGame& game) {
    std::string bytes(heading);
    bytes += '\n';
    const std::pair<const char*, std::int32_t> fields[] = {{"score", game.score},
                                                           {"stage_bonus", game.stage_bonus},
                                                           {"board_mode", game.board_mode},
                                                           {"tiles_left", game.tiles_left},
                                                           {"stage_cleared", game.stage_cleared}};
    for (const auto& [key, value] : fields)
        bytes += std::string(key) + " " + std::to_string(value) + "\n";
    bytes += "background " + game.background + "\n";
    for (int y = 0; y < rules::board_rows; ++y) {
        for (int x = 0; x < rules::board_columns; ++x) {
            if (x > 0) bytes += ' ';
            bytes += std::to_string(game.board.at(x, y));
        }
        bytes += '\n';
    }
    return bytes;
}

std::optional<KeptGame> parse_kept_game(std::string_view bytes) {
    if (bytes.size() > max_file_bytes) return std::nullopt;
    const std::optional<std::vector<std::string_view>> lines = lines_of(bytes);
    constexpr std::size_t head_lines = 7;
    if (!lines || lines->size() != head_lines + rules::board_rows || (*lines)[0] != heading)
        return std::nullopt;
    const auto score = field((*lines)[1], "score", 0, max_kept_score);
    const auto bonus = field((*lines)[2], "stage_bonus", 100, 300);
    const auto mode = field((*lines)[3], "board_mode", 1, 9);
    const auto tiles = field((*lines)[4], "tiles_left", 0, rules::full_deal_tiles);
    const auto cleared = field((*lines)[5], "stage_cleared", 0, 1);
    const auto background = value_of((*lines)[6], "background");
    if (!score || !bonus || *bonus % 50 != 0 || !mode || !tiles || !cleared || !background ||
        !bare_file_name(*background))
        return std::nullopt;
    KeptGame game{.board = rules::Board{},
                  .tiles_left = *tiles,
                  .score = *score,
                  .stage_bonus = *bonus,
                  .board_mode = *mode,
                  .background = std::string(*background),
                  .stage_cleared = *cleared};
    game.board.clear();
    for (int y = 0; y < rules::board_rows; ++y)
        if (!read_row((*lines)[head_lines + static_cast<std::size_t>(y)], y, game.board))
            return std::nullopt;
    if (!board_holds_up(game)) return std::nullopt;
    return game;
}

void load_kept_game() {
    FlowState& f = flow_state();
    f.kept_game.reset();
    const std::string path = game_file_path();
    if (path.empty()) return;
    platform::remove_stale_new_files(path);
    const std::optional<std::string> text = platform::read_text_file(path, max_file_bytes);
    if (text) f.kept_game = parse_kept_game(*text);
}

void keep_game() {
    FlowState& f = flow_state();
    rules::RulesState& r = rules::rules_state();
    // The pair already taken off the board is counted, shifted and scored.
    if (r.removal_pending != 0) {
        rules::finish_removal(true);
        if (rules::reshuffle_due()) rules::reshuffle_board(true);
        if (r.tiles_left <= 0) rules::clear_stage();
    }
    // A name no file of res could have is no background to find again.
    std::string background = f.stage_background.c_str();
    if (!bare_file_name(background)) background.clear();
    KeptGame game{.board = r.board,
                  .tiles_left = r.tiles_left,
                  .score = r.score,
                  .stage_bonus = r.stage_bonus,
                  .board_mode = r.board_mode,
                  .background = std::move(background),
                  .stage_cleared = r.tiles_left <= 0 ? 1 : 0};
    // A game the file could not give back is not one to offer either.
    const std::string bytes = kept_game_bytes(game);
    if (!parse_kept_game(bytes)) return;
    // Should the file not be written, the game is still offered until the program ends.
    platform::replace_file(game_file_path(), bytes);
    f.kept_game = std::move(game);
}

void keep_game_at_exit() {
    switch (flow_state().game_state) {
        case PLAY:
        case HINT_PROMPT:
        case PAUSE_MENU:
            keep_game();
            break;
        case NEW_STAGE:
            // Between a cleared stage and the next; before the first stage of a new game
            // there is nothing to keep.
            if (rules::rules_state().board_mode >= 1) keep_game();
            break;
        default:
            break;
    }
}

void drop_kept_game() {
    FlowState& f = flow_state();
    if (!f.kept_game) return;
    f.kept_game.reset();
    platform::remove_file(game_file_path());
}

void resume_kept_game(platform::Window& window) {
    FlowState& f = flow_state();
    if (!f.kept_game) return;
    const KeptGame game = *f.kept_game;
    rules::RulesState& r = rules::rules_state();
    rules::place_board(game.board);
    r.score = game.score;
    r.stage_bonus = game.stage_bonus;
    r.board_mode = game.board_mode;
    f.player_name = "";
    // The stages go on in the background order from the kept one; one that is gone
    // leaves the normal order, which gives a board in play the next background.
    const String name(game.background.c_str());
    if (!game.background.empty() && continue_backgrounds_after(background_pattern, name)) {
        show_background(window, name);
        f.stage_background = name;
    } else if (r.tiles_left > 0) {
        f.stage_background = show_next_background(window);
    } else {
        f.stage_background = "";
    }
    // The board of a file from elsewhere may have no open pair: it goes on as play would.
    if (rules::reshuffle_due()) rules::reshuffle_board(true);
    reset_cursor();
    f.second_timer->restart();
    f.first_tick = 1;
    f.game_state = PAUSE_MENU;
    redraw_state(window);
}

}  // namespace flow
