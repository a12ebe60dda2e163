// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The music: three players on the platform's audio (intro, menu loop, bells) and
// the schedule that runs at the end of every frame and decides from the game state
// what each of them does.
#pragma once

#include <cstdint>
#include <optional>

#include "base/game_states.h"
#include "base/timer.h"
#include "platform/audio.h"

// One sound file on its own player. A file that failed to open leaves the player
// closed: every operation does nothing and its mode reads stopped.
class SoundPlayer {
  public:
    SoundPlayer() = default;
    explicit SoundPlayer(const char* file);  // a game path, e.g. "sound\intro.wav"
    ~SoundPlayer() { close(); }
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    SoundPlayer(SoundPlayer&& other) noexcept;
    SoundPlayer& operator=(SoundPlayer&& other) noexcept;

    bool is_open() const { return is_open_; }
    platform::PlayerMode mode() const;
    // Rewinds and plays, only when the player is stopped (never played, at its end, or stopped).
    void play_from_start();
    void stop();
    void pause_if_playing();
    void resume_if_paused();
    void close();
    // The clock counter reading at which the playing file ends; never_due when it is
    // not playing or the audio cannot tell (it then wakes the loop itself).
    std::int64_t ends_at() const;

  private:
    int device_ = -1;
    bool is_open_ = false;
};

// The schedule's state, as at program start.
struct MusicSchedule {
    SoundPlayer intro_music;
    SoundPlayer menu_music;
    SoundPlayer bells;
    bool players_created = false;
    std::int32_t last_sound_state = no_game_state;
    bool intro_pending = true;
    std::optional<Timer> bell_timer;  // made on the first frame of play
    std::int32_t bell_interval = 0;
    // Silenced by the player for the session: the players pause, no effect sounds.
    bool muted = false;
};

MusicSchedule& music();

// Runs once at the end of every frame with the state the frame left and whether the
// window is active: the state-change sound, intro and menu music, silence and bells
// in play, and pausing everything while the window is inactive.
void update_music(std::int32_t game_state, bool window_active);

// The counter reading at which update_music next has something to do in this state
// with no input: the first frame, the intro, the end of the intro or of the menu
// music, the next bell. never_due when nothing will happen until the state changes.
std::int64_t music_due_at(std::int32_t game_state);

// Silences all music and effects, or brings them back: the players go on from where
// they were paused.
void toggle_mute();

// Closes the players (bells, menu, intro) and forgets the schedule's state.
void reset_music_state();
