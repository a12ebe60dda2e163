// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The recording audio's music players on the virtual clock, and wave lengths.
#include "platform/audio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"

namespace platform {
namespace {

// A PCM wave of the given length: 8 kHz, 8-bit mono, so one byte per 125 us.
std::vector<std::uint8_t> pcm_wave(int milliseconds) {
    const std::uint32_t data = static_cast<std::uint32_t>(milliseconds) * 8;
    std::vector<std::uint8_t> w;
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    put(36 + data, 4);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);     // PCM
    put(1, 2);     // mono
    put(8000, 4);  // sample rate
    put(8000, 4);  // byte rate
    put(1, 2);
    put(8, 2);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    put(data, 4);
    w.resize(w.size() + data, 0x80);
    return w;
}

class MusicPlayers : public testing::Test {
  protected:
    void SetUp() override {
        set_clock(&clock_);
        path_ = temp_folder() + "vorpy-audio-test.wav";
        const auto wave = pcm_wave(2000);
        FILE* f = std::fopen(path_.c_str(), "wb");
        std::fwrite(wave.data(), 1, wave.size(), f);
        std::fclose(f);
    }
    void TearDown() override {
        set_clock(nullptr);
        std::remove(path_.c_str());
    }
    VirtualClock clock_;
    RecordingAudio audio_;
    std::string path_;
};

TEST_F(MusicPlayers, PlayPauseResumeAndStopByThemselves) {
    const int p = audio_.open_music(path_);
    ASSERT_GE(p, 0);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
    audio_.play_music_from_start(p);
    clock_.advance_ms(1500);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::playing);
    audio_.pause_music(p);
    clock_.advance_ms(10'000);  // paused time does not count
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::paused);
    audio_.resume_music(p);
    clock_.advance_ms(499);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::playing);
    clock_.advance_ms(1);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
    audio_.pause_music(p);  // pausing a stopped player does nothing
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
    audio_.close_music(p);
    audio_.play_music_from_start(p);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
}

TEST_F(MusicPlayers, KeepTimeAfterTheClockHasRunForMonths) {
    // Microseconds from a 10 MHz count: a product taken whole would overflow after 11 days.
    const int p = audio_.open_music(path_);
    ASSERT_GE(p, 0);
    audio_.play_music_from_start(p);
    clock_.advance_ms(100LL * 24 * 3600 * 1000);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
    audio_.play_music_from_start(p);
    clock_.advance_ms(1999);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::playing);
    clock_.advance_ms(1);
    EXPECT_EQ(audio_.music_mode(p), PlayerMode::stopped);
}

TEST_F(MusicPlayers, MissingAndNonWaveFilesDoNotOpen) {
    EXPECT_EQ(audio_.open_music(temp_folder() + "vorpy-no-such.wav"), -1);
    EXPECT_EQ(audio_.music_mode(-1), PlayerMode::stopped);
    EXPECT_EQ(audio_.music_mode(42), PlayerMode::stopped);
    const std::vector<std::uint8_t> junk = {'R', 'I', 'F', 'F', 0,   0,   0,    0,    'W',  'A',
                                            'V', 'E', 'd', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(wave_length_us(junk), -1);  // data before fmt
    EXPECT_EQ(wave_length_us(pcm_wave(250)), 250'000);
    auto truncated = pcm_wave(1000);
    truncated.resize(truncated.size() - 4000);  // the data chunk claims more than is there
    EXPECT_EQ(wave_length_us(truncated), 500'000);
}

}  // namespace
}  // namespace platform
