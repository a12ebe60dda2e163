// The score table is never lost: a rewrite that cannot open its new file, one that runs
// out of room half way, and a game killed in the middle of writing all leave the old
// file as it was, and the next start reads it.
#include <filesystem>

#include "app/headless_game.h"
#include "platform/cp1251.h"
#include "reliability/live_game.h"
#include "support/test_support.h"

namespace {

using scenario::GameRun;
using scenario::Value;

// A new game ended at once: 300 points beat the ninth entry (200), so a name is asked.
const std::string to_name_entry = scenario::start_game() + scenario::escape_to_pause() +
                                  "click_item continue 5\nframes 1\ntype Newcomer\nframes 10\n";
const std::string enter = "char 13\nframes 1\n";

enum class Failure {
    new_file_is_a_folder,  // the new file cannot even be opened
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

class FailedRewrite : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {};

TEST_P(FailedRewrite, LeavesTheOldTable) {
    const Failure failure = GetParam().failure;
    const std::string old_table = scenario::read_text(file("score.sco"));
    if (failure == Failure::new_file_is_a_folder)
        std::filesystem::create_directory(file("score.sco.new"));

    {
        live::LiveGame game(folder_, live::LiveGame::headless_command("--seed 1"), file("err.txt"),
                            failure == Failure::disk_full);
        ASSERT_TRUE(game.started());
        const std::optional<Value> before = game.dump_after(to_name_entry);
        ASSERT_TRUE(before.has_value());
        ASSERT_EQ((*before)["state"].str(), "NAME_ENTRY");
        // Smaller than the table: the write stops part of the way through it.
        if (failure != Failure::new_file_is_a_folder) {
            ASSERT_TRUE(game.limit_file_size(40));
        }

        const std::optional<Value> after = game.dump_after(enter);
        GameRun run;
        game.finish(run);
        if (failure == Failure::killed_while_writing) {
            EXPECT_FALSE(after.has_value()) << "the game outlived its write";
            EXPECT_EQ(run.status, -1);
            EXPECT_FALSE(game.timed_out()) << "the game hung instead of ending";
            // The file limit cut the new table off after its first 40 bytes.
            ASSERT_TRUE(std::filesystem::exists(file("score.sco.new")));
            EXPECT_EQ(std::filesystem::file_size(file("score.sco.new")), 40u);
        } else {
            // The entry stays in memory only; the table is out of use for this run.
            ASSERT_TRUE(after.has_value());
            EXPECT_EQ((*after)["state"].str(), "SCORE_SCREEN");
            EXPECT_EQ((*after)["score_loaded"].num(), 0);
            EXPECT_EQ((*after)["scores"][8][0].str(), "Newcomer");  // in the place of 200
            EXPECT_EQ(run.status, 0) << scenario::read_text(file("err.txt"));
        }
    }
    EXPECT_EQ(scenario::read_text(file("score.sco")), old_table);
    if (failure == Failure::disk_full) {
        EXPECT_FALSE(std::filesystem::exists(file("score.sco.new"))) << "the partial file stays";
    }
    if (failure == Failure::new_file_is_a_folder) {
        EXPECT_TRUE(std::filesystem::is_directory(file("score.sco.new")));
        return;
    }

    // The next start reads the old table and saves the next name in full, over whatever
    // the failed write left behind.
    const GameRun next =
        live::run_script(folder_, "frames 1\ndump\n" + to_name_entry + enter + "dump\n");
    ASSERT_EQ(next.status, 0) << next.errors;
    ASSERT_EQ(next.dumps.size(), 2u);
    EXPECT_EQ(next.dumps[0]["score_loaded"].num(), 1);
    EXPECT_EQ(next.dumps[0]["scores"][0][0].str(), "Ворпик");
    EXPECT_EQ(next.dumps[0]["scores"][8][1].num(), 200);
    EXPECT_EQ(next.dumps[1]["score_loaded"].num(), 1);
    const std::string table = scenario::read_text(file("score.sco"));
    EXPECT_NE(table.find("Newcomer 300\r\n"), std::string::npos) << table;
    EXPECT_EQ(table.find("Ваня"_cp1251), std::string::npos) << "the ninth entry drops out";
    EXPECT_FALSE(std::filesystem::exists(file("score.sco.new")));
}

INSTANTIATE_TEST_SUITE_P(Scores, FailedRewrite,
                         testing::Values(Case{"NewFileIsAFolder", Failure::new_file_is_a_folder},
                                         Case{"DiskFull", Failure::disk_full},
                                         Case{"KilledWhileWriting", Failure::killed_while_writing}),
                         test_support::CaseName());

}  // namespace
