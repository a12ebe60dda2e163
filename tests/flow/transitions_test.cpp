// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The flow's transitions in-process: every state put back to its start-up value, the
// game opened on the generated game folder, then one state set up, one input given
// and one frame run; each case checks the state it lands in and what comes with it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/startup.h"
#include "app/state_dump.h"
#include "base/paths.h"
#include "board/board.h"
#include "board/stage.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "flow/pictures.h"
#include "menu/menu_items.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/window.h"
#include "scores/score_table.h"
#include "sound/music.h"
#include "support/test_support.h"

namespace {

using test_support::str;

// Every program-wide state back to its start-up value.
using app::reset_game_state;

// What the frame is given: nothing, a click on an item of a menu, a click at a point,
// the Escape key held, or a key pressed.
struct Input {
    windowmenu MenuState::*menu = nullptr;
    int item = 0;
    int x = -1, y = -1;
    bool escape = false;
    std::uint32_t key = 0;
};
Input none() {
    return {};
}
Input item(windowmenu MenuState::*menu, int number) {
    return {menu, number};
}
Input click_at(int x, int y) {
    return {nullptr, 0, x, y};
}
Input escape() {
    return {nullptr, 0, -1, -1, true};
}
Input key(std::uint32_t code) {
    return {nullptr, 0, -1, -1, false, code};
}
// The keyboard lit the item last: Enter or Space then chooses it.
void keys_lit(windowmenu MenuState::*menu, int number) {
    platform::Window scratch;
    (menu_state().*menu).light_item(scratch, number);
    flow::flow_state().keys_lead = 1;
}

struct Case {
    std::string name;
    GameState from;
    std::function<void()> setup;  // after the state is set, before the frame
    Input input;
    GameState to;
    std::function<void()> also = nullptr;
};

// A stage dealt and played for a frame, as a game in progress.
void in_play() {
    rules::begin_stage();
    rules::deal_stage_board();
}
void training_dealt() {
    flow::flow_state().training_level = 1;
    rules::deal_training_exercise(1);
}
const rules::RulesState& rules_now() {
    return rules::rules_state();
}
std::string back_button() {
    return str(menu_state().back_menu.item_texts[menu_items::back::button]);
}
void nothing() {}

namespace items = menu_items;
constexpr auto main_menu = &MenuState::main_menu;
constexpr auto pause_menu = &MenuState::continue_menu;
constexpr auto hint_menu = &MenuState::help_menu;
constexpr auto training_menu = &MenuState::training_menu;
constexpr auto back_menu = &MenuState::back_menu;

const Case cases[] = {
    {"MainMenuNewGame", MAIN_MENU,
     [] {
         rules::rules_state().score = 99;
         rules::rules_state().stage_bonus = 50;
         rules::rules_state().board_mode = 5;
     },
     item(main_menu, items::main::new_game), NEW_STAGE,
     [] {
         EXPECT_EQ(rules_now().score, 0);
         EXPECT_EQ(rules_now().stage_bonus, 300);
         EXPECT_EQ(rules_now().board_mode, 0);
     }},
    {"MainMenuTraining", MAIN_MENU, nothing, item(main_menu, items::main::training), TRAINING_NEXT,
     [] { EXPECT_EQ(flow::flow_state().training_level, -1); }},
    {"MainMenuScores", MAIN_MENU, nothing, item(main_menu, items::main::scores), SCORE_SCREEN},
    {"MainMenuQuit", MAIN_MENU, nothing, item(main_menu, items::main::quit), QUIT},
    {"MainMenuPlaceHolderItem", MAIN_MENU, nothing, item(main_menu, 1), MAIN_MENU},
    {"MainMenuNoClick", MAIN_MENU, nothing, none(), MAIN_MENU},
    {"NewStageDealsAndPlays", NEW_STAGE, nothing, none(), PLAY,
     [] {
         EXPECT_EQ(rules_now().tiles_left, 144);
         EXPECT_EQ(rules_now().score, 300);
         EXPECT_EQ(rules_now().stage_bonus, 250);
         EXPECT_EQ(rules_now().board_mode, 1);
     }},
    {"PlayEscape", PLAY, in_play, escape(), PAUSE_MENU},
    {"PlayMenuButton", PLAY, in_play, click_at(5, 5), PAUSE_MENU},
    {"PlayClickOnTheBoard", PLAY, in_play, click_at(3 * 36 + 18, 3 * 48 + 24), PLAY,
     [] { EXPECT_EQ(rules_now().no_selection, 0); }},
    {"PlayBoardClearedInModeNine", PLAY,
     [] {
         rules::rules_state().board_mode = 9;
         rules::rules_state().score = 5;
         rules::rules_state().tiles_left = 0;
     },
     none(), PAUSE_MENU, [] { EXPECT_EQ(rules_now().score, 1005); }},
    {"PauseResume", PAUSE_MENU, in_play, item(pause_menu, items::pause::resume), PLAY},
    {"PauseResumeAfterClearedBoard", PAUSE_MENU, [] { rules::rules_state().tiles_left = 0; },
     item(pause_menu, items::pause::resume), NEW_STAGE},
    {"PauseHint", PAUSE_MENU, in_play, item(pause_menu, items::pause::hint), HINT_PROMPT},
    {"PauseHintAfterClearedBoard", PAUSE_MENU, [] { rules::rules_state().tiles_left = 0; },
     item(pause_menu, items::pause::hint), PAUSE_MENU},
    {"PauseEndWithHighScore", PAUSE_MENU,
     [] {
         in_play();
         flow::flow_state().input.typed_chars = "xy";
         flow::flow_state().input.last_control_char = 9;
     },
     item(pause_menu, items::pause::end_game), NAME_ENTRY,
     [] {
         EXPECT_EQ(str(flow::flow_state().input.typed_chars), "");
         EXPECT_EQ(flow::flow_state().input.last_control_char, 0u);
     }},
    {"PauseEndWithLowScore", PAUSE_MENU,
     [] { rules::rules_state().score = score_table().lowest_score(); },
     item(pause_menu, items::pause::end_game), MAIN_MENU},
    {"HintShown", HINT_PROMPT, in_play, item(hint_menu, items::hint::show), PLAY,
     [] {
         EXPECT_EQ(rules_now().score, 290);
         EXPECT_EQ(rules_now().hint_cost, 20);
     }},
    {"HintDeclinedDropsTheSelection", HINT_PROMPT,
     [] {
         in_play();
         rules::rules_state().no_selection = 0;
     },
     item(hint_menu, items::hint::decline), PLAY,
     [] {
         EXPECT_EQ(rules_now().score, 300);
         EXPECT_EQ(rules_now().no_selection, 1);
     }},
    {"ScoreScreenClick", SCORE_SCREEN, nothing, click_at(5, 5), MAIN_MENU},
    {"TrainingNextShowsTheRules", TRAINING_NEXT, [] { flow::flow_state().training_level = -1; },
     none(), TRAINING_RULES, [] { EXPECT_EQ(back_button(), "Начать тренировку"_cp1251); }},
    {"TrainingRulesClick", TRAINING_RULES, [] { flow::flow_state().training_level = -1; },
     item(back_menu, items::back::button), TRAINING_NEXT,
     [] {
         EXPECT_EQ(flow::flow_state().training_level, 0);
         EXPECT_EQ(back_button(), "Назад"_cp1251);
     }},
    {"TrainingNextDeals", TRAINING_NEXT, [] { flow::flow_state().training_level = 0; }, none(),
     TRAINING_PLAY,
     [] {
         EXPECT_EQ(flow::flow_state().training_level, 1);
         EXPECT_EQ(rules_now().tiles_left, 16);
     }},
    {"TrainingNextPastTheLastLevel", TRAINING_NEXT, [] { flow::flow_state().training_level = 3; },
     none(), TRAINING_END, [] { EXPECT_EQ(back_button(), "Дальше"_cp1251); }},
    {"TrainingHintWhileTilesRemain", TRAINING_PLAY, training_dealt,
     item(training_menu, items::training::hint), TRAINING_PLAY,
     [] { EXPECT_EQ(rules_now().hint_cost, 10); }},
    {"TrainingHintAfterClearedBoard", TRAINING_PLAY,
     [] {
         training_dealt();
         rules::rules_state().tiles_left = 0;
     },
     item(training_menu, items::training::hint), TRAINING_NEXT},
    {"TrainingEndItem", TRAINING_PLAY, training_dealt, item(training_menu, items::training::end),
     TRAINING_NEXT, [] { EXPECT_EQ(flow::flow_state().training_level, 10); }},
    {"TrainingEscape", TRAINING_PLAY, training_dealt, escape(), TRAINING_NEXT,
     [] { EXPECT_EQ(flow::flow_state().training_level, 10); }},
    {"LastExerciseClearedEndsByItself", TRAINING_PLAY,
     [] {
         flow::flow_state().training_level = 3;
         rules::rules_state().tiles_left = 0;
     },
     none(), TRAINING_NEXT},
    {"TrainingEndClick", TRAINING_END, nothing, item(back_menu, items::back::button), MAIN_MENU,
     [] { EXPECT_EQ(back_button(), "Назад"_cp1251); }},

    // The keys: Enter and Space choose the lit item as a click would; the screens with
    // one button take them whatever is lit; H asks for a hint.
    {"MainMenuEnterOnNewGame", MAIN_MENU, [] { keys_lit(main_menu, items::main::new_game); },
     key(platform::VK_RETURN), NEW_STAGE},
    {"MainMenuSpaceOnQuit", MAIN_MENU, [] { keys_lit(main_menu, items::main::quit); },
     key(platform::VK_SPACE), QUIT},
    {"MainMenuEnterWithNothingLit", MAIN_MENU, nothing, key(platform::VK_RETURN), MAIN_MENU},
    {"PauseEnterOnHint", PAUSE_MENU,
     [] {
         in_play();
         keys_lit(pause_menu, items::pause::hint);
     },
     key(platform::VK_RETURN), HINT_PROMPT},
    {"HintPromptSpaceOnShow", HINT_PROMPT,
     [] {
         in_play();
         keys_lit(hint_menu, items::hint::show);
     },
     key(platform::VK_SPACE), PLAY, [] { EXPECT_EQ(rules_now().score, 290); }},
    {"ScoreScreenEnter", SCORE_SCREEN, nothing, key(platform::VK_RETURN), MAIN_MENU},
    {"TrainingRulesSpace", TRAINING_RULES, [] { flow::flow_state().training_level = -1; },
     key(platform::VK_SPACE), TRAINING_NEXT},
    {"TrainingEndEnter", TRAINING_END, nothing, key(platform::VK_RETURN), MAIN_MENU},
    {"PlayH", PLAY, in_play, key(platform::VK_H), HINT_PROMPT,
     [] { EXPECT_EQ(rules_now().score, 300) << "the prompt asks before anything is paid"; }},
    {"PlayHOnAClearedBoard", PLAY,
     [] {
         in_play();
         rules::rules_state().tiles_left = 0;
     },
     key(platform::VK_H), PAUSE_MENU},
    {"PlayEnterWithoutCursor", PLAY, in_play, key(platform::VK_RETURN), PLAY,
     [] { EXPECT_EQ(rules_now().no_selection, 1); }},
    {"TrainingHIsTheHintItem", TRAINING_PLAY, training_dealt, key(platform::VK_H), TRAINING_PLAY,
     [] { EXPECT_EQ(rules_now().hint_cost, 10); }},
    {"TrainingEnterOnAClearedBoardGoesOn", TRAINING_PLAY,
     [] {
         training_dealt();
         rules::rules_state().tiles_left = 0;
     },
     key(platform::VK_RETURN), TRAINING_NEXT},
    {"NameEntryMIsALetter", NAME_ENTRY, nothing, key(platform::VK_M), NAME_ENTRY,
     [] { EXPECT_FALSE(music().muted); }},
};

class FlowGame : public testing::Test {
  protected:
    void SetUp() override {
        old_folder_ = std::filesystem::current_path();
        std::filesystem::current_path(VORPY_GAME_DIR);
        platform::set_clock(&clock_);
        reset_game_state();
        app::open_game(window_, 1);
        ASSERT_EQ(rules::rules_state().cell_width, 36) << "the cases click 36 x 48 cells";
        ASSERT_EQ(rules::rules_state().cell_height, 48);
    }
    void TearDown() override {
        app::close_game();
        reset_game_state();
        platform::set_clock(nullptr);
        std::filesystem::current_path(old_folder_);
    }

    // Gives the input to the next frame.
    void give(const Input& input) {
        flow::Input& in = flow::flow_state().input;
        if (input.menu != nullptr) {
            const app::Point centre = app::item_centre(menu_state().*input.menu, input.item);
            in.mouse_x = static_cast<std::uint16_t>(centre.x);
            in.mouse_y = static_cast<std::uint16_t>(centre.y);
            in.click_count = 1;
        } else if (input.x >= 0) {
            in.mouse_x = static_cast<std::uint16_t>(input.x);
            in.mouse_y = static_cast<std::uint16_t>(input.y);
            in.click_count = 1;
        }
        platform::recording_desktop().escape = input.escape;
        in.key_pressed = input.key;
    }

    std::filesystem::path old_folder_;
    platform::VirtualClock clock_;
    platform::Window window_;
};

class FlowTransitions : public FlowGame, public testing::WithParamInterface<Case> {};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(FlowTransitions, OneFrameLandsInTheExpectedState) {
    const Case& c = GetParam();
    flow::flow_state().game_state = c.from;
    c.setup();
    give(c.input);
    const bool running = flow::run_frame(window_);
    EXPECT_EQ(app::state_name(flow::flow_state().game_state), app::state_name(c.to));
    EXPECT_TRUE(running);
    EXPECT_TRUE(platform::recording_desktop().boxes.empty()) << "a message box, fatal or not";
    if (c.also) c.also();
}

INSTANTIATE_TEST_SUITE_P(Flow, FlowTransitions, testing::ValuesIn(cases), test_support::CaseName());

// A close request: back towards the main menu, or out of the program from it.
TEST_F(FlowGame, CloseRequests) {
    const struct {
        GameState from;
        GameState to;
    } closes[] = {
        {PLAY, PAUSE_MENU},          {HINT_PROMPT, PAUSE_MENU}, {TRAINING_PLAY, MAIN_MENU},
        {TRAINING_RULES, MAIN_MENU}, {TRAINING_END, MAIN_MENU}, {PAUSE_MENU, MAIN_MENU},
        {SCORE_SCREEN, MAIN_MENU},   {NAME_ENTRY, NAME_ENTRY},  {MAIN_MENU, MAIN_MENU},
    };
    for (const auto& c : closes) {
        platform::reset_messages();
        menu_state().back_menu.set_item_text(items::back::button, "Дальше"_cp1251);
        flow::flow_state().game_state = c.from;
        flow::on_close(window_);
        EXPECT_EQ(app::state_name(flow::flow_state().game_state), app::state_name(c.to))
            << "from " << app::state_name(c.from);
        platform::Message message;
        EXPECT_EQ(platform::peek_message(message) && message.type == platform::MessageType::quit,
                  c.from == MAIN_MENU)
            << "from " << app::state_name(c.from);
        if (c.from == TRAINING_PLAY || c.from == TRAINING_RULES || c.from == TRAINING_END) {
            EXPECT_EQ(back_button(), "Назад"_cp1251) << "from " << app::state_name(c.from);
        }
    }
}

// Presses that pile up between two frames act once, at the last position. (A window
// that is inactive drops its clicks, so only a slow frame lets them pile up.)
TEST_F(FlowGame, TwoClicksBetweenFramesActOnceAtTheLastPosition) {
    rules::Board board{};
    board.clear();
    board.at(1, 1) = 0;
    board.at(2, 1) = 0;
    rules::place_board(board);
    flow::FlowState& f = flow::flow_state();
    f.game_state = PLAY;
    f.input.mouse_x = 2 * 36 + 18;
    f.input.mouse_y = 48 + 24;
    f.input.click_count = 2;
    flow::run_frame(window_);
    EXPECT_EQ(rules_now().no_selection, 0);
    EXPECT_EQ(rules_now().selected_cell, (rules::Cell{2, 1}));
    EXPECT_EQ(rules_now().tiles_left, 2);
    EXPECT_EQ(f.input.click_count, 0);
}

// A double click must not fall through onto an item that spends points or quits: on
// every way from a menu item to a menu holding one (the other ways lead to the board
// or to menus without such items), no point of the item's hit zone lies in
// the hit zone of such an item of the menu it leads to.
TEST_F(FlowGame, NoDangerousItemUnderTheItemThatLedToIt) {
    const struct Way {
        const char* name;
        windowmenu MenuState::*from;
        int item;
        windowmenu MenuState::*to;
    } ways[] = {
        {"pause hint to the hint prompt", pause_menu, items::pause::hint, hint_menu},
        {"pause end to the main menu", pause_menu, items::pause::end_game, main_menu},
        {"back button to the main menu", back_menu, items::back::button, main_menu},
    };
    const struct Danger {
        windowmenu MenuState::*menu;
        int item;
    } dangers[] = {{hint_menu, items::hint::show}, {main_menu, items::main::quit}};
    // The back button's longest text: its zone is widest then.
    menu_state().back_menu.set_item_text(items::back::button, "Начать тренировку"_cp1251);
    for (const Way& way : ways) {
        windowmenu& from = menu_state().*way.from;
        windowmenu& to = menu_state().*way.to;
        int points = 0;
        for (int y = 0; y < window_.client_height(); ++y)
            for (int x = 0; x < window_.client_width(); ++x) {
                if (from.item_at(x, y) != way.item) continue;
                ++points;
                for (const Danger& danger : dangers) {
                    if (danger.menu != way.to) continue;
                    ASSERT_NE(to.item_at(x, y), danger.item)
                        << way.name << ": " << x << "," << y << " is on item " << danger.item;
                }
            }
        EXPECT_GT(points, 0) << way.name << ": the item has no hit zone";
    }
}

}  // namespace
