// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A simple player for long runs of the game: it reads the board from each state dump,
// removes the pair the game itself would hint, and walks through everything a player
// does (new games, every stage mode, pauses, hints, closing the window, name entry,
// the score screen, training), checking the board after every removal.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "reliability/live_game.h"

namespace soak {

using scenario::Value;

// What a board in a dump must always satisfy after a removal or a deal: an empty ring,
// tiles_left equal to the occupied cells, every kind on the board 0, 2 or 4 times, no
// removal half done, and while tiles remain an open pair with a usable hint.
testing::AssertionResult board_invariants(const Value& dump);

struct Plan {
    int stages = 40;           // full-game stages to clear
    int stages_per_game = 11;  // then the game is ended through the pause menu
    int training_every = 3;    // a training round before every third game
    int warm_up_stages = 10;   // memory is first measured after these
};

struct Figures {
    int stages = 0;
    int removals = 0;
    int games = 0;
    int names_entered = 0;
    int hints = 0;
    int training_rounds = 0;
    int reshuffles = 0;  // boards left without an open pair and rearranged
    long effects = 0;    // sound effects the game played, all of them kept by the headless shell
    live::MemoryUse after_warm_up;
    live::MemoryUse at_end;
};

class Player {
  public:
    explicit Player(live::LiveGame& game) : game_(game) {}

    // Plays from start-up until the plan is done, ending in the main menu. On the first
    // fault it reports a test failure and returns false.
    bool play(const Plan& plan);
    // Chooses the exit item of the main menu; true when the game ended with code 0.
    bool quit();

    const Figures& figures() const { return figures_; }

  private:
    void take(Value dump);
    bool step(const std::string& lines, const char* expected_state);
    bool fail(const std::string& what);
    bool remove_hinted_pair();
    bool play_stage(int stage_in_game);
    bool pause_and(const std::string& lines, const char* expected_state);
    bool take_hint(bool pay);
    bool end_game();
    bool train();

    live::LiveGame& game_;
    Value dump_;
    Figures figures_;
};

}  // namespace soak
