// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The music schedule on the recording audio and the virtual clock: the state-change
// sound, intro then menu loop, silence and bells in play, pausing while inactive.
#include "sound/music.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/random.h"
#include "platform/clock.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using platform::PlayerMode;

namespace {

constexpr int PLAY = 1, MAIN_MENU = 4, SCORE_SCREEN = 10, NEW_STAGE = 0;

// A silent 8 kHz 8-bit PCM wave of the given length.
void write_wave(const fs::path& path, int milliseconds) {
    const std::uint32_t data = static_cast<std::uint32_t>(milliseconds) * 8;
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            out.put(static_cast<char>(v >> (8 * i)));
    };
    out << "RIFF";
    put(36 + data, 4);
    out << "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(8000, 4);
    put(1, 2);
    put(8, 2);
    out << "data";
    put(data, 4);
    out << std::string(data, '\x80');
}

class Music : public testing::Test {
  protected:
    void SetUp() override {
        platform::set_clock(&clock_);
        platform::recording_audio().reset();
        reset_music_state();
        seed_random(1);
        fs::create_directories(dir_ / "sound");
    }
    void TearDown() override {
        reset_music_state();
        platform::set_clock(nullptr);
    }
    void write_sounds(bool with_intro = true) {
        if (with_intro) write_wave(dir_ / "sound" / "intro.wav", 3000);
        write_wave(dir_ / "sound" / "menu.wav", 5000);
        write_wave(dir_ / "sound" / "bells.wav", 2000);
    }
    std::vector<std::string>& effects() { return platform::recording_audio().effects; }
    void frame(int state, bool active = true) {
        update_music(state, active);
        clock_.advance_ms(1);
    }

    platform::VirtualClock clock_;
    test_support::ScratchFolder folder_{"music"};
    const fs::path& dir_ = folder_.path();
};

TEST_F(Music, IntroThenTheMenuLoop) {
    write_sounds();
    frame(MAIN_MENU);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::playing);
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::stopped);
    clock_.advance_ms(3000);
    frame(MAIN_MENU);  // the intro is over: the menu music starts
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::stopped);
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::playing);
    clock_.advance_ms(5000);
    frame(MAIN_MENU);  // played to its end: starts again from the beginning
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::playing);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::stopped);  // the intro plays once a run
}

TEST_F(Music, WithoutAnIntroTheMenuMusicStartsAtOnce) {
    write_sounds(false);
    frame(MAIN_MENU);
    EXPECT_FALSE(music().intro_music.is_open());
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::playing);
}

TEST_F(Music, PlayIsSilentButForTheBells) {
    write_sounds();
    frame(MAIN_MENU);
    effects().clear();
    frame(NEW_STAGE);
    frame(PLAY);
    EXPECT_EQ(effects(), std::vector<std::string>{"MENU_GO"});
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::stopped);
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::stopped);
    frame(PLAY);  // a whole microsecond has passed since the bell timer was made
    EXPECT_EQ(music().bells.mode(), PlayerMode::playing);
    const std::int32_t interval = music().bell_interval;
    EXPECT_GE(interval, 0);
    EXPECT_LT(interval, 50);
    // Back to the menu: the bells stop, the menu music starts from its beginning.
    frame(MAIN_MENU);
    EXPECT_EQ(music().bells.mode(), PlayerMode::stopped);
    EXPECT_EQ(music().menu_music.mode(), PlayerMode::playing);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::stopped);
}

TEST_F(Music, TheBellIntervalDrawsFromTheSharedGenerator) {
    write_sounds();
    seed_random(12345);
    frame(PLAY);
    frame(PLAY);
    seed_random(12345);
    EXPECT_EQ(music().bell_interval, random_below(50));
}

TEST_F(Music, TheStateChangeSoundPlaysOncePerChange) {
    frame(MAIN_MENU);
    frame(MAIN_MENU);
    frame(SCORE_SCREEN);
    frame(MAIN_MENU);
    frame(NEW_STAGE);  // states 0 and 14 never play it
    frame(14);
    EXPECT_EQ(effects(), (std::vector<std::string>{"MENU_GO", "MENU_GO", "MENU_GO"}));
}

TEST_F(Music, InactivePausesAndActiveResumesWhereItWas) {
    write_sounds();
    frame(MAIN_MENU);
    clock_.advance_ms(1000);
    frame(MAIN_MENU, false);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::paused);
    clock_.advance_ms(60'000);
    frame(MAIN_MENU, true);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::playing);
    clock_.advance_ms(1990);  // 3000 ms of intro: about 1002 played before the pause
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::playing);
    clock_.advance_ms(20);
    EXPECT_EQ(music().intro_music.mode(), PlayerMode::stopped);
}

}  // namespace
