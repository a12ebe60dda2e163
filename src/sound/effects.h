// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The five short effects and play_effect: each a RIFF WAVE built into the program,
// played on the one effect voice (a new effect cuts off the one playing).
#pragma once

#include <cstdint>
#include <span>

enum class Effect { DELETE_OK, DELETE_NO, RESHUFFLE, VZDOH, MENU_GO };

const char* effect_name(Effect effect);

// The effect's wave data built into the program; tools/assetgen generates them into
// the build folder.
std::span<const std::uint8_t> effect_wave(Effect effect);

// Plays the effect asynchronously; the game never waits for it.
void play_effect(Effect effect);
