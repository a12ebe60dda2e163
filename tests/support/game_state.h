// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// For the suites that run the whole game in-process: every subsystem's state put back to
// its start-up values, the message queue emptied and the recording devices in place.
#pragma once

#include "app/startup.h"
#include "base/paths.h"
#include "board/board.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "flow/pictures.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/desktop.h"
#include "platform/termination.h"
#include "scores/score_table.h"
#include "sound/music.h"

namespace test_support {

inline void reset_game_state() {
    rules::reset_rules_state();
    flow::reset_flow_state();
    flow::reset_board_pictures();
    flow::reset_screen_pictures();
    reset_menu_state();
    reset_music_state();
    reset_score_state();
    reset_backgrounds();
    app::reset_app_state();
    platform::reset_messages();
    platform::reset_termination();
    platform::set_desktop(nullptr);
    platform::recording_desktop() = platform::RecordingDesktop();
    platform::set_audio(nullptr);
    platform::recording_audio().effects.clear();
}

}  // namespace test_support
