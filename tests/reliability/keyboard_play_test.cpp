// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whole boards cleared by keys alone: the player reads the pair the game's own open-pair
// search offers (the dump's hint pair), walks the cursor there with the arrows and
// presses Enter on both tiles. The same pairs clicked with the mouse in a second game
// of the same seed must leave the same board and score after every removal.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "reliability/live_game.h"

namespace {

using scenario::Value;

struct Removal {
    std::vector<std::int64_t> board;
    std::int64_t score;
};

class KeyPlayer {
  public:
    explicit KeyPlayer(live::LiveGame& game) : game_(game) {}

    // Sends the lines to the keyboard game, and mouse_lines (the same moves by mouse, with
    // the same waits) to the script of the mouse game; true when a dump came back.
    bool step(const std::string& lines, const std::string& mouse_lines) {
        mouse_script += mouse_lines;
        std::optional<Value> dump = game_.dump_after(lines);
        if (!dump) return false;
        dump_ = std::move(*dump);
        return true;
    }

    // Walks the cursor onto the cell, showing it first if needed, and presses Enter.
    std::string press_on(std::int64_t column, std::int64_t row) {
        std::string keys;
        std::int64_t c = cursor_column_, r = cursor_row_;
        for (; c < column; ++c)
            keys += "key right\nframes 1\n";
        for (; c > column; --c)
            keys += "key left\nframes 1\n";
        for (; r < row; ++r)
            keys += "key down\nframes 1\n";
        for (; r > row; --r)
            keys += "key up\nframes 1\n";
        cursor_column_ = column;
        cursor_row_ = row;
        return keys + "key enter\nframes 1\n";
    }

    // Shows the cursor and learns where it stands.
    bool show_cursor() {
        if (!step("key right\nframes 1\n", "")) return false;
        const std::vector<std::int64_t> at = dump_["cursor"].numbers();
        if (at.size() != 2) return false;
        cursor_column_ = at[0];
        cursor_row_ = at[1];
        return true;
    }

    // Removes the pair the game hints, by keys; records the board and the score.
    testing::AssertionResult remove_hinted_pair() {
        const std::vector<std::int64_t> hint = dump_["hint_pair"].numbers();
        const std::int64_t tiles = dump_["tiles_left"].num();
        std::string keys = press_on(hint[0], hint[1]);
        keys += press_on(hint[2], hint[3]);
        const std::string clicks = "click_cell " + std::to_string(hint[0]) + " " +
                                   std::to_string(hint[1]) + "\nframes 1\nclick_cell " +
                                   std::to_string(hint[2]) + " " + std::to_string(hint[3]) +
                                   "\nframes 1\n";
        const std::string finish = "wait 150\nframes 2\n";
        if (!step(keys + finish, clicks + finish + "dump\n"))
            return testing::AssertionFailure() << "no dump after a removal";
        if (dump_["tiles_left"].num() != tiles - 2)
            return testing::AssertionFailure()
                   << "the pair " << hint[0] << "," << hint[1] << " " << hint[2] << "," << hint[3]
                   << " was not removed by keys: " << dump_["tiles_left"].num() << " tiles left";
        const std::vector<std::int64_t> at = dump_["cursor"].numbers();
        if (at != std::vector<std::int64_t>{hint[2], hint[3]})
            return testing::AssertionFailure() << "the cursor left its cell";
        removals.push_back({dump_["board"].numbers(), dump_["score"].num()});
        return testing::AssertionSuccess();
    }

    const Value& dump() const { return dump_; }

    std::string mouse_script;
    std::vector<Removal> removals;

  private:
    live::LiveGame& game_;
    Value dump_;
    std::int64_t cursor_column_ = 0, cursor_row_ = 0;
};

class KeyboardPlay : public scenario::HeadlessGame {
  protected:
    // Plays the mouse script and checks each removal against the keyboard game's.
    void same_as_by_mouse(const KeyPlayer& player) {
        const scenario::GameRun mouse = live::run_script(folder_, player.mouse_script, "--seed 3");
        ASSERT_EQ(mouse.status, 0) << mouse.errors;
        ASSERT_EQ(mouse.dumps.size(), player.removals.size());
        for (std::size_t i = 0; i < mouse.dumps.size(); ++i) {
            EXPECT_EQ(mouse.dumps[i]["score"].num(), player.removals[i].score) << "removal " << i;
            EXPECT_EQ(mouse.dumps[i]["board"].numbers(), player.removals[i].board)
                << "removal " << i;
        }
    }
};

TEST_F(KeyboardPlay, AFullStageClearedByKeysAsByTheMouse) {
    live::LiveGame game(folder_, live::LiveGame::headless_command("--seed 3"), file("err.txt"));
    ASSERT_TRUE(game.started());
    KeyPlayer player(game);
    // The main menu by keys: Down lights "Новая игра", Enter chooses it.
    ASSERT_TRUE(player.step("frames 1\nkey down\nframes 1\nkey enter\nframes 3\n",
                            "frames 1\nclick_item main 3\nframes 3\n"));
    ASSERT_EQ(player.dump()["state"].str(), "PLAY");
    ASSERT_TRUE(player.show_cursor());
    while (player.dump()["tiles_left"].num() > 0)
        ASSERT_TRUE(player.remove_hinted_pair());
    EXPECT_EQ(player.removals.size(), 72u);
    EXPECT_EQ(player.dump()["state"].str(), "PAUSE_MENU");
    game.send("frames 1\n");
    scenario::GameRun ignored;
    game.finish(ignored);
    same_as_by_mouse(player);
}

TEST_F(KeyboardPlay, ATrainingExerciseClearedByKeysAsByTheMouse) {
    live::LiveGame game(folder_, live::LiveGame::headless_command("--seed 3"), file("err.txt"));
    ASSERT_TRUE(game.started());
    KeyPlayer player(game);
    // "Тренировка" is the second working item; the rules screen's button takes Enter.
    ASSERT_TRUE(
        player.step("frames 1\nkey down\nframes 1\nkey down\nframes 1\nkey enter\n"
                    "frames 2\nkey enter\nframes 2\n",
                    "frames 1\nclick_item main 4\nframes 2\nclick 300 300\nframes 2\n"));
    ASSERT_EQ(player.dump()["state"].str(), "TRAINING_PLAY");
    ASSERT_EQ(player.dump()["training_level"].num(), 1);
    ASSERT_TRUE(player.show_cursor());
    while (player.dump()["tiles_left"].num() > 0)
        ASSERT_TRUE(player.remove_hinted_pair());
    EXPECT_EQ(player.removals.size(), 8u);
    // On the cleared board Enter goes on to the next exercise, as the menu's item does.
    ASSERT_TRUE(player.step("key enter\nframes 3\n", ""));
    EXPECT_EQ(player.dump()["state"].str(), "TRAINING_PLAY");
    EXPECT_EQ(player.dump()["training_level"].num(), 2);
    EXPECT_TRUE(player.dump()["cursor"].kind == Value::Kind::null) << "a new board hides it";
    scenario::GameRun ignored;
    game.finish(ignored);
    same_as_by_mouse(player);
}

}  // namespace
