// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's edge cases played end to end: the score drain around menus, prompts and
// inactivity, the stage bonuses and modes, the end of a game and the name entry, the
// state-change sound, the April-1st notice and the identity check of the main menu file.
#include <fstream>

#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

using scenario::board_of;
using scenario::clear_board;
using scenario::escape_to_pause;
using scenario::GameRun;
using scenario::HeadlessGame;
using scenario::item_text;
using scenario::start_game;
using scenario::Value;

std::vector<std::int64_t> field_of_each(const GameRun& run, const char* field) {
    std::vector<std::int64_t> out;
    for (const Value& dump : run.dumps)
        out.push_back(dump[field].num());
    return out;
}

// ---- The score drain --------------------------------------------------------------------

using ScoreDrain = HeadlessGame;

TEST_F(ScoreDrain, FirstPlayFrameDrainsNothingThenOnePointASecond) {
    // Five seconds in the main menu before the game must not be charged either.
    const GameRun run = play(
        "frames 1\nwait 5000\nframes 1\nclick_item main 3\nframes 3\ndump\n"
        "wait 999\nframes 1\ndump\nwait 1\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(field_of_each(run, "score"), (std::vector<std::int64_t>{300, 300, 299}));
}

TEST_F(ScoreDrain, SevenSecondsInThePauseMenuCostNothing) {
    const GameRun run = play(start_game() + escape_to_pause() +
                             "wait 7000\nframes 1\nclick_item continue 3\nframes 2\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.last()["state"].str(), "PLAY");
    EXPECT_EQ(run.last()["score"].num(), 300);
}

TEST_F(ScoreDrain, SevenSecondsInTheHintPromptCostNothing) {
    const GameRun run = play(start_game() + escape_to_pause() +
                             "click_item continue 4\nframes 1\nwait 7000\nframes 1\n"
                             "click_item help 5\nframes 2\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.last()["state"].str(), "PLAY");
    EXPECT_EQ(run.last()["score"].num(), 300);
}

TEST_F(ScoreDrain, SevenSecondsInactiveInPlayCostSevenOnReturn) {
    const GameRun run = play(start_game() +
                             "activate 0\nframes 1\nwait 7000\nframes 3\ndump\n"
                             "activate 1\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["score"].num(), 300);  // no frames ran while inactive
    EXPECT_EQ(run.dumps[1]["score"].num(), 293);
}

// ---- Stages -----------------------------------------------------------------------------

using Stages = HeadlessGame;

TEST_F(Stages, BonusesFallToOneHundredAndModeNineClearsForAThousand) {
    constexpr int stages = 10;
    std::string script = start_game() + "dump\n";
    for (int i = 0; i < stages; ++i) {
        script += clear_board() + "dump\n";
        if (i + 1 < stages) script += "click_item continue 3\nframes 3\ndump\n";
    }
    const GameRun run = play(script);
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u * stages);

    const std::int64_t bonuses[stages] = {300, 250, 200, 150, 100, 100, 100, 100, 100, 100};
    std::int64_t score_before = 0;
    for (int i = 0; i < stages; ++i) {
        const Value& started = run.dumps[static_cast<std::size_t>(2 * i)];
        const Value& cleared = run.dumps[static_cast<std::size_t>(2 * i + 1)];
        const std::int64_t mode = started["board_mode"].num();
        SCOPED_TRACE("stage " + std::to_string(i + 1));
        EXPECT_EQ(started["state"].str(), "PLAY");
        EXPECT_EQ(mode, i % 9 + 1);
        EXPECT_EQ(started["score"].num() - score_before, bonuses[i]);
        EXPECT_EQ(cleared["state"].str(), "PAUSE_MENU");
        EXPECT_EQ(cleared["score"].num() - started["score"].num(), mode == 9 ? 1010 : 10);
        score_before = cleared["score"].num();
    }
}

TEST_F(Stages, PauseMenuHintItemDoesNothingOnceTheBoardIsCleared) {
    const GameRun run = play(start_game() + clear_board() +
                             "dump\nclick_item continue 4\nframes 1\ndump\n"
                             "click_item continue 3\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_EQ(item_text(run.dumps[0], "continue", 4), "");
    EXPECT_EQ(run.dumps[1]["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(run.dumps[2]["state"].str(), "NEW_STAGE");
}

TEST_F(Stages, PauseMenuHintItemNamesTheHintWhileTilesRemain) {
    const GameRun run = play(start_game() + escape_to_pause() + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(item_text(run.last(), "continue", 4), "Показать подсказку");
}

// ---- The end of a game ------------------------------------------------------------------

struct EndCase {
    std::string name;
    int seconds_waited;  // from 300 points; the table's ninth entry holds 200
    std::int64_t score;
    std::string lands_in;
};
void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

class GameEnd : public scenario::HeadlessGameBase<testing::TestWithParam<EndCase>> {};

TEST_P(GameEnd, NameEntryNeedsAScoreStrictlyAboveTheNinthEntry) {
    const EndCase& c = GetParam();
    const GameRun run =
        play(start_game() + "wait " + std::to_string(c.seconds_waited * 1000) + "\nframes 1\n" +
             escape_to_pause() + "click_item continue 5\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.last()["scores"][8][1].num(), 200);
    EXPECT_EQ(run.last()["score"].num(), c.score);
    EXPECT_EQ(run.last()["state"].str(), c.lands_in);
}

INSTANTIATE_TEST_SUITE_P(Game, GameEnd,
                         testing::Values(EndCase{"EqualToNinth", 100, 200, "MAIN_MENU"},
                                         EndCase{"OneAbove", 99, 201, "NAME_ENTRY"}),
                         test_support::CaseName());

struct NameCase {
    std::string name;
    std::string typing;  // script lines
    std::string player_name;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class NameTyping : public scenario::HeadlessGameBase<testing::TestWithParam<NameCase>> {};

TEST_P(NameTyping, BuildsTheName) {
    const NameCase& c = GetParam();
    const GameRun run =
        play(start_game() + escape_to_pause() + "click_item continue 5\nframes 1\n" + c.typing +
             "\nframes 20\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.last()["state"].str(), "NAME_ENTRY");
    EXPECT_EQ(run.last()["player_name"].str(), c.player_name);
    EXPECT_EQ(run.last()["typed_chars"].str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Game, NameTyping,
    testing::Values(NameCase{"SpaceIsSkipped", "type a b", "ab"},
                    NameCase{"FourteenthCharacterDropped", "type abcdefghijklmn", "abcdefghijklm"},
                    NameCase{"BackspaceOnEmptyName", "char 8", ""},
                    NameCase{"BackspaceRemovesTheLast", "type ab\nframes 3\nchar 8", "a"},
                    NameCase{"CyrillicInTheCodePage", "type Ёжик", "Ёжик"}),
    test_support::CaseName());

// ---- Sound on a change of state ---------------------------------------------------------

using StateSound = HeadlessGame;

TEST_F(StateSound, TrainingPlaysTheSoundForTheNextStepAndAgainForTheRules) {
    const GameRun run = play("frames 1\ndump\nclick_item main 4\nframes 1\ndump\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    const std::vector<std::string> once{"MENU_GO"};
    EXPECT_EQ(run.dumps[1]["state"].str(), "TRAINING_NEXT");
    EXPECT_EQ(run.dumps[1]["effects"].texts(), once);
    EXPECT_EQ(run.dumps[2]["state"].str(), "TRAINING_RULES");
    EXPECT_EQ(run.dumps[2]["effects"].texts(), once);
}

// ---- The April-1st notice ---------------------------------------------------------------

struct DateCase {
    std::string name;
    std::string date;
    bool notice;
};
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}

class AprilFirst : public scenario::HeadlessGameBase<testing::TestWithParam<DateCase>> {};

TEST_P(AprilFirst, ShowsTheNoticeAndOpensTheSongOnlyOnTheFirstOfApril) {
    const DateCase& c = GetParam();
    const GameRun run = play("frames 1\ndump\n", "--seed 1 --date " + c.date);
    ASSERT_EQ(run.status, 0) << run.errors;
    const Value& d = run.last();
    EXPECT_EQ(d["state"].str(), "MAIN_MENU");
    if (!c.notice) {
        EXPECT_TRUE(d["message_boxes"].items.empty());
        EXPECT_TRUE(d["opened"].items.empty());
        return;
    }
    ASSERT_EQ(d["message_boxes"].size(), 1u);
    const Value& box = d["message_boxes"][0];
    EXPECT_EQ(box["caption"].str(), "Внимание !!!");
    EXPECT_EQ(box["text"].str(),
              "Вы изменили положение мыши.\nЧтобы изменения вступили в силу,\n"
              "требуется перезагрузить компьютер.");
    EXPECT_EQ(box["flags"].num(), 0x30);
    EXPECT_EQ(d["opened"].texts(), std::vector<std::string>{"sound\\lalai.mp3"});
}

INSTANTIATE_TEST_SUITE_P(Game, AprilFirst,
                         testing::Values(DateCase{"AprilFirst", "2024-04-01", true},
                                         DateCase{"AnotherYear", "2023-04-01", true},
                                         DateCase{"AprilSecond", "2024-04-02", false},
                                         DateCase{"MarchFirst", "2024-03-01", false},
                                         DateCase{"MayFirst", "2024-05-01", false}),
                         test_support::CaseName());

// ---- The identity check -----------------------------------------------------------------

struct IdentityCase {
    std::string name;
    std::string game_line;  // replaces "game=vorps"; empty drops the line
    bool title_kept;
};
void PrintTo(const IdentityCase& c, std::ostream* os) {
    *os << c.name;
}

class IdentityCheck : public scenario::HeadlessGameBase<testing::TestWithParam<IdentityCase>> {
  protected:
    void write_game_line(const std::string& line) {
        own_copy("menu");
        const std::filesystem::path path = file("menu/mainmenu.menu");
        std::string text = scenario::read_text(path);
        const std::string key = "game=vorps\r\n";
        std::size_t at = text.find(key);
        std::size_t length = key.size();
        if (at == std::string::npos) {
            at = text.find("game=vorps\n");
            length = key.size() - 1;
        }
        ASSERT_NE(at, std::string::npos);
        text.replace(at, length, line.empty() ? "" : line + "\n");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
};

TEST_P(IdentityCheck, EmptiesTheTitleUnlessTheMainMenuNamesTheGame) {
    const IdentityCase& c = GetParam();
    // Menu screen, half a second of menu frames, then the first play screen dealt from
    // a fixed seed, so that both runs deal the same board.
    const std::string script =
        "frames 1\ndump\nwait 500\nframes 10\ndump\nseed 7\nclick_item main 3\nframes 3\n"
        "dump\n";
    const GameRun reference = play(script);
    ASSERT_EQ(reference.dumps.size(), 3u) << reference.errors;
    write_game_line(c.game_line);
    const GameRun run = play(script);
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);

    const std::string full_title = "Ворпы 1.25";
    EXPECT_EQ(run.dumps[0]["window_title_empty"].flag, !c.title_kept);
    EXPECT_EQ(run.dumps[0]["title"].str(), c.title_kept ? full_title : "");
    // The menu border animation draws random faces, and only with a title.
    EXPECT_EQ(run.dumps[1]["random_state"].num() != run.dumps[0]["random_state"].num(),
              c.title_kept);
    // Without the title the game screen's title is the count of open pairs alone.
    const std::string& reference_title = reference.dumps[2]["title"].str();
    ASSERT_EQ(reference_title.rfind(full_title, 0), 0u) << reference_title;
    EXPECT_EQ(run.dumps[2]["title"].str(),
              c.title_kept ? reference_title : reference_title.substr(full_title.size()));
}

INSTANTIATE_TEST_SUITE_P(Game, IdentityCheck,
                         testing::Values(IdentityCase{"Ours", "game=vorps", true},
                                         IdentityCase{"OtherCase", "game=Vorps", false},
                                         IdentityCase{"TrailingSpace", "game=vorps ", false},
                                         IdentityCase{"OtherGame", "game=other", false},
                                         IdentityCase{"KeyMissing", "", false}),
                         test_support::CaseName());

}  // namespace
