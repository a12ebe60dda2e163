// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Games played one after another in one process, each from every subsystem's reset with
// the decoded pictures and music kept, as the headless-script fuzz target plays them,
// print the same dumps and take the same screenshots as each game in a process of its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/headless.h"
#include "app/headless_game.h"
#include "app/preferences.h"
#include "app/startup.h"
#include "flow/kept_game.h"
#include "platform/kept_data.h"
#include "platform/locale.h"

namespace {

using scenario::board_of;
using scenario::escape_to_pause;
using scenario::HeadlessGame;
using scenario::read_text;
using scenario::remove_pair;
using scenario::start_game;
using scenario::start_training;

struct Script {
    const char* name;
    std::string lines;
    bool english = false;  // played with --language en
};

// Every screen and much of what changes state: each ends with a dump and a screenshot.
std::vector<Script> scripts() {
    const std::string end = "frames 2\ndump\nscreenshot shot.png\n";
    return {
        {"MainMenu", "frames 1\nmove 300 250\nframes 2\n" + end},
        {"MenuBorder", "frames 1\nwait 150\nframes 1\nwait 150\nframes 1\n" + end},
        {"Play", start_game() + "click_cell 3 3\nframes 1\nclick_cell 9 4\nframes 1\nwait 1500\n" +
                     "frames 2\nkey h\nframes 2\n" + end},
        {"ClearedStage", start_game() + board_of({{1, 1, 0}, {2, 1, 0}}) + remove_pair(1, 1, 2, 1) +
                             "frames 5\n" + end},
        {"NameEntry", start_game() + "wait 10000\nframes 1\n" + escape_to_pause() +
                          "click_item continue 5\nframes 1\ntype Вася\nchar 13\nframes 3\n" + end},
        {"Training", start_training() + "click_cell 2 2\nframes 1\nclick_cell 3 2\nframes 1\n" +
                         "wait 101\nframes 1\n" + end},
        {"Help", "frames 1\nclick_item main 1\nframes 2\n" + end},
        {"Muted", "frames 1\nkey m\nkey f11\nframes 2\n" + end},
        {"KeptByTerm", start_game() + "click_cell 3 3\nframes 1\nterm\n"},
        {"Quit", "frames 1\nclick_item main 6\nframes 5\n"},
        {"EnglishPause", start_game() + "click_cell 3 3\nframes 1\n" + escape_to_pause() + end,
         true},
        {"EnglishMenuBorder", "frames 1\nwait 150\nframes 1\nclick_item main 1\nframes 2\n" + end,
         true},
    };
}

struct Outcome {
    int exit_code = -1;
    std::string out;
    std::string screenshot;
};

class ReusedProcess : public HeadlessGame {
  protected:
    // The folder as a first run finds it: the starting scores, no preferences, no kept
    // game, no screenshot.
    void fresh_folder() {
        std::filesystem::copy_file(std::filesystem::path(VORPY_GAME_DIR) / "score.sco",
                                   file("score.sco"),
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(file(std::string(app::preferences_file)));
        std::filesystem::remove(file(flow::kept_game_file));
        std::filesystem::remove(file("shot.png"));
    }

    Outcome in_own_process(const Script& script) {
        fresh_folder();
        const scenario::GameRun run =
            play(script.lines, std::string("--seed 1 --date 2026-11-10") +
                                   (script.english ? " --language en" : ""));
        return {run.status, read_text(file("out.txt")), read_text(file("shot.png"))};
    }

    Outcome in_this_process(const Script& script) {
        fresh_folder();
        app::reset_game_state();
        app::HeadlessOptions options;
        options.seed = 1;
        options.date = platform::LocalDate{10, 10};
        if (script.english) options.language = platform::Language::english;
        std::istringstream lines(script.lines);
        std::ostringstream out, err;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        const int exit_code = app::run_headless(options, lines, out, err);
        std::filesystem::current_path(home);
        return {exit_code, out.str(), read_text(file("shot.png"))};
    }

    void TearDown() override {
        app::reset_game_state();
        platform::keep_decoded_data(false);
    }
};

TEST_F(ReusedProcess, GamesAfterOneAnotherMatchGamesOnTheirOwn) {
    const std::vector<Script> all = scripts();
    std::vector<Outcome> own;
    for (const Script& script : all)
        own.push_back(in_own_process(script));
    platform::keep_decoded_data(true);
    // Twice round, so every game also follows each of the others' kinds.
    for (int round = 1; round <= 2; ++round) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const Script& script = all[i];
            SCOPED_TRACE(std::string(script.name) + ", round " + std::to_string(round));
            const Outcome reused = in_this_process(script);
            EXPECT_EQ(reused.exit_code, own[i].exit_code);
            EXPECT_FALSE(own[i].out.empty());
            EXPECT_EQ(reused.out, own[i].out);
            EXPECT_EQ(reused.screenshot.size(), own[i].screenshot.size());
            EXPECT_TRUE(reused.screenshot == own[i].screenshot) << "the screenshots differ";
        }
    }
}

}  // namespace
