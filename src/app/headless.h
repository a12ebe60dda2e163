// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless shell: the game's own start-up, message loop and frames, driven by a
// script of input and time steps on a virtual clock, with recording desktop and
// audio, no window, and the state printed as JSON lines.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/locale.h"

namespace app {

struct HeadlessOptions {
    std::optional<std::uint32_t> seed;  // instead of the tick count
    std::optional<int> screen_height;
    std::optional<platform::LocalDate> date;
    // The language the game speaks; the one in use when none is given.
    std::optional<platform::Language> language;
    std::string script_path;  // empty: standard input
    // For scripts from elsewhere: at most this many frames in all, after which the
    // script stops (exit code 2), and screenshot lines that write nothing.
    std::optional<std::int64_t> max_frames;
    bool screenshots = true;
    // How `run` lets time pass: a frame every millisecond, or frames only when input
    // came or the loop's next due time is reached, as the windowed shell runs them.
    enum class Pace { every_ms, due };
    Pace pace = Pace::due;
    // Called after every script line carried out, with the line, for checks of the
    // game's state between commands.
    std::function<void(std::string_view line)> after_line;
};

// Reads the options after --headless; nothing, with the reason in error, when one is
// not understood.
std::optional<HeadlessOptions> parse_headless_options(std::span<const std::string_view> args,
                                                      std::string& error);

// Runs the game in the current folder against the script. Returns the exit code: the
// loop's when it ended (after a last dump and {"exit":code}), 0 when the script ran
// out first (nothing more is printed then), 2 for a line it could not carry out or
// when the frame limit stops it.
int run_headless(const HeadlessOptions& options, std::istream& script, std::ostream& out,
                 std::ostream& err);

// The whole shell from the command line arguments after --headless.
int headless_main(std::span<const std::string_view> args);

}  // namespace app
