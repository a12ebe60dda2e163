// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game in a real window: SDL2 window, desktop services and SDL2_mixer sound
// around the same start-up, message loop and frame function as the headless shell.
#pragma once

#include <cstdint>
#include <optional>

namespace app {

// Runs the game in the current folder until it ends; returns the exit code. scale 0
// picks a whole-number scale from the screen size. Without a display: 1.
int run_windowed(std::optional<std::uint32_t> seed, int scale);

}  // namespace app
