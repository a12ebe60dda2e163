// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: whole games played by the simple player for many stages, the board checked
// after every removal and the game's memory compared between the end of the warm-up
// and the end of the run. The suite plays a short run; scripts/soak sets
// VORPY_SOAK_STAGES for a long one. On a fault the script played so far is kept, so
// the same game can be played again with the printed command.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/headless_game.h"
#include "reliability/live_game.h"
#include "reliability/soak_player.h"

namespace {

int from_environment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    const int value = std::atoi(text);
    return value > 0 ? value : fallback;
}

// Memory the game may gain after the warm-up: allocator noise, not a leak. A leak of
// one stage's backdrop (648 x 528 pixels) or cell captures is about 1.3 MiB.
constexpr long allowed_growth_kib = 512;

using Soak = scenario::HeadlessGame;

TEST_F(Soak, WholeGamesKeepTheBoardSoundAndTheMemoryFlat) {
    soak::Plan plan;
    plan.stages = from_environment("VORPY_SOAK_STAGES", 40);
    plan.warm_up_stages = std::min(20, plan.stages / 4);
    const int seed = from_environment("VORPY_SOAK_SEED", 1);
    const std::string options = "--seed " + std::to_string(seed);

    live::LiveGame game(folder_, live::LiveGame::headless_command(options), file("err.txt"));
    ASSERT_TRUE(game.started());
    soak::Player player(game);
    const auto start = std::chrono::steady_clock::now();
    const bool played = player.play(plan) && player.quit();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!played) {
        const std::filesystem::path kept = std::filesystem::temp_directory_path() /
                                           ("vorpy-soak-seed" + std::to_string(seed) + ".txt");
        std::ofstream(kept, std::ios::binary) << game.script();
        ADD_FAILURE() << "the script so far is in " << kept.string() << "; play it again with:\n"
                      << "  cd <copy of the game folder> && " << VORPY_BINARY << " --headless "
                      << options << " --script " << kept.string() << "\n"
                      << "errors: " << scenario::read_text(file("err.txt"));
        return;
    }

    const soak::Figures& f = player.figures();
    std::cout << "soak: " << f.stages << " stages (" << f.removals << " removals, " << f.games
              << " games, " << f.names_entered << " names entered, " << f.hints << " hints, "
              << f.training_rounds << " training rounds, " << f.reshuffles << " reshuffles) in "
              << seconds << " s: " << f.stages / seconds << " stages per second\n"
              << "soak: resident memory after " << plan.warm_up_stages << " stages "
              << f.after_warm_up.resident_kib << " KiB, at the end " << f.at_end.resident_kib
              << " KiB, peak " << f.at_end.peak_kib << " KiB\n";
    EXPECT_EQ(scenario::read_text(file("err.txt")), "");
    if (live::address_sanitizer) return;
    ASSERT_GT(f.after_warm_up.resident_kib, 0) << "no /proc reading of the game's memory";
    EXPECT_LE(f.at_end.resident_kib - f.after_warm_up.resident_kib, allowed_growth_kib)
        << "the game's memory grew after the warm-up; the headless shell keeps each of the "
        << f.effects << " sound effects it recorded";
}

}  // namespace
