// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every transition of the game's state machine, played through the headless shell:
// each case drives the game from start-up to just past the transition and checks
// the state it lands in with the side effects that come with it.
#include <functional>

#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

using scenario::board_of;
using scenario::clear_board;
using scenario::escape_to_pause;
using scenario::item_text;
using scenario::remove_pair;
using scenario::start_game;
using scenario::start_training;
using scenario::Value;

struct Case {
    std::string name;
    std::string script;  // ends with the dump that is checked
    std::string state;
    std::function<void(const Value&)> also = nullptr;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Transitions : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {};

TEST_P(Transitions, LandsInTheExpectedState) {
    const Case& c = GetParam();
    const scenario::GameRun run = play(c.script);
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_FALSE(run.dumps.empty()) << run.errors;
    const Value& dump = run.last();
    EXPECT_EQ(dump["state"].str(), c.state);
    EXPECT_TRUE(dump["fatal"].items.empty());
    if (c.also) c.also(dump);
}

// From the main menu, training chosen and its rules screen shown.
const std::string to_rules = "frames 1\nclick_item main 4\nframes 2\n";
// Training ended from its first exercise: the end screen.
const std::string to_training_end = start_training() + "click_item training 7\nframes 2\n";

const Case cases[] = {
    {"StartUpShowsTheMainMenu", "frames 1\ndump\n", "MAIN_MENU",
     [](const Value& d) { EXPECT_EQ(d["title"].str(), "Ворпы 1.25"); }},
    // A game left from its pause menu first, so that the new game has something to reset;
    // the game it kept is given up when asked.
    {"MainMenuNewGame",
     start_game() + escape_to_pause() +
         "close\nframes 1\nclick_item main 3\nframes 1\nclick_item really 6\nframes 1\ndump\n",
     "NEW_STAGE",
     [](const Value& d) {
         EXPECT_EQ(d["score"].num(), 0);
         EXPECT_EQ(d["stage_bonus"].num(), 300);
         EXPECT_EQ(d["board_mode"].num(), 0);
     }},
    {"MainMenuTraining", "frames 1\nclick_item main 4\nframes 1\ndump\n", "TRAINING_NEXT",
     [](const Value& d) { EXPECT_EQ(d["training_level"].num(), -1); }},
    {"MainMenuScores", "frames 1\nclick_item main 5\nframes 1\ndump\n", "SCORE_SCREEN"},
    {"MainMenuExit", "frames 1\nclick_item main 6\nframes 1\ndump\n", "QUIT"},
    {"MainMenuOtherItemDoesNothing", "frames 1\nclick_item main 1\nframes 1\ndump\n", "MAIN_MENU"},
    {"NewStageDealsAndPlays", start_game() + "dump\n", "PLAY",
     [](const Value& d) {
         EXPECT_EQ(d["tiles_left"].num(), 144);
         EXPECT_GT(d["open_pairs"].num(), 0);
         EXPECT_EQ(d["score"].num(), 300);
         EXPECT_EQ(d["stage_bonus"].num(), 250);
         EXPECT_EQ(d["board_mode"].num(), 1);
         EXPECT_EQ(d["player_name"].str(), "");
     }},
    {"PlayEscape", start_game() + escape_to_pause() + "dump\n", "PAUSE_MENU"},
    {"PlayClickOnMenuButton", start_game() + "click 179 47\nframes 1\ndump\n", "PAUSE_MENU"},
    {"PlayClickBesideMenuButton", start_game() + "click 180 47\nframes 1\ndump\n", "PLAY"},
    {"PlayClickBelowMenuButton", start_game() + "click 10 48\nframes 1\ndump\n", "PLAY"},
    {"PlayBoardCleared", start_game() + clear_board() + "dump\n", "PAUSE_MENU",
     [](const Value& d) {
         EXPECT_EQ(d["tiles_left"].num(), 0);
         EXPECT_EQ(d["score"].num(), 310);
     }},
    {"PauseContinue", start_game() + escape_to_pause() + "click_item continue 3\nframes 1\ndump\n",
     "PLAY", [](const Value& d) { EXPECT_EQ(d["tiles_left"].num(), 144); }},
    {"PauseContinueAfterClearedBoard",
     start_game() + clear_board() + "click_item continue 3\nframes 1\ndump\n", "NEW_STAGE"},
    {"PauseHint", start_game() + escape_to_pause() + "click_item continue 4\nframes 1\ndump\n",
     "HINT_PROMPT"},
    {"PauseEndWithHighScore",
     start_game() + "type xy\nchar 9\nframes 3\n" + escape_to_pause() +
         "click_item continue 5\nframes 1\ndump\n",
     "NAME_ENTRY",
     [](const Value& d) {
         EXPECT_EQ(d["typed_chars"].str(), "");
         EXPECT_EQ(d["last_control_char"].num(), 0);
     }},
    {"PauseEndWithLowScore",
     start_game() + "wait 150000\nframes 1\n" + escape_to_pause() +
         "click_item continue 5\nframes 1\ndump\n",
     "MAIN_MENU", [](const Value& d) { EXPECT_EQ(d["score"].num(), 150); }},
    {"HintPromptYes",
     start_game() + escape_to_pause() +
         "click_item continue 4\nframes 1\nclick_item help 4\nframes 1\ndump\n",
     "PLAY",
     [](const Value& d) {
         EXPECT_EQ(d["score"].num(), 290);
         EXPECT_EQ(d["hint_cost"].num(), 20);
     }},
    // A tile selected before the prompt: the prompt drops the selection.
    {"HintPromptNo",
     start_game() + "click_cell 3 3\nframes 1\n" + escape_to_pause() +
         "click_item continue 4\nframes 1\nclick_item help 5\nframes 1\ndump\n",
     "PLAY",
     [](const Value& d) {
         EXPECT_EQ(d["score"].num(), 300);
         EXPECT_EQ(d["hint_cost"].num(), 10);
         EXPECT_EQ(d["no_selection"].num(), 1);
     }},
    {"NameEntryEnter",
     start_game() + escape_to_pause() +
         "click_item continue 5\nframes 1\ntype Ann\nchar 13\nframes 5\ndump\n",
     "SCORE_SCREEN",
     [](const Value& d) {
         EXPECT_EQ(d["scores"][7][0].str(), "Лена");
         EXPECT_EQ(d["scores"][8][0].str(), "Ann");
         EXPECT_EQ(d["scores"][8][1].num(), 300);
     }},
    {"ScoreScreenClick", "frames 1\nclick_item main 5\nframes 1\nclick 5 5\nframes 1\ndump\n",
     "MAIN_MENU"},
    {"TrainingNextShowsRules", to_rules + "dump\n", "TRAINING_RULES",
     [](const Value& d) {
         EXPECT_EQ(d["training_level"].num(), -1);
         EXPECT_EQ(item_text(d, "back", 8), "Начать тренировку");
     }},
    {"TrainingRulesClick", to_rules + "click 5 5\nframes 1\ndump\n", "TRAINING_NEXT",
     [](const Value& d) {
         EXPECT_EQ(d["training_level"].num(), 0);
         EXPECT_EQ(item_text(d, "back", 8), "Назад");
     }},
    {"TrainingNextDeals", start_training() + "dump\n", "TRAINING_PLAY",
     [](const Value& d) {
         EXPECT_EQ(d["training_level"].num(), 1);
         EXPECT_EQ(d["tiles_left"].num(), 16);
         EXPECT_EQ(d["score"].num(), 0);
     }},
    {"TrainingHintWhileTilesRemain", start_training() + "click_item training 6\nframes 1\ndump\n",
     "TRAINING_PLAY",
     [](const Value& d) {
         EXPECT_EQ(d["hint_cost"].num(), 10);
         EXPECT_EQ(d["score"].num(), 0);
     }},
    {"TrainingNextAfterClearedBoard",
     start_training() + clear_board() + "click_item training 6\nframes 1\ndump\n", "TRAINING_NEXT",
     [](const Value& d) { EXPECT_EQ(d["training_level"].num(), 1); }},
    {"TrainingEndItem", start_training() + "click_item training 7\nframes 1\ndump\n",
     "TRAINING_NEXT", [](const Value& d) { EXPECT_EQ(d["training_level"].num(), 10); }},
    {"TrainingEscapeEndsTraining", start_training() + "escape down\nframes 1\nescape up\ndump\n",
     "TRAINING_NEXT", [](const Value& d) { EXPECT_EQ(d["training_level"].num(), 10); }},
    {"TrainingNextPastLastLevel", to_training_end + "dump\n", "TRAINING_END",
     [](const Value& d) { EXPECT_EQ(item_text(d, "back", 8), "Дальше"); }},
    {"LastExerciseEndsByItself",
     start_training() + clear_board() + "click_item training 6\nframes 2\n" + clear_board() +
         "click_item training 6\nframes 2\n" + clear_board() + "frames 1\ndump\n",
     "TRAINING_NEXT", [](const Value& d) { EXPECT_EQ(d["training_level"].num(), 3); }},
    {"TrainingEndClick", to_training_end + "click 5 5\nframes 1\ndump\n", "MAIN_MENU",
     [](const Value& d) { EXPECT_EQ(item_text(d, "back", 8), "Назад"); }},
};

INSTANTIATE_TEST_SUITE_P(Game, Transitions, testing::ValuesIn(cases), test_support::CaseName());

}  // namespace
