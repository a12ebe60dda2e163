// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game states: which screen the game is on and what each frame does there. The
// flow moves between them; the music schedule and the state dump read them.
#pragma once

#include <cstdint>

// The numbers matter: rules test ranges of them (PLAY..NAME_ENTRY are the screens the
// state-change sound marks, MAIN_MENU..NAME_ENTRY those with menu music). 12 and 13
// are never entered.
enum GameState : std::int32_t {
    NEW_STAGE = 0,
    PLAY = 1,
    TRAINING_NEXT = 2,
    TRAINING_PLAY = 3,
    MAIN_MENU = 4,
    TRAINING_RULES = 5,
    TRAINING_END = 6,
    HINT_PROMPT = 7,
    PAUSE_MENU = 8,
    // "Вы уверены?" before a new game replaces the kept one.
    CONFIRM_NEW_GAME = 9,
    SCORE_SCREEN = 10,
    NAME_ENTRY = 11,
    QUIT = 14,
};

// A number no state has: what the music schedule last saw before the first frame.
constexpr std::int32_t no_game_state = 12;
