// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// SdlAudio: chunks on reserved channels. A paused channel also counts as playing
// in SDL_mixer, so "playing" here means playing and not paused.
#include "platform/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <limits>

#include "platform/files.h"
#include "platform/sdl_window.h"

namespace platform {

namespace {
constexpr int effect_channel = 0;
// Channels beyond the effect voice, one per music player; the game opens three.
constexpr int music_channels = 7;

// Runs on the audio thread (or inside a halt) when a channel stops: a music file that
// ended wakes the message loop, whose next frame may start the next one.
void wake_loop_on_music_end(int channel) {
    if (channel != effect_channel) SdlWindow::wake_from_any_thread();
}

// A sound chunk decoded from a wave file held in memory; null when it is no sound.
Mix_Chunk* chunk_of(std::span<const std::uint8_t> wave) {
    SDL_RWops* source = SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size()));
    return source != nullptr ? Mix_LoadWAV_RW(source, 1) : nullptr;
}
// The mixer does not say which device it opened: it is the one this process plays on.
SDL_AudioDeviceID mixer_device() {
    constexpr SDL_AudioDeviceID beyond_any_in_use = 64;
    for (SDL_AudioDeviceID id = 1; id < beyond_any_in_use; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) return id;
    return 0;
}
}  // namespace

SdlAudio::SdlAudio() {
    // Trim IMA ADPCM files to their exact length instead of their padded last block,
    // so loops join without a gap.
    SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "truncate");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    // Without a device the subsystem stays up until settle(): quitting it now would
    // wait for SDL's device-watching thread to wake from its sleep, up to a tenth of a
    // second before the first frame.
    subsystem_up_ = true;
    if (Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) return;
    Mix_AllocateChannels(1 + music_channels);
    Mix_ReserveChannels(1 + music_channels);
    Mix_ChannelFinished(wake_loop_on_music_end);
    device_ = mixer_device();
    open_ = true;
}

SdlAudio::~SdlAudio() {
    // Closing waits for the device's thread, which must not be waiting for the lock.
    wake_device();
    if (open_) {
        Mix_ChannelFinished(nullptr);
        Mix_HaltChannel(-1);
        for (auto& [name, chunk] : effects_)
            Mix_FreeChunk(chunk);
        for (Mix_Chunk* chunk : music_)
            if (chunk != nullptr) Mix_FreeChunk(chunk);
        Mix_CloseAudio();
    }
    if (subsystem_up_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::settle() {
    // Left up, the device-watching thread would wake ten times a second for nothing.
    if (open_ || !subsystem_up_) return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem_up_ = false;
}

void SdlAudio::rest_while_silent() {
    if (!open_ || device_ == 0) return;
    bool sounding = false;
    for (int channel = 0; channel <= music_channels && !sounding; ++channel)
        sounding = Mix_Playing(channel) != 0 && Mix_Paused(channel) == 0;
    if (sounding) {
        wake_device();
    } else if (!resting_) {
        // Silence costs nothing to stop: the device runs dry and starts again when let go.
        SDL_LockAudioDevice(device_);
        resting_ = true;
    }
}

void SdlAudio::wake_device() {
    if (!resting_) return;
    SDL_UnlockAudioDevice(device_);
    resting_ = false;
}

void SdlAudio::play_effect(std::string_view name, std::span<const std::uint8_t> wave) {
    if (!open_ || wave.empty()) return;
    auto found = effects_.find(name);
    if (found == effects_.end()) {
        Mix_Chunk* chunk = chunk_of(wave);
        if (chunk == nullptr) return;
        found = effects_.emplace(std::string(name), chunk).first;
    }
    // Playing on the busy effect channel cuts off the effect that was playing.
    Mix_PlayChannel(effect_channel, found->second, 0);
}

int SdlAudio::open_music(const std::string& native_path) {
    if (!open_ || static_cast<int>(music_.size()) >= music_channels) return -1;
    // Through the guarded read: a named pipe or a device under the name is no sound.
    const auto file = read_file(native_path, max_music_file_bytes);
    if (!file || file->empty()) return -1;
    Mix_Chunk* chunk = chunk_of(*file);
    if (chunk == nullptr) return -1;
    music_.push_back(chunk);
    return static_cast<int>(music_.size()) - 1;
}

int SdlAudio::channel_of(int player) const {
    if (player < 0 || player >= static_cast<int>(music_.size())) return -1;
    return music_[static_cast<std::size_t>(player)] != nullptr ? player + 1 : -1;
}

void SdlAudio::close_music(int player) {
    const int channel = channel_of(player);
    if (channel < 0) return;
    Mix_HaltChannel(channel);
    Mix_FreeChunk(music_[static_cast<std::size_t>(player)]);
    music_[static_cast<std::size_t>(player)] = nullptr;
}

PlayerMode SdlAudio::music_mode(int player) {
    const int channel = channel_of(player);
    if (channel < 0 || Mix_Playing(channel) == 0) return PlayerMode::stopped;
    return Mix_Paused(channel) != 0 ? PlayerMode::paused : PlayerMode::playing;
}

void SdlAudio::play_music_from_start(int player) {
    const int channel = channel_of(player);
    if (channel >= 0) Mix_PlayChannel(channel, music_[static_cast<std::size_t>(player)], 0);
}

void SdlAudio::stop_music(int player) {
    // The schedule stops players on every frame of play; only a sounding one is halted,
    // so a stopped one does not wake the loop again.
    const int channel = channel_of(player);
    if (channel >= 0 && Mix_Playing(channel) != 0) Mix_HaltChannel(channel);
}

void SdlAudio::pause_music(int player) {
    const int channel = channel_of(player);
    if (channel >= 0) Mix_Pause(channel);
}

void SdlAudio::resume_music(int player) {
    const int channel = channel_of(player);
    if (channel >= 0) Mix_Resume(channel);
}

std::int64_t SdlAudio::music_ends_at(int) {
    return std::numeric_limits<std::int64_t>::max();
}

}  // namespace platform
