// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL2_mixer audio on the dummy driver: player modes, effects, the device at rest
// while nothing sounds, and a machine without an audio device.
#include "platform/sdl_audio.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

// A 22050 Hz 16-bit mono PCM wave of the given length, every sample at level (silent
// unless given).
std::vector<std::uint8_t> pcm_wave(int milliseconds, std::int16_t level = 0) {
    const std::uint32_t data = static_cast<std::uint32_t>(milliseconds) * 441 / 10 * 2;
    std::vector<std::uint8_t> w;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    for (char c : std::string("RIFF"))
        w.push_back(static_cast<std::uint8_t>(c));
    put(36 + data, 4);
    for (char c : std::string("WAVEfmt "))
        w.push_back(static_cast<std::uint8_t>(c));
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(22050, 4);
    put(44100, 4);
    put(2, 2);
    put(16, 2);
    for (char c : std::string("data"))
        w.push_back(static_cast<std::uint8_t>(c));
    put(data, 4);
    for (std::uint32_t i = 0; i < data / 2; ++i)
        put(static_cast<std::uint16_t>(level), 2);
    return w;
}

std::string write_temp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = temp_folder() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

TEST(SdlAudio, PlayersReportStoppedPlayingAndPaused) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    const std::string path = write_temp("vorpy-sdl-audio-long.wav", pcm_wave(5000));
    const int p = audio.open_music(path);
    ASSERT_GE(p, 0);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::stopped);
    audio.play_music_from_start(p);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::playing);
    audio.pause_music(p);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::paused);  // not "playing", though SDL says so
    audio.resume_music(p);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::playing);
    audio.stop_music(p);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::stopped);
    audio.close_music(p);
    audio.play_music_from_start(p);
    EXPECT_EQ(audio.music_mode(p), PlayerMode::stopped);
    EXPECT_EQ(audio.open_music(temp_folder() + "vorpy-no-such-file.wav"), -1);
    audio.play_effect("x", pcm_wave(50));
    audio.play_effect("x", pcm_wave(50));  // cached, replays on the effect voice
    audio.play_effect("junk", std::vector<std::uint8_t>{1, 2, 3});
    std::remove(path.c_str());
}

// A pipe under a sound's name would wait for a writer before the window appears,
// and /dev/zero would be read until memory runs out: both are no sound.
TEST(SdlAudio, PipesAndDevicesAreNoMusic) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    const std::string pipe = temp_folder() + "vorpy-sdl-audio-pipe-" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(audio.open_music(pipe), -1);
    EXPECT_EQ(audio.open_music("/dev/zero"), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    std::remove(pipe.c_str());
}

TEST(SdlAudio, APlayerStopsByItselfAtItsEnd) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    const std::string path = write_temp("vorpy-sdl-audio-short.wav", pcm_wave(100));
    const int p = audio.open_music(path);
    ASSERT_GE(p, 0);
    audio.play_music_from_start(p);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (audio.music_mode(p) == PlayerMode::playing &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(audio.music_mode(p), PlayerMode::stopped);
    std::remove(path.c_str());
}

// What the mixer hands the device: how many buffers, and whether one held any sound.
struct MixerOutput {
    std::atomic<int> buffers{0};
    std::atomic<bool> heard{false};
};

void watch_output(void* output, Uint8* stream, int length) {
    auto& o = *static_cast<MixerOutput*>(output);
    ++o.buffers;
    for (int i = 0; i < length; ++i)
        if (stream[i] != 0) o.heard = true;
}

// How many buffers the mixer fills over the next 300 ms.
int buffers_in_300_ms(const MixerOutput& output) {
    const int before = output.buffers;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return output.buffers - before;
}

// Paused music and a finished effect leave the device's thread asleep; an effect or the
// music going on wakes it, and what they play is heard. Closing does not wait on a rest.
TEST(SdlAudio, TheDeviceRestsWhileNothingSounds) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    MixerOutput output;
    const std::string path = write_temp("vorpy-sdl-audio-rest.wav", pcm_wave(5000, 3000));
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.available());
        Mix_SetPostMix(watch_output, &output);
        const int p = audio.open_music(path);
        ASSERT_GE(p, 0);
        audio.play_music_from_start(p);
        audio.rest_while_silent();
        EXPECT_GT(buffers_in_300_ms(output), 0);

        audio.pause_music(p);
        audio.rest_while_silent();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a buffer under way
        EXPECT_EQ(buffers_in_300_ms(output), 0);

        output.heard = false;
        audio.play_effect("tone", pcm_wave(50, 3000));
        audio.rest_while_silent();
        EXPECT_GT(buffers_in_300_ms(output), 0);
        EXPECT_TRUE(output.heard);
        audio.rest_while_silent();  // the effect is over by now
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(buffers_in_300_ms(output), 0);

        audio.resume_music(p);
        audio.rest_while_silent();
        EXPECT_GT(buffers_in_300_ms(output), 0);
        EXPECT_EQ(audio.music_mode(p), PlayerMode::playing);
        audio.stop_music(p);
        audio.rest_while_silent();
        // Closed at rest, once the device's thread waits for the lock.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Mix_SetPostMix(nullptr, nullptr);
    }
    std::remove(path.c_str());
}

TEST(SdlAudio, WithoutADeviceEverythingIsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudio audio;
    EXPECT_FALSE(audio.available());
    const std::string path = write_temp("vorpy-sdl-audio-none.wav", pcm_wave(100));
    EXPECT_EQ(audio.open_music(path), -1);
    EXPECT_EQ(audio.music_mode(0), PlayerMode::stopped);
    audio.play_effect("x", pcm_wave(50));
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace platform
