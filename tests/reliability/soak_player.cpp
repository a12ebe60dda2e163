// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The soak player: one script step at a time through the live game, each answered by a
// dump that the next decision is taken from.
#include "reliability/soak_player.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <sstream>
#include <vector>

namespace soak {

namespace {

constexpr int columns = 18;
constexpr int rows = 11;
constexpr int kinds = 36;

std::int64_t cell_at(const std::vector<std::int64_t>& board, std::int64_t column,
                     std::int64_t row) {
    if (column < 0 || column >= columns || row < 0 || row >= rows) return -2;
    return board[static_cast<std::size_t>(column * rows + row)];
}

std::string cell_text(std::int64_t column, std::int64_t row) {
    return "(" + std::to_string(column) + "," + std::to_string(row) + ")";
}

std::string click_cell(std::int64_t column, std::int64_t row) {
    return "click_cell " + std::to_string(column) + " " + std::to_string(row) + "\nframes 1\n";
}

// Names that the score table takes: at most 13 typed characters, no spaces; the
// Cyrillic ones go through the code page.
const char* const player_names[] = {"Soak", "Игрок", "ДлинноеИмяИгр", "p1"};

}  // namespace

testing::AssertionResult board_invariants(const Value& dump) {
    const std::vector<std::int64_t> board = dump["board"].numbers();
    if (board.size() != static_cast<std::size_t>(columns * rows))
        return testing::AssertionFailure() << "the board has " << board.size() << " cells";
    std::array<int, kinds> copies{};
    std::int64_t occupied = 0;
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const std::int64_t kind = cell_at(board, column, row);
            if (kind < -1 || kind >= kinds)
                return testing::AssertionFailure()
                       << "cell " << cell_text(column, row) << " holds " << kind;
            if (kind < 0) continue;
            const bool ring = column == 0 || column == columns - 1 || row == 0 || row == rows - 1;
            if (ring)
                return testing::AssertionFailure()
                       << "ring cell " << cell_text(column, row) << " holds kind " << kind;
            ++occupied;
            ++copies[static_cast<std::size_t>(kind)];
        }
    }
    const std::int64_t tiles_left = dump["tiles_left"].num();
    if (tiles_left != occupied)
        return testing::AssertionFailure()
               << "tiles_left is " << tiles_left << " but " << occupied << " cells hold tiles";
    for (int kind = 0; kind < kinds; ++kind) {
        const int n = copies[static_cast<std::size_t>(kind)];
        if (n != 0 && n != 2 && n != 4)
            return testing::AssertionFailure()
                   << "kind " << kind << " is on the board " << n << " times";
    }
    if (dump["removal_pending"].num() != 0)
        return testing::AssertionFailure() << "a removal is still pending";
    if (tiles_left == 0) return testing::AssertionSuccess();
    if (dump["open_pairs"].num() <= 0)
        return testing::AssertionFailure()
               << tiles_left << " tiles left and no open pair (open_pairs "
               << dump["open_pairs"].num() << ")";
    const std::vector<std::int64_t> hint = dump["hint_pair"].numbers();
    if (hint.size() != 4) return testing::AssertionFailure() << "no hint_pair";
    const std::int64_t first = cell_at(board, hint[0], hint[1]);
    const std::int64_t second = cell_at(board, hint[2], hint[3]);
    if (first < 0 || first != second || (hint[0] == hint[2] && hint[1] == hint[3]))
        return testing::AssertionFailure()
               << "the hint pair " << cell_text(hint[0], hint[1]) << " " << first << " / "
               << cell_text(hint[2], hint[3]) << " " << second << " is no pair of the board";
    return testing::AssertionSuccess();
}

bool Player::fail(const std::string& what) {
    std::ostringstream where;
    where << what << "\n  after " << figures_.stages << " stages, " << figures_.removals
          << " removals; last state " << dump_["state"].str() << ", tiles_left "
          << dump_["tiles_left"].num() << ", board_mode " << dump_["board_mode"].num()
          << ", training_level " << dump_["training_level"].num();
    ADD_FAILURE() << where.str();
    return false;
}

void Player::take(Value dump) {
    dump_ = std::move(dump);
    for (const std::string& effect : dump_["effects"].texts()) {
        ++figures_.effects;
        if (effect == "RESHUFFLE") ++figures_.reshuffles;
    }
}

bool Player::step(const std::string& lines, const char* expected_state) {
    std::optional<Value> dump = game_.dump_after(lines);
    if (!dump) {
        return fail(game_.timed_out() ? "the game did not answer within the deadline (hang?)"
                                      : "the game ended or printed no dump after:\n" + lines);
    }
    take(std::move(*dump));
    if (dump_["state"].str() != expected_state)
        return fail("expected the state " + std::string(expected_state) + " after:\n" + lines);
    return true;
}

bool Player::remove_hinted_pair() {
    const std::vector<std::int64_t> hint = dump_["hint_pair"].numbers();
    const std::int64_t tiles_before = dump_["tiles_left"].num();
    const std::string state = dump_["state"].str();
    const std::string lines =
        click_cell(hint[0], hint[1]) + click_cell(hint[2], hint[3]) + "wait 150\nframes 2\n";
    std::optional<Value> dump = game_.dump_after(lines);
    if (!dump) return fail("no dump after a removal (crash or hang?)");
    take(std::move(*dump));
    ++figures_.removals;
    if (dump_["tiles_left"].num() != tiles_before - 2)
        return fail("removing " + cell_text(hint[0], hint[1]) + " and " +
                    cell_text(hint[2], hint[3]) + " in " + state + " left tiles_left at " +
                    std::to_string(dump_["tiles_left"].num()) + " from " +
                    std::to_string(tiles_before));
    if (const testing::AssertionResult ok = board_invariants(dump_); !ok)
        return fail(std::string("board after a removal: ") + ok.message());
    return true;
}

bool Player::pause_and(const std::string& lines, const char* expected_state) {
    return step(scenario::escape_to_pause(), "PAUSE_MENU") && step(lines, expected_state);
}

// Half a selection first: the prompt must drop it.
bool Player::take_hint(bool pay) {
    const std::vector<std::int64_t> hint = dump_["hint_pair"].numbers();
    const std::int64_t score = dump_["score"].num();
    const std::int64_t cost = dump_["hint_cost"].num();
    if (!step(click_cell(hint[0], hint[1]), "PLAY")) return false;
    if (dump_["no_selection"].num() != 0) return fail("the first click selected nothing");
    // The menu button of the play screen opens the pause menu as Escape does.
    if (!step("click 10 10\nframes 1\n", "PAUSE_MENU") ||
        !step("click_item continue 4\nframes 1\n", "HINT_PROMPT") ||
        !step(pay ? "click_item help 4\nframes 1\n" : "click_item help 5\nframes 1\n", "PLAY"))
        return false;
    if (dump_["no_selection"].num() != 1) return fail("the hint prompt kept the selection");
    const std::int64_t paid = score - dump_["score"].num();
    const std::int64_t expected_paid = pay ? std::min(score, cost) : 0;
    if (paid != expected_paid || dump_["hint_cost"].num() != cost + (pay ? 10 : 0))
        return fail("the hint cost " + std::to_string(paid) + " points at a price of " +
                    std::to_string(cost) + (pay ? "" : " (declined)"));
    if (pay) ++figures_.hints;
    return true;
}

bool Player::play_stage(int stage_in_game) {
    const std::int64_t mode = dump_["board_mode"].num();
    for (int removal = 0; dump_["tiles_left"].num() > 0; ++removal) {
        // Each stage passes a few of these at different moments.
        const int variant = (stage_in_game + removal) % 5;
        if (removal == 3 && !pause_and("click_item continue 3\nframes 1\n", "PLAY")) return false;
        if (removal == 9 && variant == 0 && !take_hint(true)) return false;
        if (removal == 13 && variant == 1 && !take_hint(false)) return false;
        if (removal == 17 && variant == 2 &&
            !(step("close\nframes 1\n", "PAUSE_MENU") &&
              step("click_item continue 3\nframes 1\n", "PLAY")))
            return false;
        if (removal == 21 && variant == 3 &&
            !step("activate 0\nframes 1\nwait 3000\nframes 2\nactivate 1\nframes 1\n", "PLAY"))
            return false;

        const std::int64_t score = dump_["score"].num();
        if (!remove_hinted_pair()) return false;
        const char* expected = dump_["tiles_left"].num() > 0 ? "PLAY" : "PAUSE_MENU";
        if (dump_["state"].str() != expected)
            return fail(std::string("expected ") + expected + " after a removal in play");
        if (dump_["tiles_left"].num() == 0 && mode == 9 && dump_["score"].num() - score < 1000)
            return fail("a stage cleared in mode 9 brought no 1000 points");
    }
    ++figures_.stages;
    return true;
}

bool Player::end_game() {
    const std::int64_t score = dump_["score"].num();
    const bool loaded = dump_["score_loaded"].num() == 1;
    const bool gets_in = score > dump_["scores"][8][1].num();
    if (!step("click_item continue 5\nframes 1\n", gets_in ? "NAME_ENTRY" : "MAIN_MENU"))
        return false;
    ++figures_.games;
    if (!gets_in) return true;

    const std::string name =
        player_names[static_cast<std::size_t>(figures_.games) % std::size(player_names)];
    // The loop takes one message a frame: a frame for each character typed.
    if (!step("type " + name + "\nframes 16\nchar 13\nframes 1\n", "SCORE_SCREEN")) return false;
    ++figures_.names_entered;
    if (loaded) {
        bool found = false;
        for (std::size_t i = 0; i < 9; ++i) {
            const Value& entry = dump_["scores"][i];
            found = found || (entry[1].num() == score && name.rfind(entry[0].str(), 0) == 0 &&
                              !entry[0].str().empty());
        }
        if (!found)
            return fail("the score " + std::to_string(score) + " of " + name +
                        " is not in the table");
    }
    return step("click 300 300\nframes 1\n", "MAIN_MENU");
}

bool Player::train() {
    if (!step(scenario::start_training(), "TRAINING_PLAY")) return false;
    for (int level = 1; level <= 3; ++level) {
        if (dump_["training_level"].num() != level)
            return fail("expected training exercise " + std::to_string(level));
        if (const testing::AssertionResult ok = board_invariants(dump_); !ok)
            return fail(std::string("training deal: ") + ok.message());
        while (dump_["tiles_left"].num() > 0) {
            if (!remove_hinted_pair()) return false;
            const bool over = dump_["tiles_left"].num() == 0 && level == 3;
            if (dump_["state"].str() != (over ? "TRAINING_NEXT" : "TRAINING_PLAY"))
                return fail("unexpected state in training");
        }
        // The hint item leads on once the board is cleared; the last exercise ends by itself.
        if (level < 3 && !step("click_item training 6\nframes 2\n", "TRAINING_PLAY")) return false;
    }
    ++figures_.training_rounds;
    return step("frames 1\n", "TRAINING_END") && step("click 300 300\nframes 1\n", "MAIN_MENU");
}

bool Player::play(const Plan& plan) {
    if (!step("frames 1\n", "MAIN_MENU")) return false;
    for (int game = 0; figures_.stages < plan.stages; ++game) {
        if (game % plan.training_every == 0 && !train()) return false;
        if (game % 4 == 1 && !(step("click_item main 5\nframes 1\n", "SCORE_SCREEN") &&
                               step("click 300 300\nframes 1\n", "MAIN_MENU")))
            return false;
        if (!step(scenario::start_game(), "PLAY")) return false;
        for (int stage = 0;; ++stage) {
            if (dump_["board_mode"].num() != stage % 9 + 1 || dump_["tiles_left"].num() != 144)
                return fail("stage " + std::to_string(stage + 1) + " of a game dealt in mode " +
                            std::to_string(dump_["board_mode"].num()));
            if (const testing::AssertionResult ok = board_invariants(dump_); !ok)
                return fail(std::string("deal: ") + ok.message());
            if (!play_stage(stage)) return false;
            if (figures_.stages == plan.warm_up_stages) figures_.after_warm_up = game_.memory();
            const bool last = stage + 1 >= plan.stages_per_game || figures_.stages >= plan.stages;
            // Every other game is left in the middle of a fresh stage rather than after one.
            if (last && game % 2 == 0) break;
            if (!step("click_item continue 3\nframes 2\n", "PLAY")) return false;
            if (last) {
                if (!step(scenario::escape_to_pause(), "PAUSE_MENU")) return false;
                break;
            }
        }
        if (!end_game()) return false;
    }
    figures_.at_end = game_.memory();
    return true;
}

bool Player::quit() {
    game_.send("click_item main 6\nframes 2\n");
    scenario::GameRun run;
    game_.finish(run);
    if (run.status != 0 || run.exit != 0 || run.last()["state"].str() != "QUIT")
        return fail("the exit item did not end the game with code 0 (status " +
                    std::to_string(run.status) + ")");
    return true;
}

}  // namespace soak
