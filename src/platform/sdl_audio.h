// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound on SDL2_mixer: the effect voice on one reserved channel, each music file
// on a reserved channel of its own. Without an audio device everything is silent:
// effects play nothing and music files do not open.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/audio.h"

struct Mix_Chunk;

namespace platform {

class SdlAudio : public Audio {
  public:
    SdlAudio();
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Whether an audio device was opened.
    bool available() const { return open_; }
    // Once the game is on screen: without a device, lets SDL's audio go. It may take a
    // tenth of a second, which the first frame should not wait for.
    void settle();
    // After every frame: while nothing sounds (every player paused or stopped, the effect
    // voice done), holds the mixer's device locked, so that its thread sleeps instead of
    // mixing silence twenty times a second; lets it go as soon as something sounds.
    void rest_while_silent();

    void play_effect(std::string_view name, std::span<const std::uint8_t> wave) override;
    int open_music(const std::string& native_path) override;
    void close_music(int player) override;
    PlayerMode music_mode(int player) override;
    void play_music_from_start(int player) override;
    void stop_music(int player) override;
    void pause_music(int player) override;
    void resume_music(int player) override;
    // Unknown here: a music channel that ends pushes an SDL event, which wakes the loop.
    std::int64_t music_ends_at(int player) override;

  private:
    // Channel 0 is the effect voice; player i plays on channel i + 1.
    int channel_of(int player) const;
    // Lets the mixer's device go when it is held.
    void wake_device();
    bool subsystem_up_ = false;  // SDL's audio subsystem, with or without a device
    bool open_ = false;
    std::uint32_t device_ = 0;  // SDL's number of the device the mixer opened; 0: unknown
    bool resting_ = false;      // the device is held locked
    std::map<std::string, Mix_Chunk*, std::less<>> effects_;
    std::vector<Mix_Chunk*> music_;  // null once closed
};

}  // namespace platform
