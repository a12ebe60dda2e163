// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The fatal-error path: standard error, the first message box through the desktop,
// then the quit request.
#include "base/fatal.h"

#include <cstdio>

#include "base/language.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"

FatalState& fatal_state() {
    static FatalState state;
    return state;
}

void reset_fatal_state() {
    fatal_state() = FatalState();
}

FatalErrorFile::FatalErrorFile(const char* game_path) : outer_(fatal_state().file) {
    fatal_state().file = game_path;
}

FatalErrorFile::~FatalErrorFile() {
    fatal_state().file = outer_;
}

const char* warning_caption() {
    return localized("Внимание !!!"_cp1251, "Warning!");
}

const char* fatal_error_caption() {
    return localized("Фатальная ошибка"_cp1251, "Fatal error");
}

void fatal_error(const char* text) {
    FatalState& state = fatal_state();
    std::string message = text;
    if (!state.file.empty()) message += "\n" + state.file;
    // Standard error takes UTF-8; the box converts on its own.
    std::fprintf(stderr, "vorpy: %s\n", platform::cp1251_to_utf8(message).c_str());
    std::fflush(stderr);
    if (!state.box_shown) {
        state.box_shown = true;
        platform::desktop().message_box(message, fatal_error_caption(), platform::MB_OK);
    }
    // The program ends with a failure code: a fatal error is not a normal end.
    platform::post_quit_message(1);
}
