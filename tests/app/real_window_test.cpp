// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The windowed game under Xvfb against the headless game on the same clicks: the
// same pixels wherever time and the random generator do not decide them; and the
// window's title, icon and mouse pointer as the X server holds them; and full
// screen under a window manager.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/headless_game.h"
#include "graphics/picture.h"
#include "platform/png.h"

namespace {

using scenario::GameRun;
using scenario::HeadlessGame;

constexpr int cell_w = 36, cell_h = 48;

std::string point(const test_json::Value& centres, const char* menu, int item) {
    const test_json::Value& p = centres[menu].items[static_cast<std::size_t>(item - 1)];
    return std::to_string(p.items[0].num()) + "," + std::to_string(p.items[1].num());
}

// Counts the pixels of a rectangle where the two pictures differ.
int differing(const platform::Bitmap& a, const platform::Bitmap& b, int left, int top, int right,
              int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if ((a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) ++n;
    return n;
}

// The playing cells whose top strip shows the tile plate (a tile, whatever its face):
// an empty cell shows the stage's background there instead.
int tiles_shown(const platform::Bitmap& screen) {
    Picture plate_holder;
    plate_holder.load(std::string(VORPY_GAME_DIR "/res/panel").c_str());
    if (plate_holder.bitmap() == nullptr) return -1;
    const platform::Bitmap& plate = *plate_holder.bitmap();
    int tiles = 0;
    for (int column = 1; column <= 16; ++column)
        for (int row = 1; row <= 9; ++row) {
            bool plate_shows = true;
            for (int y = 1; y < 3; ++y)
                for (int x = 10; x < 26; ++x)
                    plate_shows = plate_shows && (screen.at(column * cell_w + x, row * cell_h + y) &
                                                  0xFFFFFF) == (plate.at(x, y) & 0xFFFFFF);
            tiles += plate_shows;
        }
    return tiles;
}

bool animated_border_cell(int column, int row) {
    return (column == 1 || column == 16) && row >= 2 && row <= 8;
}

class RealWindow : public HeadlessGame {
  protected:
    platform::Bitmap picture(const std::string& name, int width = 648, int height = 528) {
        auto bitmap = platform::read_png(file(name).string());
        EXPECT_TRUE(bitmap.has_value()) << name;
        if (!bitmap || bitmap->width != width || bitmap->height != height) {
            ADD_FAILURE() << name << " is not a " << width << " x " << height << " picture";
            return platform::Bitmap(width, height);
        }
        return *bitmap;
    }
};

// The game's picture taken back out of a screen that shows it enlarged by a whole
// factor at left, top: one pixel of each block. Counts in wrong_blocks the blocks that
// are not one colour throughout.
platform::Bitmap shrunk(const platform::Bitmap& screen, int left, int top, int factor,
                        int& wrong_blocks) {
    platform::Bitmap game(648, 528);
    wrong_blocks = 0;
    for (int y = 0; y < 528; ++y)
        for (int x = 0; x < 648; ++x) {
            const platform::Pixel p = screen.at(left + x * factor, top + y * factor) & 0xFFFFFF;
            game.at(x, y) = p;
            bool whole = true;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx)
                    whole = whole && (screen.at(left + x * factor + dx, top + y * factor + dy) &
                                      0xFFFFFF) == p;
            wrong_blocks += !whole;
        }
    return game;
}

// Pixels outside the rectangle that are not black.
int lit_outside(const platform::Bitmap& screen, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            if ((x < left || x >= right || y < top || y >= bottom) &&
                (screen.at(x, y) & 0xFFFFFF) != 0)
                ++n;
    return n;
}

// The main menu's cells but for the border cells that flicker with random faces.
void expect_same_menu(const platform::Bitmap& expected, const platform::Bitmap& shown,
                      const char* which) {
    for (int column = 0; column < 18; ++column)
        for (int row = 0; row < 11; ++row) {
            if (animated_border_cell(column, row)) continue;
            EXPECT_EQ(differing(expected, shown, column * cell_w, row * cell_h,
                                (column + 1) * cell_w, (row + 1) * cell_h),
                      0)
                << which << ": main menu cell " << column << "," << row;
        }
}

// The play screen: the ring with the button and the score panel, and a full board of
// tiles: the top strip of every interior cell, where no face reaches, shows the tile plate
// whatever the face and background. The faces depend on how many random draws the menu
// animation made first.
void expect_same_play(const platform::Bitmap& expected, const platform::Bitmap& shown) {
    EXPECT_EQ(differing(expected, shown, 0, 0, 648, cell_h), 0) << "top row";
    EXPECT_EQ(differing(expected, shown, 0, 10 * cell_h, 648, 528), 0) << "bottom row";
    EXPECT_EQ(differing(expected, shown, 0, 0, cell_w, 528), 0) << "left column";
    EXPECT_EQ(differing(expected, shown, 17 * cell_w, 0, 648, 528), 0) << "right column";
    for (int column = 1; column <= 16; ++column)
        for (int row = 1; row <= 9; ++row)
            EXPECT_EQ(differing(expected, shown, column * cell_w + 10, row * cell_h + 1,
                                column * cell_w + 26, row * cell_h + 3),
                      0)
                << "tile plate at cell " << column << "," << row;
}

TEST_F(RealWindow, ShowsWhatTheHeadlessGameShows) {
    const GameRun probe = play("frames 2\ndump\n", "--seed 7");
    ASSERT_EQ(probe.dumps.size(), 1u) << probe.errors;
    const test_json::Value& centres = probe.last()["item_centres"];
    const std::string training = point(centres, "main", 4), start = point(centres, "back", 8),
                      new_game = point(centres, "main", 3);
    auto click = [](const std::string& p) {
        return "click " + p.substr(0, p.find(',')) + " " + p.substr(p.find(',') + 1) + "\n";
    };
    const GameRun headless = play(
        "frames 3\nscreenshot menu.png\n" + click(training) + "frames 3\nscreenshot rules.png\n" +
            click(start) + "frames 3\nescape down\nframes 2\nescape up\nframes 2\n" + click(start) +
            "frames 3\n" + click(new_game) + "frames 3\nscreenshot play.png\ndump\n",
        "--seed 7");
    ASSERT_EQ(headless.status, 0) << headless.errors;
    ASSERT_EQ(headless.last()["state"].str(), "PLAY");

    const std::string command =
        "cd '" + folder_.string() + "' && xvfb-run -a -s '-screen 0 1280x1024x24' '" +
        VORPY_SOURCE_DIR + "/tests/app/real_window.sh' '" + VORPY_BINARY + "' " + training + " " +
        start + " " + start + " " + new_game + " '" + VORPY_CURSOR_PROBE + "' > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));

    expect_same_menu(picture("menu.png"), picture("real_menu.png"), "window");
    // The rules screen, whole.
    EXPECT_EQ(differing(picture("rules.png"), picture("real_rules.png"), 0, 0, 648, 528), 0);
    EXPECT_EQ(headless.last()["tiles_left"].num(), 144);
    expect_same_play(picture("play.png"), picture("real_play.png"));
    const std::string title = scenario::read_text(file("real_title.txt"));
    EXPECT_EQ(title.rfind("Ворпы 1.25 (", 0), 0u) << title;

    // Both title properties carry the title, so a search by name finds the window.
    const std::string wid = scenario::read_text(file("real_wid.txt"));
    EXPECT_NE(wid, "");
    EXPECT_NE(scenario::read_text(file("real_search.txt")).find(wid), std::string::npos);
    const std::string names = scenario::read_text(file("real_names.txt"));
    for (const char* property :
         {"WM_NAME(COMPOUND_TEXT) = \"Ворпы 1.25 (", "_NET_WM_NAME(UTF8_STRING) = \"Ворпы 1.25 ("})
        EXPECT_NE(names.find(property), std::string::npos) << names;
    // The window's own icon, 64 pixels square.
    const std::string icon = scenario::read_text(file("real_icon.txt"));
    EXPECT_EQ(icon.rfind("_NET_WM_ICON(CARDINAL) = 64, 64", 0), 0u) << icon;
    // The game's own pointer over the window: 32 pixels square, pointing with its tip.
    const std::string cursor = scenario::read_text(file("real_cursor.txt"));
    EXPECT_EQ(cursor.rfind("32x32 hot 1,1\n", 0), 0u) << cursor;
    EXPECT_NE(cursor.find("\n.##."), std::string::npos) << cursor;

    // Then by keys alone: the score table with the typed name, a new game, a hint pair
    // outlined and removed with the cursor.
    EXPECT_NE(scenario::read_text(file("score.sco")).find("Keys "), std::string::npos);
    const platform::Bitmap keys_play = picture("real_keys_play.png");
    const platform::Bitmap hinted = picture("real_keys_hint.png");
    const platform::Bitmap removed = picture("real_keys_removed.png");
    EXPECT_EQ(hinted.at(cell_w + 5, cell_h + 5) & 0xFFFFFF, 0xFFFF00u) << "the cursor at 1, 1";
    EXPECT_EQ(tiles_shown(keys_play), 144) << "a new game";
    EXPECT_EQ(tiles_shown(removed), 142);
}

// Under an English locale the window speaks English: its menu as the headless game
// draws it in English, and the title in English with the open pairs counted.
TEST_F(RealWindow, SpeaksEnglishUnderAnEnglishLocale) {
    const GameRun headless =
        play("frames 3\nscreenshot menu.png\ndump\n", "--seed 7", "LANG=en_US.UTF-8");
    ASSERT_EQ(headless.dumps.size(), 1u) << headless.errors;
    const std::string new_game = point(headless.last()["item_centres"], "main", 3);
    const std::string command = "cd '" + folder_.string() +
                                "' && xvfb-run -a -s '-screen 0 1280x1024x24' '" +
                                VORPY_SOURCE_DIR + "/tests/app/real_window_english.sh' '" +
                                VORPY_BINARY + "' " + new_game + " > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));

    expect_same_menu(picture("menu.png"), picture("english_menu.png"), "English window");
    EXPECT_EQ(scenario::read_text(file("english_menu_title.txt")), "Vorpy 1.25\n");
    const std::string title = scenario::read_text(file("english_play_title.txt"));
    EXPECT_EQ(title.rfind("Vorpy 1.25 (", 0), 0u) << title;
    EXPECT_TRUE(title.ends_with(" pairs left).\n") || title.ends_with("More than 20 pairs).\n"))
        << title;
    const std::string names = scenario::read_text(file("english_names.txt"));
    EXPECT_EQ(names.rfind("_NET_WM_NAME(UTF8_STRING) = \"Vorpy 1.25 (", 0), 0u) << names;
}

// On April 1st the notice's sound goes to the desktop's opener, which may take its
// time (some wait for the player they start): the game does not wait for it. A click
// while the opener still runs is taken, and the window shows the rules screen.
TEST_F(RealWindow, GoesOnWhileTheDesktopOpensTheNoticeSound) {
    const GameRun probe = play("frames 2\ndump\n", "--seed 7 --date 2026-04-01");
    ASSERT_EQ(probe.dumps.size(), 1u) << probe.errors;
    const std::string training = point(probe.last()["item_centres"], "main", 4);
    const std::string x = training.substr(0, training.find(','));
    const std::string y = training.substr(training.find(',') + 1);
    const GameRun headless =
        play("frames 3\nclick " + x + " " + y + "\nframes 3\nscreenshot rules.png\ndump\n",
             "--seed 7 --date 2026-04-01");
    ASSERT_EQ(headless.last()["state"].str(), "TRAINING_RULES") << headless.errors;

    const std::string command = "cd '" + folder_.string() +
                                "' && xvfb-run -a -s '-screen 0 1280x1024x24' '" +
                                VORPY_SOURCE_DIR + "/tests/app/real_window_april_first.sh' '" +
                                VORPY_BINARY + "' " + training + " > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));
    EXPECT_EQ(scenario::read_text(file("april_opened.txt")), "sound/lalai.mp3\n");
    EXPECT_EQ(differing(picture("rules.png"), picture("april_rules.png"), 0, 0, 648, 528), 0)
        << "the click during the opener's run was not taken";
}

// F11 under a window manager on a 1920 x 1200 screen: the 648 x 528 game at twice its
// size (1296 x 1056), centred on black; a click on the margin does nothing, a click on
// the enlarged "Тренировка" opens the rules; F11 gives the window back.
TEST_F(RealWindow, FullScreenEnlargesByWholeFactorOnBlackAndComesBack) {
    const GameRun probe = play("frames 2\ndump\n", "--seed 7");
    ASSERT_EQ(probe.dumps.size(), 1u) << probe.errors;
    const test_json::Value& training = probe.last()["item_centres"]["main"].items[3];
    constexpr int factor = 2, left = (1920 - 648 * factor) / 2, top = (1200 - 528 * factor) / 2;
    const std::string full_training = std::to_string(left + factor * training.items[0].num()) +
                                      "," + std::to_string(top + factor * training.items[1].num());
    const GameRun headless = play(
        "frames 3\nscreenshot menu.png\nclick_item main 4\nframes 3\nscreenshot rules.png\n"
        "paint\nframes 2\nscreenshot rules_painted.png\n",
        "--seed 7");
    ASSERT_EQ(headless.status, 0) << headless.errors;

    const std::string command = "cd '" + folder_.string() +
                                "' && xvfb-run -a -s '-screen 0 1920x1200x24' '" +
                                VORPY_SOURCE_DIR + "/tests/app/real_window_full_screen.sh' '" +
                                VORPY_BINARY + "' 100,600 " + full_training + " > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));

    const platform::Bitmap menu = picture("menu.png"), rules = picture("rules.png");
    expect_same_menu(menu, picture("full_windowed.png"), "before F11");
    int wrong_blocks = 0;
    for (const char* shot : {"full_menu.png", "full_margin.png"}) {
        const platform::Bitmap screen = picture(shot, 1920, 1200);
        expect_same_menu(menu, shrunk(screen, left, top, factor, wrong_blocks), shot);
        EXPECT_EQ(wrong_blocks, 0) << shot;
        EXPECT_EQ(lit_outside(screen, left, top, left + 648 * factor, top + 528 * factor), 0)
            << shot;
    }
    const platform::Bitmap full_rules = picture("full_rules.png", 1920, 1200);
    EXPECT_EQ(differing(rules, shrunk(full_rules, left, top, factor, wrong_blocks), 0, 0, 648, 528),
              0)
        << "the click on the enlarged item";
    EXPECT_EQ(wrong_blocks, 0);
    // Back in the window, uncovered anew, the game paints its screen afresh.
    EXPECT_EQ(differing(picture("rules_painted.png"), picture("full_restored.png"), 0, 0, 648, 528),
              0)
        << "back";
}

// The windowed game ended by SIGTERM in the middle of a stage keeps it; started again, its
// main menu offers the game, which comes back in the pause menu and plays on over the same
// board as the headless game shows from the same file. A display that goes away while the
// game plays has it kept as well.
using RealWindowKeptGame = RealWindow;

TEST_F(RealWindowKeptGame, EndedBySigtermAndResumed) {
    const GameRun probe =
        play(scenario::start_game() + scenario::escape_to_pause() + "close\nframes 2\ndump\n",
             "--seed 7");
    ASSERT_EQ(probe.dumps.size(), 1u) << probe.errors;
    const test_json::Value& centres = probe.last()["item_centres"];
    const std::string new_game = point(centres, "main", 3), resume = point(centres, "main", 7),
                      play_on = point(centres, "continue", 3);
    std::filesystem::remove(file("game.sav"));

    const std::string command =
        "cd '" + folder_.string() + "' && xvfb-run -a -s '-screen 0 1280x1024x24' '" +
        VORPY_SOURCE_DIR + "/tests/app/real_window_kept_game.sh' '" + VORPY_BINARY + "' " +
        new_game + " " + resume + " " + play_on + " > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));
    // Two ends by SIGTERM, then the display lost.
    EXPECT_EQ(scenario::read_text(file("real_exits.txt")), "143\n143\n1\n");
    // The lost display kept the game it resumed again.
    const std::string kept_last = scenario::read_text(file("game.sav"));
    EXPECT_NE(kept_last.find("\ntiles_left 144\n"), std::string::npos) << kept_last;

    // The headless game on the file the first end kept.
    std::filesystem::copy_file(file("real_kept.sav"), file("game.sav"),
                               std::filesystem::copy_options::overwrite_existing);
    const GameRun headless = play(
        "frames 3\nscreenshot menu.png\nclick_item main 7\nframes 2\nscreenshot pause.png\n"
        "dump\nclick_item continue 3\nframes 3\nscreenshot play.png\ndump\n",
        "--seed 7");
    ASSERT_EQ(headless.status, 0) << headless.errors;
    ASSERT_EQ(headless.dumps.size(), 2u);
    EXPECT_EQ(headless.dumps[0]["state"].str(), "PAUSE_MENU");
    EXPECT_EQ(headless.dumps[0]["tiles_left"].num(), 144);
    EXPECT_EQ(headless.dumps[1]["state"].str(), "PLAY");

    expect_same_menu(picture("menu.png"), picture("real_kept_menu.png"), "main menu");
    expect_same_menu(picture("pause.png"), picture("real_kept_pause.png"), "pause menu");
    // Below the top row, where the score may have lost a second: the same board over the
    // same background.
    EXPECT_EQ(differing(picture("play.png"), picture("real_kept_play.png"), 0, cell_h, 648, 528),
              0);
    EXPECT_EQ(tiles_shown(picture("real_kept_play.png")), 144);
}

// The same game on native Wayland, under a headless sway, by keys alone: the main menu,
// full screen and back, the rules screen, a training board, a new game and a hinted pair
// removed with the cursor, each as the headless game shows it after the same keys.
using WaylandWindow = RealWindow;

TEST_F(WaylandWindow, ShowsWhatTheHeadlessGameShowsAndPlaysByKeys) {
    // Up from no lit item lights the last, and each step draws the items again over
    // themselves: the window walks up to "Новая игра" the same way.
    const GameRun headless = play(
        "frames 3\nscreenshot menu.png\n"
        "key up\nframes 1\nkey up\nframes 1\nkey up\nframes 1\nkey up\nframes 1\n"
        "key up\nframes 1\nscreenshot menu_lit.png\n"
        "key down\nframes 1\nkey enter\nframes 3\nscreenshot rules.png\n"
        "key enter\nframes 3\nscreenshot training.png\nescape down\nframes 2\nescape up\n"
        "frames 2\nscreenshot training_end.png\nkey enter\nframes 3\nscreenshot menu_back.png\n"
        "key up\nframes 1\nkey enter\nframes 3\nscreenshot play.png\ndump\n",
        "--seed 7");
    ASSERT_EQ(headless.status, 0) << headless.errors;
    ASSERT_EQ(headless.last()["state"].str(), "PLAY");
    ASSERT_EQ(headless.last()["tiles_left"].num(), 144);

    const std::string command = "cd '" + folder_.string() + "' && '" + VORPY_SOURCE_DIR +
                                "/tests/app/wayland_window.sh' '" + VORPY_BINARY +
                                "' > window.log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scenario::read_text(file("window.log"));

    expect_same_menu(picture("menu.png"), picture("wayland_menu.png"), "Wayland");
    expect_same_menu(picture("menu_lit.png"), picture("wayland_restored.png"), "after F11");
    EXPECT_EQ(differing(picture("rules.png"), picture("wayland_rules.png"), 0, 0, 648, 528), 0);
    expect_same_play(picture("play.png"), picture("wayland_play.png"));
    EXPECT_EQ(tiles_shown(picture("wayland_removed.png")), 142);
    EXPECT_EQ(scenario::read_text(file("wayland_title.txt")), "Ворпы 1.25\n");
    const std::string play_title = scenario::read_text(file("wayland_play_title.txt"));
    EXPECT_EQ(play_title.rfind("Ворпы 1.25 (", 0), 0u) << play_title;
    EXPECT_EQ(scenario::read_text(file("wayland_errors.log")), "");
    // SIGTERM in the name entry, where the game sleeps until input.
    EXPECT_EQ(scenario::read_text(file("wayland_term.txt")).rfind("ended ", 0), 0u)
        << scenario::read_text(file("wayland_term.txt"));
}

}  // namespace
