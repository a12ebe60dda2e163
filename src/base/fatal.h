// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one path for unrecoverable failures: a modal message box captioned
// "Фатальная ошибка" ("Fatal error" in English), then a request to end the message loop with exit
// code 1. Every text also goes to standard error; only the first of a run gets a box.
#pragma once

#include <string>

// Shows text (Windows-1251) in a modal message box, then asks the message loop to
// end with exit code 1, and returns; the program ends when the loop next looks.
// Once one fatal error has been shown the program is ending, and what goes wrong
// after it follows from it: later texts go to standard error only. While a
// FatalErrorFile lives, the text names its file on a line of its own.
void fatal_error(const char* text);

// The caption of a fatal error's box in the language in use.
const char* fatal_error_caption();
// The caption of a box that warns of a failure the game goes on after.
const char* warning_caption();

// Names the file being read for the fatal errors raised while it lives.
class FatalErrorFile {
  public:
    explicit FatalErrorFile(const char* game_path);
    ~FatalErrorFile();
    FatalErrorFile(const FatalErrorFile&) = delete;
    FatalErrorFile& operator=(const FatalErrorFile&) = delete;

  private:
    std::string outer_;
};

// What the fatal-error path remembers: whether a box was shown, and the file being read.
struct FatalState {
    bool box_shown = false;
    std::string file;
};
FatalState& fatal_state();
void reset_fatal_state();
