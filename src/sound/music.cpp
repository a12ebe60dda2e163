// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SoundPlayer over platform::audio() and the per-frame music schedule.
#include "sound/music.h"

#include <algorithm>
#include <utility>

#include "base/random.h"
#include "platform/files.h"
#include "sound/effects.h"

SoundPlayer::SoundPlayer(const char* file) {
    device_ = platform::audio().open_music(platform::native_path(file));
    is_open_ = device_ >= 0;
}

SoundPlayer::SoundPlayer(SoundPlayer&& other) noexcept
    : device_(std::exchange(other.device_, -1)), is_open_(std::exchange(other.is_open_, false)) {}

SoundPlayer& SoundPlayer::operator=(SoundPlayer&& other) noexcept {
    if (this != &other) {
        close();
        device_ = std::exchange(other.device_, -1);
        is_open_ = std::exchange(other.is_open_, false);
    }
    return *this;
}

platform::PlayerMode SoundPlayer::mode() const {
    return is_open_ ? platform::audio().music_mode(device_) : platform::PlayerMode::stopped;
}

void SoundPlayer::play_from_start() {
    if (is_open_ && mode() == platform::PlayerMode::stopped)
        platform::audio().play_music_from_start(device_);
}

void SoundPlayer::stop() {
    if (is_open_) platform::audio().stop_music(device_);
}

void SoundPlayer::pause_if_playing() {
    if (is_open_ && mode() == platform::PlayerMode::playing) platform::audio().pause_music(device_);
}

void SoundPlayer::resume_if_paused() {
    if (is_open_ && mode() == platform::PlayerMode::paused) platform::audio().resume_music(device_);
}

void SoundPlayer::close() {
    if (is_open_) platform::audio().close_music(device_);
    is_open_ = false;
    device_ = -1;
}

MusicSchedule& music() {
    static MusicSchedule schedule;
    return schedule;
}

void update_music(std::int32_t game_state, bool window_active) {
    MusicSchedule& m = music();
    if (game_state >= PLAY && game_state <= NAME_ENTRY && game_state != m.last_sound_state) {
        m.last_sound_state = game_state;
        play_effect(Effect::MENU_GO);
    }
    if (!m.players_created) {
        m.players_created = true;
        m.intro_music = SoundPlayer("sound\\intro.wav");
        m.menu_music = SoundPlayer("sound\\menu.wav");
        m.bells = SoundPlayer("sound\\bells.wav");
    }
    SoundPlayer* players[] = {&m.intro_music, &m.menu_music, &m.bells};
    // Muted, the schedule stands still: a paused intro must not start the menu music
    // under it, and everything goes on from where it was when the sound comes back.
    if (m.muted) {
        for (SoundPlayer* p : players)
            p->pause_if_playing();
        return;
    }
    if (game_state == MAIN_MENU && m.intro_pending) {
        m.intro_music.play_from_start();
        m.intro_pending = false;
    }
    if (game_state >= MAIN_MENU && game_state <= NAME_ENTRY &&
        m.intro_music.mode() != platform::PlayerMode::playing) {
        m.menu_music.play_from_start();
    }
    if (game_state == PLAY || game_state == TRAINING_PLAY || game_state == QUIT) {
        m.intro_music.stop();
        m.menu_music.stop();
    }
    if (game_state == PLAY || game_state == TRAINING_PLAY) {
        if (!m.bell_timer) m.bell_timer.emplace();
        if (static_cast<double>(m.bell_timer->elapsed_us()) >
            static_cast<double>(m.bell_interval) * 100000.0) {
            m.bells.play_from_start();
            m.bell_interval = random_below(50);
            m.bell_timer->restart();
        }
    } else {
        m.bells.stop();
    }
    for (SoundPlayer* p : players) {
        if (window_active)
            p->resume_if_paused();
        else
            p->pause_if_playing();
    }
}

std::int64_t SoundPlayer::ends_at() const {
    return is_open_ ? platform::audio().music_ends_at(device_) : never_due;
}

std::int64_t music_due_at(std::int32_t game_state) {
    const MusicSchedule& m = music();
    if (!m.players_created) return due_now;
    if (m.muted) return never_due;
    if (game_state == MAIN_MENU && m.intro_pending) return due_now;
    std::int64_t due = never_due;
    if (game_state >= MAIN_MENU && game_state <= NAME_ENTRY) {
        // The menu music starts once the intro is over and again each time it ends.
        if (m.intro_music.mode() == platform::PlayerMode::playing)
            due = m.intro_music.ends_at();
        else if (m.menu_music.is_open() && m.menu_music.mode() == platform::PlayerMode::stopped)
            due = due_now;
        else
            due = m.menu_music.ends_at();
    }
    if (game_state == PLAY || game_state == TRAINING_PLAY) {
        if (!m.bell_timer) return due_now;
        due = std::min(due, m.bell_timer->due_at(std::int64_t{m.bell_interval} * 100000, false));
    }
    return due;
}

void toggle_mute() {
    music().muted = !music().muted;
}

void reset_music_state() {
    MusicSchedule& m = music();
    m.bells.close();
    m.menu_music.close();
    m.intro_music.close();
    m = MusicSchedule();
}
