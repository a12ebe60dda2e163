// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game under valgrind from start-up to the exit item: the soak player's training
// round, games with their stages, hints, name entry and score screen, on intact data and
// on data whose pictures, sound and score file are broken (the error paths of the
// loaders). Any invalid read or write, use of uninitialised memory, or block of the game
// definitely lost fails the run; memory still reachable from libraries at exit does not.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/headless_game.h"
#include "reliability/damage.h"
#include "reliability/live_game.h"
#include "reliability/soak_player.h"
#include "support/test_support.h"

namespace {

using damage::Damage;

std::string program_on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return "";
}

struct Broken {
    const char* path;
    Damage damage;
};

struct Case {
    std::string name;
    int stages;
    int stages_per_game;
    std::vector<Broken> broken;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class UnderValgrind : public scenario::HeadlessGameBase<testing::TestWithParam<Case>> {};

TEST_P(UnderValgrind, NoMemoryErrorsAndNothingLost) {
    if (live::address_sanitizer) GTEST_SKIP() << "the game is built with AddressSanitizer";
    const std::string valgrind = program_on_path("valgrind");
    if (valgrind.empty()) GTEST_SKIP() << "valgrind is not installed";
    for (const char* data : {"menu", "res", "sound"})
        own_copy(data);
    for (const Broken& b : GetParam().broken)
        damage::damage_file(file(b.path), b.damage);

    std::vector<std::string> command = {valgrind,
                                        "--error-exitcode=1",
                                        "--leak-check=full",
                                        "--errors-for-leak-kinds=definite",
                                        "--show-leak-kinds=definite",
                                        "--log-file=" + file("valgrind.log").string()};
    for (const std::string& word : live::LiveGame::headless_command("--seed 3"))
        command.push_back(word);
    live::LiveGame game(folder_, command, file("err.txt"));
    ASSERT_TRUE(game.started());
    game.deadline = std::chrono::minutes(2);

    soak::Plan plan;
    plan.stages = GetParam().stages;
    plan.stages_per_game = GetParam().stages_per_game;
    plan.training_every = 1;
    soak::Player player(game);
    const bool played = player.play(plan) && player.quit();
    const std::string log = scenario::read_text(file("valgrind.log"));
    ASSERT_TRUE(played) << log;
    EXPECT_NE(log.find("ERROR SUMMARY: 0 errors"), std::string::npos) << log;
    // The leak summary names definitely lost blocks only when there are any to name.
    EXPECT_EQ(log.find("definitely lost: "), log.find("definitely lost: 0 bytes")) << log;
}

// Two games through all nine stage modes; on broken data a shorter run does.
INSTANTIATE_TEST_SUITE_P(Game, UnderValgrind,
                         testing::Values(Case{"IntactData", 18, 9, {}},
                                         Case{"BrokenData",
                                              4,
                                              2,
                                              {{"res/02_sea.back", Damage::truncated},
                                               {"res/03_forest.back", Damage::garbage},
                                               {"res/panel.bmp", Damage::truncated},
                                               {"menu/rules_end.bmp", Damage::truncated},
                                               {"menu/rules.jpg", Damage::garbage},
                                               {"sound/bells.wav", Damage::truncated},
                                               {"sound/menu.wav", Damage::garbage},
                                               {"score.sco", Damage::truncated}}}),
                         test_support::CaseName());

}  // namespace
