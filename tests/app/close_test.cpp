// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Close requests of the window in every state: back towards the main menu, quitting
// from it, and nothing in the states that are passed through or take a name.
#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

using scenario::escape_to_pause;
using scenario::item_text;
using scenario::start_game;
using scenario::start_training;
using scenario::Value;

struct Case {
    std::string name;
    std::string to_state;  // from start-up into the state being closed
    std::string closed_from;
    std::string lands_in;        // after the close and one frame
    std::string back_item = "";  // item 8 of the back menu afterwards, when it matters
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class CloseRequest : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {};

TEST_P(CloseRequest, MovesTowardsTheMainMenu) {
    const Case& c = GetParam();
    const scenario::GameRun run = play(c.to_state + "dump\nclose\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    EXPECT_EQ(run.dumps[0]["state"].str(), c.closed_from);
    EXPECT_EQ(run.dumps[1]["state"].str(), c.lands_in);
    if (!c.back_item.empty()) {
        EXPECT_EQ(item_text(run.dumps[1], "back", 8), c.back_item);
    }
    EXPECT_FALSE(run.exit.has_value());
}

const std::string pause = start_game() + escape_to_pause();

const Case cases[] = {
    {"Play", start_game(), "PLAY", "PAUSE_MENU"},
    {"HintPrompt", pause + "click_item continue 4\nframes 1\n", "HINT_PROMPT", "PAUSE_MENU"},
    {"TrainingPlay", start_training(), "TRAINING_PLAY", "MAIN_MENU", "Назад"},
    {"TrainingRules", "frames 1\nclick_item main 4\nframes 2\n", "TRAINING_RULES", "MAIN_MENU",
     "Назад"},
    {"TrainingEnd", start_training() + "click_item training 7\nframes 2\n", "TRAINING_END",
     "MAIN_MENU", "Назад"},
    // A game left here is kept for the main menu to offer: no name entry, though the
    // score would get in.
    {"PauseMenu", pause, "PAUSE_MENU", "MAIN_MENU"},
    {"ScoreScreen", "frames 1\nclick_item main 5\nframes 1\n", "SCORE_SCREEN", "MAIN_MENU"},
    // The passing states ignore the close; their frame then moves on as usual.
    {"NewStage", "frames 1\nclick_item main 3\nframes 1\n", "NEW_STAGE", "PLAY"},
    {"TrainingNext", "frames 1\nclick_item main 4\nframes 1\n", "TRAINING_NEXT", "TRAINING_RULES"},
    {"NameEntry", pause + "click_item continue 5\nframes 1\n", "NAME_ENTRY", "NAME_ENTRY"},
};

INSTANTIATE_TEST_SUITE_P(Game, CloseRequest, testing::ValuesIn(cases), test_support::CaseName());

using CloseInMainMenu = scenario::HeadlessGame;

TEST_F(CloseInMainMenu, EndsTheProgramOnTheNextPass) {
    const scenario::GameRun run = play("frames 1\nclose\nframes 1\ndump\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    // The close posts the quit message; the pass after it takes the message and ends.
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["state"].str(), "MAIN_MENU");
    ASSERT_TRUE(run.exit.has_value());
    EXPECT_EQ(*run.exit, 0);
    EXPECT_EQ(run.dumps[1]["frame_count"].num(), run.dumps[0]["frame_count"].num());
}

}  // namespace
