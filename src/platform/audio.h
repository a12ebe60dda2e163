// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound output as the game uses it: one effect voice (a new effect cuts off the
// one playing) and music players that open a file and report stopped, playing or
// paused. A recording stand-in keeps what was played for tests and times the
// music on the platform clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Music files are a few megabytes; anything far larger is not ours and is not read.
inline constexpr std::size_t max_music_file_bytes = std::size_t{256} << 20;

enum class PlayerMode { stopped, playing, paused };

class Audio {
  public:
    virtual ~Audio() = default;
    // Plays a RIFF WAVE effect held in memory on the effect voice, cutting off the one playing.
    virtual void play_effect(std::string_view name, std::span<const std::uint8_t> wave) = 0;

    // Opens a sound file for a music player; -1 when it cannot be opened or played.
    virtual int open_music(const std::string& native_path) = 0;
    virtual void close_music(int player) = 0;
    // Stopped: never played, played to its end, or stopped.
    virtual PlayerMode music_mode(int player) = 0;
    // Starts playing from the beginning and returns at once.
    virtual void play_music_from_start(int player) = 0;
    virtual void stop_music(int player) = 0;
    virtual void pause_music(int player) = 0;
    virtual void resume_music(int player) = 0;
    // The clock counter reading at which a playing file reaches its end. The largest
    // value when it is not playing, or when this audio cannot tell: such an audio wakes
    // the message loop itself when a file ends.
    virtual std::int64_t music_ends_at(int player) = 0;
};

// Records effects and keeps music players as plain state: a playing file stops by
// itself once its length has passed on the platform clock.
class RecordingAudio : public Audio {
  public:
    void play_effect(std::string_view name, std::span<const std::uint8_t> wave) override;
    int open_music(const std::string& native_path) override;
    void close_music(int player) override;
    PlayerMode music_mode(int player) override;
    void play_music_from_start(int player) override;
    void stop_music(int player) override;
    void pause_music(int player) override;
    void resume_music(int player) override;
    std::int64_t music_ends_at(int player) override;

    // The file a player was opened on, "" for an unknown or closed player.
    std::string music_path(int player) const;
    void reset();

    std::vector<std::string> effects;  // names in the order played

  private:
    struct Player {
        std::string path;
        bool open = false;
        std::int64_t length_us = 0;
        PlayerMode mode = PlayerMode::stopped;
        std::int64_t played_us = 0;        // position when last paused or stopped
        std::int64_t started_counter = 0;  // clock counter when playing last began
    };
    Player* find(int player);
    std::int64_t position_us(const Player& p) const;
    std::vector<Player> players_;
};

// The length in microseconds of a RIFF WAVE file's sound, or -1 when it is not one.
std::int64_t wave_length_us(std::span<const std::uint8_t> file);

// The audio in use; a RecordingAudio until a shell installs its own.
Audio& audio();
void set_audio(Audio* audio);  // null puts the recording audio back
RecordingAudio& recording_audio();

}  // namespace platform
