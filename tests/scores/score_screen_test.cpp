// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The score screen and name entry: row texts, the row step on different screens,
// where the rows and the name-entry texts land, and the name-editing rules frame
// by frame.
#include "scores/score_screen.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "scores/score_table.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using platform::Colour;
using platform::rgb;

namespace {

using test_support::str;

// ---- Row text and row step -------------------------------------------------------

TEST(ScoreRowText, NameSpacesAndScoreInTwentyCharacters) {
    struct Row {
        const char* name;
        std::int32_t score;
        std::string expected;
    };
    for (const Row& row : {
             Row{"Masha", 1520, "Masha" + std::string(11, ' ') + "1520"},
             Row{"Masha", 0, std::string(19, ' ') + "0"},
             Row{"", 0, std::string(19, ' ') + "0"},
             Row{"Aleksandro", 1234567890, "Aleksandro1234567890"},
             Row{"Aleksandro", -5, "Aleksandro" + std::string(8, ' ') + "-5"},
             Row{"LongerThanTwentyChars", 7, "LongerThanTwentyChars7"},
             Row{"", 42, std::string(18, ' ') + "42"},
         }) {
        const String text = score_row_text(row.name, row.score);
        EXPECT_EQ(str(text), row.expected) << row.name << " " << row.score;
    }
}

TEST(ScoreRowStep, ScreenHeightOverTwentyThreeHeldByTheClientArea) {
    EXPECT_EQ(score_row_step(768, 528), 33);  // rows at 132, 165, ..., 396
    EXPECT_EQ(score_row_step(600, 528), 26);  // first row at 104
    EXPECT_EQ(score_row_step(1080, 528), 33);
    EXPECT_EQ(score_row_step(2160, 528), 33);
    EXPECT_EQ(score_row_step(768, 800), 33);
}

// ---- Drawing ---------------------------------------------------------------------

// A fresh current folder with a score file, and a white 648 x 528 window.
class ScoreScreen : public testing::Test {
  protected:
    void SetUp() override {
        reset_score_state();
        window_.resize(648, 528);
        clear_window();
    }
    void TearDown() override {
        reset_score_state();
        platform::recording_desktop().screen_h = 768;
    }

    void clear_window() { platform::fill_rect(window_.dc(), 0, 0, 648, 528, rgb(255, 255, 255)); }
    static void load_table(const std::string& bytes) {
        std::ofstream("score.sco", std::ios::binary) << bytes;
        score_table().load_scores("score.sco");
    }

    // The top rows of the black first copies and of the rose second copies.
    struct Ink {
        int black_top = 1 << 30, rose_top = 1 << 30, bottom = -1, rose_pixels = 0;
    };
    Ink ink() const {
        Ink result;
        const platform::Bitmap& frame = window_.framebuffer();
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const Colour c = platform::to_colour(frame.at(x, y));
                if (c == rgb(255, 255, 255)) continue;
                const int r = static_cast<int>(c & 0xFF), g = static_cast<int>((c >> 8) & 0xFF);
                result.bottom = std::max(result.bottom, y);
                if (r > g) {
                    result.rose_top = std::min(result.rose_top, y);
                    if (c == rgb(255, 128, 128)) ++result.rose_pixels;
                } else {
                    result.black_top = std::min(result.black_top, y);
                }
            }
        }
        return result;
    }

    test_support::ScratchFolder folder_{"score-screen"};
    const fs::path& dir_ = folder_.path();
    platform::Window window_;
};

TEST_F(ScoreScreen, TableNotInUseDrawsNothing) {
    score_table().load_scores("score.sco");  // there is no file
    const std::uint64_t changes = window_.framebuffer().changes;
    score_table().draw_scores(window_.dc(), 24, 43);
    EXPECT_EQ(window_.framebuffer().changes, changes);
    EXPECT_EQ(ink().bottom, -1);
}

TEST_F(ScoreScreen, RowsStartFourStepsDownWithTheSecondCopyThreeLower) {
    load_table("Masha 1520\nPetr 830\n");
    platform::recording_desktop().screen_h = 768;
    score_table().draw_scores(window_.dc(), 24, 43);
    const Ink tall = ink();
    ASSERT_GT(tall.rose_pixels, 0);
    EXPECT_EQ(tall.rose_top, tall.black_top + 3);
    EXPECT_GE(tall.black_top, 132);
    EXPECT_LT(tall.black_top, 132 + 43);
    // The ninth row's second copy ends within its text cell, above the client bottom.
    EXPECT_LT(tall.bottom, 132 + 8 * 33 + 3 + 43);

    clear_window();
    platform::recording_desktop().screen_h = 600;
    score_table().draw_scores(window_.dc(), 24, 43);
    const Ink small = ink();
    EXPECT_EQ(tall.black_top - small.black_top, 132 - 104);
    EXPECT_EQ(small.rose_top, small.black_top + 3);
    EXPECT_LT(small.bottom, 104 + 8 * 26 + 3 + 43);
}

TEST_F(ScoreScreen, TallScreensKeepTheNinthRowInsideTheWindow) {
    load_table("a 9\nb 8\nc 7\nd 6\ne 5\nf 4\ng 3\nh 2\ni 1\n");
    platform::recording_desktop().screen_h = 1440;  // 62 by the screen alone
    score_table().draw_scores(window_.dc(), 24, 43);
    const Ink rows = ink();
    EXPECT_GE(rows.black_top, 4 * 33);
    EXPECT_LT(rows.black_top, 4 * 33 + 43);
    EXPECT_LT(rows.bottom, 528);
    EXPECT_LT(rows.bottom, 132 + 8 * 33 + 3 + 43);
}

TEST_F(ScoreScreen, NameEntryTextsAtTheirHeights) {
    draw_name_entry(window_, "Masha"_cp1251, 24, 48);  // font 24 x 42
    const Ink texts = ink();
    ASSERT_GT(texts.rose_pixels, 0);
    EXPECT_GE(texts.black_top, 150);
    EXPECT_LT(texts.black_top, 150 + 42);
    EXPECT_EQ(texts.rose_top, texts.black_top + 2);
    EXPECT_GE(texts.bottom, 200);  // the name line
    EXPECT_LT(texts.bottom, 202 + 42);
}

// ---- Name-entry rules -------------------------------------------------------------

struct EntryCase {
    const char* name;
    std::string start_name;
    std::string typed;
    std::uint32_t control;
    std::string expected_name;
    int repaints;
    std::uint32_t control_after;
    bool confirmed;
};

class NameEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(NameEntry, OneFrame) {
    const EntryCase& c = GetParam();
    reset_score_state();
    String player_name = c.start_name.c_str();
    String typed_chars = c.typed.c_str();
    std::uint32_t last_control_char = c.control;
    int repaints = 0;
    const bool confirmed =
        run_name_entry(player_name, typed_chars, last_control_char, 100, [&] { ++repaints; });
    EXPECT_EQ(str(player_name), c.expected_name);
    EXPECT_EQ(repaints, c.repaints);
    EXPECT_EQ(last_control_char, c.control_after);
    EXPECT_EQ(confirmed, c.confirmed);
    EXPECT_TRUE(typed_chars.is_empty());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, NameEntry,
    testing::Values(EntryCase{"SpaceIsDroppedButRepaints", "", "a b", 0, "ab", 3, 0, false},
                    EntryCase{"FourteenthCharacterIsDropped", "", "abcdefghijklmn", 0,
                              "abcdefghijklm", 14, 0, false},
                    EntryCase{"FullNameTakesNothingMore", "abcdefghijklm", "xy", 0, "abcdefghijklm",
                              2, 0, false},
                    EntryCase{"CyrillicAndHighBytes", "", "Ёжя"_cp1251, 0, "Ёжя"_cp1251, 3, 0,
                              false},
                    EntryCase{"BackspaceOnEmptyNameDoesNothing", "", "", 8, "", 0, 0, false},
                    EntryCase{"BackspaceRemovesTheLastCharacter", "abc", "", 8, "ab", 1, 0, false},
                    EntryCase{"TypingComesBeforeBackspace", "", "xy", 8, "x", 3, 0, false},
                    EntryCase{"OtherControlCharactersAreIgnored", "ab", "", 27, "ab", 0, 27, false},
                    EntryCase{"NothingTyped", "ab", "", 0, "ab", 0, 0, false},
                    EntryCase{"EnterConfirmsAndStays13", "ab", "", 13, "ab", 0, 13, true},
                    EntryCase{"TypingThenEnterInOneFrame", "", "ab", 13, "ab", 2, 13, true}),
    [](const testing::TestParamInfo<EntryCase>& param_info) { return param_info.param.name; });

class NameEntryInsert : public ScoreScreen {};

TEST_F(NameEntryInsert, EnterPutsTheFirstTenCharactersIntoTheTable) {
    load_table("a 900\nb 800\n");
    String player_name;
    String typed_chars = "Aleksandrovich";
    std::uint32_t last_control_char = 0;
    int repaints = 0;
    EXPECT_FALSE(
        run_name_entry(player_name, typed_chars, last_control_char, 850, [&] { ++repaints; }));
    EXPECT_EQ(str(player_name), "Aleksandrovic");  // 13 of the 14 typed
    last_control_char = 13;
    EXPECT_TRUE(
        run_name_entry(player_name, typed_chars, last_control_char, 850, [&] { ++repaints; }));
    EXPECT_EQ(str(score_table().score_names[1]), "Aleksandro");
    EXPECT_EQ(score_table().score_values[1], 850);
}

TEST_F(NameEntryInsert, EnterOnAnEmptyNameInsertsAnEmptyName) {
    load_table("a 900\n");
    String player_name;
    String typed_chars;
    std::uint32_t last_control_char = 13;
    EXPECT_TRUE(run_name_entry(player_name, typed_chars, last_control_char, 50, [] {}));
    EXPECT_EQ(str(score_table().score_names[1]), "");
    EXPECT_EQ(score_table().score_values[1], 50);
    std::ifstream input("score.sco", std::ios::binary);
    std::string second_line;
    std::getline(input, second_line);
    std::getline(input, second_line);
    EXPECT_EQ(second_line, " 50\r");
}

TEST_F(NameEntryInsert, TableNotInUseStillLeavesNameEntry) {
    score_table().load_scores("score.sco");  // there is no file
    String player_name = "Ivan";
    String typed_chars;
    std::uint32_t last_control_char = 13;
    EXPECT_TRUE(run_name_entry(player_name, typed_chars, last_control_char, 500, [] {}));
    EXPECT_EQ(score_table().score_values[0], 0);
    EXPECT_FALSE(fs::exists("score.sco"));
}

}  // namespace
