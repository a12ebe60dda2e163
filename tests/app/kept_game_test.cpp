// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A game set aside: kept by a close in the pause menu or an end from outside, offered
// by the main menu on the next start, resumed into the pause menu as it was, asked
// about before a new game replaces it, gone once it ends; and files that hold no game
// the rules could have made, which are passed over without a word.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

using scenario::board_of;
using scenario::clear_board;
using scenario::escape_to_pause;
using scenario::GameRun;
using scenario::item_text;
using scenario::remove_pair;
using scenario::start_game;
using scenario::Value;

// The pause menu's close: back in the main menu with the game kept.
const std::string close_from_pause = "close\nframes 2\n";
// A board of three pairs, one of them open.
const std::string three_pairs =
    board_of({{1, 1, 5}, {2, 1, 5}, {4, 4, 9}, {9, 7, 9}, {6, 2, 33}, {12, 8, 33}});
const std::string resume = "click_item main 7\nframes 2\n";

// The counters a kept game carries.
void expect_same_game(const Value& kept, const Value& resumed) {
    for (const char* field : {"score", "stage_bonus", "board_mode", "tiles_left"})
        EXPECT_EQ(resumed[field].num(), kept[field].num()) << field;
    ASSERT_EQ(resumed["board"].size(), kept["board"].size());
    for (std::size_t x = 0; x < kept["board"].size(); ++x)
        for (std::size_t y = 0; y < kept["board"][x].size(); ++y)
            EXPECT_EQ(resumed["board"][x][y].num(), kept["board"][x][y].num()) << x << "," << y;
}

std::vector<std::string> background_names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(VORPY_GAME_DIR "/res"))
        if (entry.path().extension() == ".back") names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The value of a "key value" line of the game file.
std::string saved_line(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + " ");
    if (at == std::string::npos) return "(none)";
    const std::size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

using KeptGame = scenario::HeadlessGame;

TEST_F(KeptGame, SetAsideInThePauseMenuAndResumedOnTheNextStart) {
    const GameRun first =
        play(start_game() + three_pairs + remove_pair(1, 1, 2, 1) + "wait 3000\n" + "frames 1\n" +
             escape_to_pause() + "dump\n" + close_from_pause + "dump\n");
    ASSERT_EQ(first.status, 0) << first.errors;
    ASSERT_EQ(first.dumps.size(), 2u);
    const Value& kept = first.dumps[0];
    EXPECT_EQ(kept["tiles_left"].num(), 4);
    EXPECT_EQ(first.dumps[1]["state"].str(), "MAIN_MENU");
    EXPECT_TRUE(first.dumps[1]["saved_game"].flag);
    EXPECT_TRUE(std::filesystem::exists(file("game.sav")));

    const GameRun second =
        play("frames 1\ndump\n" + resume + "dump\nclick_item continue 3\n" + "frames 2\ndump\n");
    ASSERT_EQ(second.status, 0) << second.errors;
    ASSERT_EQ(second.dumps.size(), 3u);
    EXPECT_TRUE(second.dumps[0]["saved_game"].flag);
    EXPECT_EQ(item_text(second.dumps[0], "main", 7), "Продолжить игру");
    const Value& resumed = second.dumps[1];
    EXPECT_EQ(resumed["state"].str(), "PAUSE_MENU");
    expect_same_game(kept, resumed);
    EXPECT_EQ(second.dumps[2]["state"].str(), "PLAY");
    expect_same_game(kept, second.dumps[2]);
}

// A cleared stage comes back to the pause menu with its score in place of the hint; the
// next stage follows with the next bonus, mode and background after the kept one.
TEST_F(KeptGame, ClearedStageGoesOnIntoTheNextStageAndBackground) {
    const std::vector<std::string> names = background_names();
    ASSERT_GE(names.size(), 3u);
    const GameRun first = play(start_game() + clear_board() + "dump\n" + close_from_pause);
    ASSERT_EQ(first.status, 0) << first.errors;
    ASSERT_EQ(first.last()["state"].str(), "PAUSE_MENU");
    const std::int64_t score = first.last()["score"].num();
    std::string saved = scenario::read_text(file("game.sav"));
    EXPECT_EQ(saved_line(saved, "stage_cleared"), "1");
    EXPECT_EQ(saved_line(saved, "background"), names[0]);
    // As if the kept stage had been the second: the next one is the third background.
    const std::size_t at = saved.find("background " + names[0]);
    saved.replace(at, 11 + names[0].size(), "background " + names[1]);
    std::ofstream(file("game.sav"), std::ios::binary) << saved;

    const GameRun second = play("frames 1\n" + resume + "dump\nclick_item continue 3\n" +
                                "frames 3\ndump\n" + escape_to_pause() + close_from_pause);
    ASSERT_EQ(second.status, 0) << second.errors;
    ASSERT_EQ(second.dumps.size(), 2u);
    EXPECT_EQ(second.dumps[0]["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(second.dumps[0]["tiles_left"].num(), 0);
    EXPECT_EQ(second.dumps[0]["score"].num(), score);
    EXPECT_EQ(item_text(second.dumps[0], "continue", 4), "");
    const Value& next = second.dumps[1];
    EXPECT_EQ(next["state"].str(), "PLAY");
    EXPECT_EQ(next["board_mode"].num(), 2);
    EXPECT_EQ(next["stage_bonus"].num(), 200);
    EXPECT_EQ(next["tiles_left"].num(), 144);
    EXPECT_EQ(next["score"].num(), score + 250);
    EXPECT_EQ(saved_line(scenario::read_text(file("game.sav")), "background"), names[2]);
}

TEST_F(KeptGame, EndedGameIsRemovedAndNotOfferedAgain) {
    ASSERT_EQ(play(start_game() + escape_to_pause() + close_from_pause).status, 0);
    ASSERT_TRUE(std::filesystem::exists(file("game.sav")));
    // The score of 300 gets into the table: the game ends through the name entry.
    const GameRun ended = play("frames 1\n" + resume + "click_item continue 5\nframes 1\ndump\n" +
                               "type Keeper\nchar 13\nframes 10\nclick 10 10\nframes 2\ndump\n");
    ASSERT_EQ(ended.status, 0) << ended.errors;
    ASSERT_EQ(ended.dumps.size(), 2u);
    EXPECT_EQ(ended.dumps[0]["state"].str(), "NAME_ENTRY");
    EXPECT_FALSE(ended.dumps[0]["saved_game"].flag);
    EXPECT_EQ(ended.dumps[1]["state"].str(), "MAIN_MENU");
    EXPECT_EQ(item_text(ended.dumps[1], "main", 7), " ");
    EXPECT_FALSE(std::filesystem::exists(file("game.sav")));
    EXPECT_NE(scenario::read_text(file("score.sco")).find("Keeper 300"), std::string::npos);

    const GameRun next = play("frames 1\ndump\nclick_item main 7\nframes 2\ndump\n");
    ASSERT_EQ(next.dumps.size(), 2u);
    EXPECT_FALSE(next.dumps[0]["saved_game"].flag);
    EXPECT_EQ(item_text(next.dumps[0], "main", 7), " ");
    EXPECT_EQ(next.dumps[1]["state"].str(), "MAIN_MENU") << "the blank slot does nothing";
}

// ---- "Новая игра" over a kept game ------------------------------------------------------

struct Answer {
    std::string name;
    int item;
    std::string lands_in;
    bool still_kept;
};
void PrintTo(const Answer& a, std::ostream* os) {
    *os << a.name;
}

class NewGameOverKeptGame : public scenario::HeadlessGameBase<testing::TestWithParam<Answer>> {};

TEST_P(NewGameOverKeptGame, AsksFirst) {
    const Answer& a = GetParam();
    ASSERT_EQ(play(start_game() + escape_to_pause() + close_from_pause).status, 0);
    const std::string kept = scenario::read_text(file("game.sav"));
    const GameRun run = play("frames 1\nclick_item main 3\nframes 2\ndump\nclick_item really " +
                             std::to_string(a.item) + "\nframes 3\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["state"].str(), "CONFIRM_NEW_GAME");
    EXPECT_EQ(item_text(run.dumps[0], "really", 4), "Вы уверены?");
    // The pointer stays where "Новая игра" was: on neither answer.
    for (const int answer : {6, 8})
        EXPECT_NE(run.dumps[0]["highlight"].num(), answer);
    EXPECT_EQ(run.dumps[1]["state"].str(), a.lands_in);
    EXPECT_EQ(run.dumps[1]["saved_game"].flag, a.still_kept);
    EXPECT_EQ(std::filesystem::exists(file("game.sav")), a.still_kept);
    if (a.still_kept) {
        EXPECT_EQ(scenario::read_text(file("game.sav")), kept);
    } else {
        EXPECT_EQ(run.dumps[1]["score"].num(), 300) << "a new game";
        EXPECT_EQ(run.dumps[1]["board_mode"].num(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Game, NewGameOverKeptGame,
                         testing::Values(Answer{"Yes", 6, "PLAY", false},
                                         Answer{"No", 8, "MAIN_MENU", true}),
                         test_support::CaseName());

// ---- Back in the main menu with a kept game ----------------------------------------------

struct Return {
    std::string name;
    std::string script;  // from start-up to the click that leads back to the main menu
    std::string click;   // that click, given again as the second of a double click
};
void PrintTo(const Return& r, std::ostream* os) {
    *os << r.name;
}

class BackInTheMainMenu : public scenario::HeadlessGameBase<testing::TestWithParam<Return>> {};

// The kept game's item is not where the choice that led back was: neither lit under the
// pointer nor taken by a second click there.
TEST_P(BackInTheMainMenu, KeptGameItemIsClearOfTheLastChoice) {
    const Return& r = GetParam();
    ASSERT_EQ(play(start_game() + escape_to_pause() + close_from_pause).status, 0);
    const GameRun run =
        play(r.script + r.click + "frames 2\ndump\n" + r.click + "frames 2\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["state"].str(), "MAIN_MENU");
    EXPECT_NE(run.dumps[0]["highlight"].num(), 7);
    EXPECT_EQ(run.dumps[1]["state"].str(), "MAIN_MENU");
    EXPECT_TRUE(run.dumps[1]["saved_game"].flag);
}

INSTANTIATE_TEST_SUITE_P(
    Game, BackInTheMainMenu,
    testing::Values(
        Return{"NoToTheQuestion", "frames 1\nclick_item main 3\nframes 2\n",
               "click_item really 8\n"},
        Return{"ScoreScreen", "frames 1\nclick_item main 5\nframes 2\n", "click_item back 8\n"},
        Return{"TrainingEnd", scenario::start_training() + "click_item training 7\nframes 2\n",
               "click_item back 8\n"}),
    test_support::CaseName());

// The keys reach the item as they reach the others: Up from nothing lit is the last item.
TEST_F(KeptGame, KeysReachTheKeptGameItem) {
    ASSERT_EQ(play(start_game() + escape_to_pause() + close_from_pause).status, 0);
    const GameRun run = play("frames 1\nkey up\nframes 1\ndump\nkey enter\nframes 2\ndump\n");
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    EXPECT_EQ(run.dumps[0]["highlight"].num(), 7);
    EXPECT_EQ(run.dumps[1]["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(run.dumps[1]["tiles_left"].num(), 144);
}

// ---- Ended from outside -------------------------------------------------------------------

struct Ending {
    std::string name;
    std::string to_state;
    bool kept;
};
void PrintTo(const Ending& e, std::ostream* os) {
    *os << e.name;
}

class EndedFromOutside : public scenario::HeadlessGameBase<testing::TestWithParam<Ending>> {};

TEST_P(EndedFromOutside, KeepsOnlyAFullGame) {
    const Ending& e = GetParam();
    const GameRun run = play(e.to_state + "dump\nterm\nframes 1\n");
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    ASSERT_TRUE(run.exit.has_value());
    EXPECT_EQ(*run.exit, 128 + 15);
    EXPECT_EQ(run.status, 128 + 15);
    EXPECT_EQ(run.dumps[1]["saved_game"].flag, e.kept);
    EXPECT_EQ(std::filesystem::exists(file("game.sav")), e.kept);
    if (!e.kept) return;
    const GameRun next = play("frames 1\n" + resume + "dump\n");
    ASSERT_EQ(next.dumps.size(), 1u) << next.errors;
    EXPECT_EQ(next.last()["state"].str(), "PAUSE_MENU");
    expect_same_game(run.dumps[0], next.last());
}

const std::string pause = start_game() + escape_to_pause();

const Ending endings[] = {
    {"Play", start_game(), true},
    {"HintPrompt", pause + "click_item continue 4\nframes 1\n", true},
    {"PauseMenu", pause, true},
    {"MainMenu", "frames 2\n", false},
    {"Training", scenario::start_training(), false},
    {"NameEntry", pause + "click_item continue 5\nframes 1\n", false},
};

INSTANTIATE_TEST_SUITE_P(Game, EndedFromOutside, testing::ValuesIn(endings),
                         test_support::CaseName());

// A removal still under way when the end comes is finished before the game is kept.
TEST_F(KeptGame, RemovalUnderWayIsFinishedFirst) {
    const GameRun run = play(start_game() + three_pairs + "click_cell 1 1\nframes 1\n" +
                             "click_cell 2 1\nframes 1\ndump\nterm\n");
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    EXPECT_EQ(run.dumps[0]["removal_pending"].num(), 1);
    const GameRun next = play("frames 1\n" + resume + "dump\n");
    ASSERT_EQ(next.dumps.size(), 1u) << next.errors;
    EXPECT_EQ(next.last()["tiles_left"].num(), 4);
    EXPECT_EQ(next.last()["score"].num(), run.dumps[0]["score"].num() + 10);
    EXPECT_EQ(next.last()["removal_pending"].num(), 0);
}

// ---- Files that hold no game ----------------------------------------------------------------

// A sound file: a stage in play with three pairs, the first background.
std::string good_file(const std::string& background) {
    std::string text =
        "vorpy kept game 1\nscore 420\nstage_bonus 200\nboard_mode 3\ntiles_left 6\n"
        "stage_cleared 0\nbackground " +
        background + "\n";
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 18; ++x) {
            int kind = -1;
            if (y == 2 && (x == 3 || x == 7)) kind = 4;
            if (y == 5 && (x == 1 || x == 16)) kind = 35;
            if (y == 9 && (x == 8 || x == 9)) kind = 0;
            text += (x > 0 ? " " : "") + std::to_string(kind);
        }
        text += "\n";
    }
    return text;
}

// The file with the first occurrence of each from replaced by its to.
std::string changed(std::initializer_list<std::pair<std::string, std::string>> changes) {
    std::string text = good_file(background_names()[0]);
    for (const auto& [from, to] : changes) {
        const std::size_t at = text.find(from);
        if (at == std::string::npos) {
            ADD_FAILURE() << "the case's text " << from << " is not in the file";
            return text;
        }
        text.replace(at, from.size(), to);
    }
    return text;
}
std::string changed(const std::string& from, const std::string& to) {
    return changed({{from, to}});
}

// Row 5 of the good file, where two tiles of kind 35 stand at its ends.
const std::string row_five = "-1 35 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 35 -1";

struct Broken {
    std::string name;
    std::function<std::string()> bytes;
};
void PrintTo(const Broken& b, std::ostream* os) {
    *os << b.name;
}

class BrokenGameFile : public scenario::HeadlessGameBase<testing::TestWithParam<Broken>> {};

TEST_P(BrokenGameFile, IsPassedOverWithoutAWord) {
    std::ofstream(file("game.sav"), std::ios::binary) << GetParam().bytes();
    const GameRun run = play("frames 1\ndump\nclick_item main 7\nframes 2\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_FALSE(run.dumps[0]["saved_game"].flag);
    EXPECT_EQ(item_text(run.dumps[0], "main", 7), " ");
    EXPECT_EQ(run.dumps[0]["message_boxes"].size(), 0u);
    EXPECT_EQ(run.dumps[1]["state"].str(), "MAIN_MENU");
}

const Broken broken_files[] = {
    {"Empty", [] { return std::string(); }},
    {"OtherHeading", [] { return changed("vorpy kept game 1", "vorpy kept game 2"); }},
    {"LastLineUnclosed",
     [] {
         std::string text = good_file(background_names()[0]);
         return text.substr(0, text.size() - 1);
     }},
    {"LineMissing", [] { return changed("board_mode 3\n", ""); }},
    {"LineAfterTheBoard", [] { return good_file(background_names()[0]) + "\n"; }},
    {"KindOutOfRange", [] { return changed(row_five, std::string(row_five).replace(3, 2, "36")); }},
    {"NegativeKind", [] { return changed("-1 35", "-2 35"); }},
    {"NotANumber", [] { return changed("score 420", "score 42O"); }},
    {"PlusSign", [] { return changed("score 420", "score +420"); }},
    {"ScoreNegative", [] { return changed("score 420", "score -1"); }},
    {"ScoreTooLarge", [] { return changed("score 420", "score 4294967716"); }},
    {"BonusOutOfRange", [] { return changed("stage_bonus 200", "stage_bonus 350"); }},
    {"BonusOffTheSteps", [] { return changed("stage_bonus 200", "stage_bonus 125"); }},
    {"ModeZero", [] { return changed("board_mode 3", "board_mode 0"); }},
    {"ModeTen", [] { return changed("board_mode 3", "board_mode 10"); }},
    {"CountNotTheBoards", [] { return changed("tiles_left 6", "tiles_left 8"); }},
    {"ClearedWithTiles", [] { return changed("stage_cleared 0", "stage_cleared 1"); }},
    {"OddCountOfAKind", [] { return changed(" 4 ", " 5 "); }},
    // Six tiles of kind 35: an even number, but more than the four a deal has.
    {"SixOfAKind",
     [] {
         return changed(
             {{"tiles_left 6", "tiles_left 10"}, {"-1 35 -1 -1 -1 -1", "-1 35 35 35 35 35"}});
     }},
    {"TileInTheRing",
     [] { return changed(row_five, std::string(row_five).replace(0, 5, "35 -1")); }},
    {"ShortRow", [] { return changed(row_five + "\n", row_five.substr(3) + "\n"); }},
    {"DoubleSpace", [] { return changed("-1 35 -1", "-1  35 -1"); }},
    {"BackgroundWithAFolder", [] { return good_file("../score.sco"); }},
    {"BackgroundWithAControlByte", [] { return good_file(std::string("a\tb.back")); }},
    {"NulByte",
     [] {
         return changed("score 420", std::string("score 4\0"
                                                 "20",
                                                 10));
     }},
    {"CarriageReturns",
     [] {
         std::string text = good_file(background_names()[0]), crlf;
         for (const char c : text)
             crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
         return crlf;
     }},
    {"HugeFile", [] { return good_file(background_names()[0]) + std::string(1 << 20, 'x'); }},
};

INSTANTIATE_TEST_SUITE_P(Files, BrokenGameFile, testing::ValuesIn(broken_files),
                         test_support::CaseName());

// The one flaw that is not fatal: a background no longer there. The game comes back
// over the next background in the normal order.
TEST_F(KeptGame, LostBackgroundFallsBackToTheNormalOrder) {
    std::ofstream(file("game.sav"), std::ios::binary) << good_file("gone.back");
    const GameRun run = play("frames 1\n" + resume + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_EQ(run.last()["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(run.last()["tiles_left"].num(), 6);
    EXPECT_EQ(run.last()["score"].num(), 420);
    EXPECT_EQ(run.last()["board_mode"].num(), 3);
}

// A game file that is a folder is no file to read, and the game goes on around it.
TEST_F(KeptGame, FolderInItsPlaceIsPassedOver) {
    std::filesystem::create_directory(file("game.sav"));
    const GameRun run =
        play("frames 1\ndump\n" + start_game() + escape_to_pause() + close_from_pause + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_FALSE(run.dumps[0]["saved_game"].flag);
    // Not written over, but offered for the rest of the run.
    EXPECT_TRUE(std::filesystem::is_directory(file("game.sav")));
    EXPECT_TRUE(run.dumps[1]["saved_game"].flag);
}

}  // namespace
