// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A kept game is never half written: a game killed in the middle of keeping a newer
// game leaves the older file whole and nothing beside it, and the next start offers
// the older game as it was.
#include <filesystem>

#include "app/headless_game.h"
#include "reliability/live_game.h"
#include "support/test_support.h"

namespace {

using scenario::GameRun;
using scenario::Value;

struct Case {
    std::string name;
    long file_limit;  // where the write of the newer game stops
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class KilledWhileKeeping : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {
  protected:
    std::vector<std::string> stray_files() const { return live::stray_files(folder_); }
};

TEST_P(KilledWhileKeeping, LeavesTheOlderGameWhole) {
    const std::string close = "close\nframes 2\n";
    std::optional<Value> older;
    {
        live::LiveGame game(folder_, live::LiveGame::headless_command("--seed 1"), file("err.txt"));
        ASSERT_TRUE(game.started());
        older = game.dump_after(scenario::start_game() + scenario::escape_to_pause());
        ASSERT_TRUE(older.has_value());
        const std::optional<Value> kept = game.dump_after(close);
        ASSERT_TRUE(kept.has_value());
        ASSERT_TRUE((*kept)["saved_game"].flag);
        // The game goes on with another board and is kept again, with writes cut short.
        const std::optional<Value> newer = game.dump_after(
            "click_item main 7\nframes 2\nclick_item continue 3\nframes 2\n" +
            scenario::board_of({{1, 1, 3}, {2, 1, 3}}) + scenario::escape_to_pause());
        ASSERT_TRUE(newer.has_value());
        ASSERT_EQ((*newer)["state"].str(), "PAUSE_MENU");
        ASSERT_EQ((*newer)["tiles_left"].num(), 2);
        ASSERT_TRUE(game.limit_file_size(GetParam().file_limit));
        EXPECT_FALSE(game.dump_after(close).has_value()) << "the game outlived its write";
        GameRun run;
        game.finish(run);
        EXPECT_EQ(run.status, -1);
        EXPECT_FALSE(game.timed_out()) << "the game hung instead of ending";
    }
    EXPECT_TRUE(stray_files().empty()) << stray_files()[0];

    const GameRun next = live::run_script(folder_, "frames 1\nclick_item main 7\nframes 2\ndump\n");
    ASSERT_EQ(next.status, 0) << next.errors;
    ASSERT_EQ(next.dumps.size(), 1u);
    EXPECT_EQ(next.last()["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(next.last()["tiles_left"].num(), 144);
    EXPECT_EQ(next.last()["score"].num(), (*older)["score"].num());
    EXPECT_EQ(next.last()["board"][5][5].num(), (*older)["board"][5][5].num());
}

INSTANTIATE_TEST_SUITE_P(GameFile, KilledWhileKeeping,
                         testing::Values(Case{"InItsHeading", 10}, Case{"InItsBoard", 400}),
                         test_support::CaseName());

}  // namespace
