// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The score table is never lost: a rewrite that runs out of room half way and a game
// killed in the middle of writing both leave the old file as it was and nothing
// beside it, and the next start reads the old table and saves over it in full.
#include <filesystem>

#include "app/headless_game.h"
#include "platform/cp1251.h"
#include "reliability/live_game.h"
#include "support/test_support.h"

namespace {

using scenario::GameRun;
using scenario::Value;

enum class Failure {
    disk_full,             // writes past a size limit fail, the game carries on
    killed_while_writing,  // the size limit's signal ends the game in the middle of the write
};

struct Case {
    std::string name;
    Failure failure;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class FailedRewrite : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {
  protected:
    std::vector<std::string> stray_files() const { return live::stray_files(folder_); }
};

TEST_P(FailedRewrite, LeavesTheOldTable) {
    const Failure failure = GetParam().failure;
    const std::string old_table = scenario::read_text(file("score.sco"));
    {
        live::LiveGame game(folder_, live::LiveGame::headless_command("--seed 1"), file("err.txt"),
                            failure == Failure::disk_full);
        ASSERT_TRUE(game.started());
        const std::optional<Value> before = game.dump_after(live::to_name_entry());
        ASSERT_TRUE(before.has_value());
        ASSERT_EQ((*before)["state"].str(), "NAME_ENTRY");
        // Smaller than the table: the write stops part of the way through it.
        ASSERT_TRUE(game.limit_file_size(40));

        const std::optional<Value> after = game.dump_after(live::enter);
        GameRun run;
        game.finish(run);
        if (failure == Failure::killed_while_writing) {
            EXPECT_FALSE(after.has_value()) << "the game outlived its write";
            EXPECT_EQ(run.status, -1);
            EXPECT_FALSE(game.timed_out()) << "the game hung instead of ending";
        } else {
            // The player is told, and the table shown is the one the file still holds.
            ASSERT_TRUE(after.has_value());
            EXPECT_EQ((*after)["state"].str(), "SCORE_SCREEN");
            EXPECT_EQ((*after)["score_loaded"].num(), 1);
            EXPECT_EQ((*after)["scores"][8][1].num(), 200);
            ASSERT_EQ((*after)["message_boxes"].size(), 1u);
            EXPECT_EQ((*after)["message_boxes"][0]["text"].str(),
                      "Рекорд не сохранён в файл score.sco:\nнет места на диске");
            EXPECT_EQ(run.status, 0) << scenario::read_text(file("err.txt"));
        }
    }
    EXPECT_EQ(scenario::read_text(file("score.sco")), old_table);
    if (failure == Failure::disk_full) {
        EXPECT_TRUE(stray_files().empty()) << stray_files()[0];
    }

    // The next start reads the old table, leaves nothing of the failed write behind and
    // saves the next name in full.
    const GameRun next = live::run_script(
        folder_, "frames 1\ndump\n" + live::to_name_entry() + live::enter + "dump\n");
    ASSERT_EQ(next.status, 0) << next.errors;
    ASSERT_EQ(next.dumps.size(), 2u);
    EXPECT_EQ(next.dumps[0]["score_loaded"].num(), 1);
    EXPECT_EQ(next.dumps[0]["scores"][0][0].str(), "Ворпик");
    EXPECT_EQ(next.dumps[0]["scores"][8][1].num(), 200);
    EXPECT_EQ(next.dumps[1]["score_loaded"].num(), 1);
    const std::string table = scenario::read_text(file("score.sco"));
    EXPECT_NE(table.find("Newcomer 300\r\n"), std::string::npos) << table;
    EXPECT_EQ(table.find("Ваня"_cp1251), std::string::npos) << "the ninth entry drops out";
    EXPECT_TRUE(stray_files().empty()) << stray_files()[0];
}

INSTANTIATE_TEST_SUITE_P(Scores, FailedRewrite,
                         testing::Values(Case{"DiskFull", Failure::disk_full},
                                         Case{"KilledWhileWriting", Failure::killed_while_writing}),
                         test_support::CaseName());

}  // namespace
