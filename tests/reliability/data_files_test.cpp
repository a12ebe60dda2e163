// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every file of the game folder in turn missing, replaced by garbage, cut in half or
// turned into a folder, and the game played through every screen: it starts, handles
// the damage as designed (a fatal message for a menu file it cannot use, an empty menu,
// an empty picture, a closed player, a score table out of use) and never crashes or
// hangs. Also the backgrounds: a stage whose picture cannot be loaded is played on black.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/headless_game.h"
#include "platform/png.h"
#include "reliability/damage.h"
#include "reliability/live_game.h"
#include "support/test_support.h"

namespace {

using damage::Damage;
using damage::damage_file;
using damage::damage_name;
using scenario::GameRun;
using scenario::Value;

// What the file is to the game, which decides what its damage must lead to.
enum class Role { menu, screen_picture, atlas, plate, background, music, notice_sound, scores };

struct DataFile {
    const char* id;
    const char* path;
    Role role;
    const char* detail = "";  // the menu's or the music player's name in the dump
};

const DataFile data_files[] = {
    {"MainMenu", "menu/mainmenu.menu", Role::menu, "main"},
    {"ContinueMenu", "menu/continuemenu.menu", Role::menu, "continue"},
    {"HelpMenu", "menu/helpmenu.menu", Role::menu, "help"},
    {"BackMenu", "menu/back.menu", Role::menu, "back"},
    {"TrainingMenu", "menu/training.menu", Role::menu, "training"},
    {"ReallyMenu", "menu/really.menu", Role::menu, "really"},
    {"MenuPicture", "menu/menu.res", Role::screen_picture},
    {"ScorePicture", "menu/menuscore.jpeg", Role::screen_picture},
    {"RulesPicture", "menu/rules.jpg", Role::screen_picture},
    {"RulesEndPicture", "menu/rules_end.bmp", Role::screen_picture},
    {"TileAtlas", "res/pic.bmp", Role::atlas},
    {"TilePlate", "res/panel.bmp", Role::plate},
    {"FirstBackground", "res/01_dawn.back", Role::background},
    {"IntroMusic", "sound/intro.wav", Role::music, "intro"},
    {"MenuMusic", "sound/menu.wav", Role::music, "menu"},
    {"Bells", "sound/bells.wav", Role::music, "bells"},
    {"NoticeSound", "sound/lalai.mp3", Role::notice_sound},
    {"ScoreFile", "score.sco", Role::scores},
};

struct Case {
    std::string name;
    DataFile file;
    Damage damage;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Case> all_cases() {
    std::vector<Case> cases;
    for (const DataFile& f : data_files)
        for (const Damage d : {Damage::missing, Damage::garbage, Damage::truncated, Damage::folder})
            cases.push_back({std::string(f.id) + damage_name(d), f, d});
    return cases;
}

// From the deepest screen (the hint prompt) to the pause menu, the main menu and the
// quit message, which the loop takes on the pass after the close.
const std::string close_requests = "close\nframes 1\nclose\nframes 1\nclose\nframes 2\n";

// Every screen once, with a dump at each of the intact_states below; then close
// requests, which end the game wherever it got stuck. Items are clicked where the
// intact menus have them, as a damaged menu may have none.
std::string tour(const Value& intact) {
    const auto item = [&intact](const char* menu, std::size_t n) {
        const std::vector<std::int64_t> at = intact["item_centres"][menu][n - 1].numbers();
        return "click " + std::to_string(at[0]) + " " + std::to_string(at[1]) + "\n";
    };
    const std::string anywhere = "click 300 300\n";
    const std::string pause = scenario::escape_to_pause();
    std::string script = "frames 1\ndump\n";
    script += item("main", 5) + "frames 1\ndump\n";  // the score screen
    script += anywhere + "frames 1\n" + item("main", 4) + "frames 2\n" + anywhere +
              "frames 2\ndump\n";  // the rules, then the first exercise
    script += item("training", 6) + "frames 1\n" + item("training", 7) +
              "frames 2\ndump\n";  // a hint, then the end of training
    script += anywhere + "frames 1\n" + item("main", 3) + "frames 3\ndump\n";      // a new game
    script += scenario::clear_board() + item("continue", 3) + "frames 3\ndump\n";  // stage 2
    script += pause + item("continue", 4) + "frames 1\n" + item("help", 4) +
              "frames 1\ndump\n";                                  // a paid hint
    script += pause + item("continue", 5) + "frames 1\ndump\n";    // name entry
    script += "type Tester\nframes 8\nchar 13\nframes 2\ndump\n";  // the table with the name
    script += anywhere + "frames 1\ndump\n";                       // the main menu
    script += item("main", 6) + "frames 2\n";                      // the exit item
    return script + close_requests;
}

const std::vector<std::string> intact_states = {
    "MAIN_MENU", "SCORE_SCREEN", "TRAINING_PLAY", "TRAINING_END", "PLAY", "PLAY",
    "PLAY",      "NAME_ENTRY",   "SCORE_SCREEN",  "MAIN_MENU",    "QUIT"};

std::vector<std::string> states_of(const GameRun& run) {
    std::vector<std::string> states;
    for (const Value& dump : run.dumps)
        states.push_back(dump["state"].str());
    return states;
}

bool has_text(const Value& list, const std::string& text) {
    for (const std::string& t : list.texts())
        if (t == text) return true;
    return false;
}

class DamagedFile : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {
  protected:
    // The intact game's first screen, for the item positions and the menus' sizes.
    Value intact_start(const std::string& options) {
        const GameRun run = live::run_script(folder_, "frames 1\ndump\n", options);
        EXPECT_EQ(run.dumps.size(), 1u) << run.errors;
        return run.last();
    }
};

TEST_P(DamagedFile, GameStartsAndHandlesIt) {
    const Case& c = GetParam();
    const std::string path = c.file.path;
    const std::size_t slash = path.find('/');
    if (slash != std::string::npos) own_copy(path.substr(0, slash));
    // The notice sound is opened only on April 1st.
    const std::string options =
        c.file.role == Role::notice_sound ? "--seed 1 --date 2025-04-01" : "--seed 1";
    const Value intact = intact_start(options);
    ASSERT_TRUE(intact.has("item_centres"));
    const std::string old_scores = scenario::read_text(file("score.sco"));

    damage_file(file(path), c.damage);
    const GameRun run = live::run_script(folder_, tour(intact), options);

    // Never a crash, a hang or a script it could not follow: the loop itself ended.
    ASSERT_TRUE(run.exit.has_value()) << "status " << run.status << "\n" << run.errors;
    EXPECT_EQ(run.status, *run.exit);
    EXPECT_TRUE(run.stray_lines.empty());
    ASSERT_FALSE(run.dumps.empty());
    const Value& first = run.dumps.front();

    if (c.file.role == Role::menu && c.damage != Damage::truncated) {
        // A menu file that cannot be opened, or one without its colours, is fatal at
        // start-up: the first frame's look at the queue ends the program. Only the
        // first fatal error gets a box, and it names the file; standard error has it too.
        EXPECT_EQ(*run.exit, 1);
        EXPECT_EQ(run.dumps.size(), 1u);
        std::string game_path = path;
        std::replace(game_path.begin(), game_path.end(), '/', '\\');
        const std::string message =
            (c.damage == Damage::garbage ? "Значение red не найдено.\n"
                                         : "windowmenu::init: невозможно открыть файл\n") +
            game_path;
        EXPECT_EQ(first["fatal"].texts(), std::vector<std::string>{message});
        EXPECT_EQ(run.errors.rfind("vorpy: " + message + "\n", 0), 0u) << run.errors;
        return;
    }
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(*run.exit, 0);
    for (const Value& dump : run.dumps)
        EXPECT_EQ(dump["fatal"].size(), 0u) << "fatal: " << dump["fatal"][0].str();

    switch (c.file.role) {
        case Role::menu:
            // Cut before its text section, the menu loads with fewer items and no message.
            EXPECT_LT(first["menus"][c.file.detail].size(), intact["menus"][c.file.detail].size());
            return;
        case Role::atlas:
            // No cell size, so nothing on any screen can be clicked; a close request ends it.
            EXPECT_EQ(first["cell"].numbers(), (std::vector<std::int64_t>{0, 0}));
            for (const Value& dump : run.dumps)
                EXPECT_EQ(dump["state"].str(), "MAIN_MENU");
            return;
        default:
            break;
    }
    // Everything else leaves the game fully playable.
    ASSERT_EQ(states_of(run), intact_states);
    const Value& score_screen = run.dumps[8];
    switch (c.file.role) {
        case Role::music:
            if (c.damage != Damage::truncated) {
                for (const Value& dump : run.dumps)
                    EXPECT_EQ(dump["music"][c.file.detail].str(), "closed");
                // Without the intro the menu music starts at once.
                if (std::string(c.file.detail) == "intro") {
                    EXPECT_EQ(first["music"]["menu"].str(), "playing");
                }
            }
            break;
        case Role::notice_sound:
            ASSERT_EQ(first["message_boxes"].size(), 1u);
            EXPECT_EQ(first["message_boxes"][0]["caption"].str(), "Внимание !!!");
            EXPECT_TRUE(has_text(first["opened"], "sound\\lalai.mp3"));
            break;
        case Role::scores:
            if (c.damage == Damage::missing || c.damage == Damage::folder) {
                // Not in use: name entry still runs, but the table takes nothing and no
                // file is made.
                for (const Value& dump : run.dumps)
                    EXPECT_EQ(dump["score_loaded"].num(), 0);
                EXPECT_EQ(score_screen["scores"][0][1].num(), 0);
                EXPECT_EQ(std::filesystem::exists(file("score.sco")), c.damage == Damage::folder);
            } else {
                // Read leniently and written back whole: nine lines, the new name among them.
                EXPECT_EQ(score_screen["score_loaded"].num(), 1);
                const std::string table = scenario::read_text(file("score.sco"));
                EXPECT_NE(table, old_scores);
                std::size_t lines = 0;
                for (std::size_t at = 0; (at = table.find("\r\n", at)) != std::string::npos;
                     at += 2)
                    ++lines;
                EXPECT_EQ(lines, 9u) << table;
                EXPECT_NE(table.find("Tester "), std::string::npos) << table;
                if (c.damage == Damage::truncated) {
                    EXPECT_EQ(first["scores"][8][0].str(), "name");
                }
            }
            break;
        default:
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Data, DamagedFile, testing::ValuesIn(all_cases()),
                         test_support::CaseName());

// ---- Backgrounds ------------------------------------------------------------------------

// True when the cells of the ring below and beside the board show nothing: a stage
// played on black. The top row holds the panel and is left out.
bool ring_is_black(const platform::Bitmap& screen, int cell_width, int cell_height) {
    for (int y = cell_height; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            const bool ring = y >= 10 * cell_height || x < cell_width || x >= 17 * cell_width;
            if (ring && screen.at(x, y) != 0) return false;
        }
    }
    return true;
}

struct BackgroundCase {
    std::string name;
    std::vector<std::string> damaged;  // names in res/; "*" for every background
    Damage damage;
    bool first_stage_black;
    bool second_stage_black;
};
void PrintTo(const BackgroundCase& c, std::ostream* os) {
    *os << c.name;
}

class Backgrounds : public scenario::HeadlessGameBase<testing::TestWithParam<BackgroundCase>> {};

TEST_P(Backgrounds, AStageWithoutItsPictureIsPlayedOnBlack) {
    const BackgroundCase& c = GetParam();
    own_copy("res");
    for (const auto& entry : std::filesystem::directory_iterator(file("res"))) {
        const std::string name = entry.path().filename().string();
        for (const std::string& damaged : c.damaged)
            if (damaged == name || (damaged == "*" && entry.path().extension() == ".back"))
                damage_file(entry.path(), c.damage);
    }
    const GameRun run = live::run_script(
        folder_, scenario::start_game() + "screenshot stage1.png\n" + scenario::clear_board() +
                     "click_item continue 3\nframes 3\nscreenshot stage2.png\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.last()["state"].str(), "PLAY");
    const std::vector<std::int64_t> cell = run.last()["cell"].numbers();
    const bool expected[] = {c.first_stage_black, c.second_stage_black};
    for (int stage = 1; stage <= 2; ++stage) {
        const std::string shot = "stage" + std::to_string(stage) + ".png";
        const std::optional<platform::Bitmap> screen = platform::read_png(file(shot).string());
        ASSERT_TRUE(screen.has_value()) << shot;
        EXPECT_EQ(ring_is_black(*screen, static_cast<int>(cell[0]), static_cast<int>(cell[1])),
                  expected[stage - 1])
            << "stage " << stage;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Data, Backgrounds,
    testing::Values(
        BackgroundCase{"Intact", {}, Damage::missing, false, false},
        BackgroundCase{"NoneAtAll", {"*"}, Damage::missing, true, true},
        BackgroundCase{"FirstIsGarbage", {"01_dawn.back"}, Damage::garbage, true, false},
        BackgroundCase{"FirstIsAFolder", {"01_dawn.back"}, Damage::folder, true, false},
        BackgroundCase{"SecondIsGarbage", {"02_sea.back"}, Damage::garbage, false, true}),
    test_support::CaseName());

}  // namespace
