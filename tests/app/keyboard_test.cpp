// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game played by keys in the headless shell: the menus' highlight moved by Up and
// Down and chosen by Enter and Space, the board cursor with its frame, H for a hint,
// M for silence, F11 for full screen, and a click on an inactive window dropped.
#include <span>
#include <string>

#include "app/headless_game.h"
#include "platform/audio.h"
#include "platform/png.h"

namespace {

using platform::Bitmap;
using platform::Pixel;
using scenario::board_of;
using scenario::escape_to_pause;
using scenario::GameRun;
using scenario::HeadlessGame;
using scenario::start_game;
using scenario::Value;

constexpr int cell_w = 36, cell_h = 48;
constexpr Pixel yellow = 0xFFFF00;

// Presses each key in turn, one frame each (Space, H and M type a character as well,
// which takes a second frame).
std::string keys(std::initializer_list<const char*> names) {
    std::string script;
    for (const char* name : names) {
        const std::string n = name;
        script +=
            "key " + n + "\nframes " + (n == "space" || n == "h" || n == "m" ? "2" : "1") + "\n";
    }
    return script;
}

std::vector<std::int64_t> cursor_of(const Value& dump) {
    return dump["cursor"].kind == Value::Kind::null ? std::vector<std::int64_t>{}
                                                    : dump["cursor"].numbers();
}

bool no_highlight(const Value& dump) {
    return dump["highlight"].kind == Value::Kind::null;
}

using Keyboard = HeadlessGame;

// Pixels of the rectangle that differ between two pictures.
int differing(const Bitmap& a, const Bitmap& b, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (a.at(x, y) != b.at(x, y)) ++n;
    return n;
}

TEST_F(Keyboard, MainMenuToNewGameByKeysAlone) {
    const GameRun run = play("frames 1\ndump\n" + keys({"down"}) + "dump\n" + keys({"up"}) +
                             "dump\n" + keys({"down", "down", "down", "down", "down"}) + "dump\n" +
                             keys({"up", "up", "up", "up", "up", "up"}) + "dump\n" +
                             keys({"enter"}) + "frames 2\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 6u);
    EXPECT_TRUE(no_highlight(run.dumps[0]));
    EXPECT_EQ(run.dumps[1]["highlight"].num(), 3) << "Down lights the first working item";
    EXPECT_EQ(run.dumps[2]["highlight"].num(), 3) << "and Up stops there";
    EXPECT_EQ(run.dumps[3]["highlight"].num(), 6) << "Down stops at the last";
    EXPECT_EQ(run.dumps[4]["highlight"].num(), 3);
    EXPECT_EQ(run.last()["state"].str(), "PLAY");
    EXPECT_EQ(run.last()["tiles_left"].num(), 144);
}

TEST_F(Keyboard, MouseAndKeysShareTheHighlightWhicheverMovedLast) {
    const std::string training = "move 324 232\nframes 1\n";  // over "Тренировка"
    const GameRun run = play("frames 1\n" + training + "dump\n" + keys({"down"}) + "dump\n" +
                             "frames 5\ndump\n" + training + "dump\n" + keys({"up"}) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 5u);
    EXPECT_EQ(run.dumps[0]["highlight"].num(), 4);
    EXPECT_EQ(run.dumps[1]["highlight"].num(), 5) << "Down goes on from the mouse's item";
    EXPECT_EQ(run.dumps[2]["highlight"].num(), 5) << "a still mouse does not take it back";
    EXPECT_EQ(run.dumps[3]["highlight"].num(), 4) << "a moving one does";
    EXPECT_EQ(run.dumps[4]["highlight"].num(), 3);
}

TEST_F(Keyboard, PauseMenuNameEntryAndScoreTableByKeys) {
    // 300 points beat the table's last entry; Enter ends the name entry only, and the
    // score table then waits for its own key.
    const GameRun run = play(start_game() + escape_to_pause() + keys({"down", "down", "down"}) +
                             "dump\n" + keys({"up", "up", "enter"}) + "dump\n" + escape_to_pause() +
                             keys({"down", "down", "enter"}) + "dump\n" + "type Ёж\nframes 3\n" +
                             keys({"enter"}) + "dump\n" + keys({"space"}) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 5u);
    EXPECT_EQ(run.dumps[0]["highlight"].num(), 5);
    EXPECT_EQ(run.dumps[1]["state"].str(), "PLAY");
    EXPECT_EQ(run.dumps[2]["state"].str(), "NAME_ENTRY");
    EXPECT_EQ(run.dumps[2]["player_name"].str(), "");
    EXPECT_EQ(run.dumps[3]["state"].str(), "SCORE_SCREEN");
    EXPECT_EQ(run.dumps[3]["scores"][8][0].str(), "Ёж");
    EXPECT_EQ(run.last()["state"].str(), "MAIN_MENU");
}

TEST_F(Keyboard, HOpensTheHintPromptWhoseShowItemIsChosenByKeys) {
    const GameRun run = play(start_game() + "dump\n" + keys({"h"}) + "dump\n" +
                             keys({"down", "enter"}) + "frames 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_EQ(run.dumps[1]["state"].str(), "HINT_PROMPT");
    EXPECT_EQ(run.dumps[1]["score"].num(), run.dumps[0]["score"].num()) << "nothing paid yet";
    EXPECT_EQ(run.last()["state"].str(), "PLAY");
    EXPECT_EQ(run.last()["score"].num(), run.dumps[0]["score"].num() - 10);
    EXPECT_EQ(run.last()["hint_cost"].num(), 20);
}

// ---- The board cursor -------------------------------------------------------------------

TEST_F(Keyboard, CursorStartsOnTheTopLeftTileAndStopsAtTheEdges) {
    // A board whose first tile row by row is at 3, 2.
    const std::string board = board_of({{3, 2, 0}, {16, 9, 0}, {1, 5, 1}, {2, 8, 1}});
    const GameRun run = play(start_game() + board + "dump\n" + keys({"right"}) + "dump\n" +
                             keys({"up", "up", "up", "left", "left", "left", "left"}) + "dump\n" +
                             [] {
                                 std::string s;
                                 for (int i = 0; i < 20; ++i)
                                     s += "key right\nkey down\nframes 2\n";
                                 return s;
                             }() +
                             "dump\nmove 100 100\nframes 1\ndump\n" + keys({"left"}) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 6u);
    EXPECT_TRUE(cursor_of(run.dumps[0]).empty());
    EXPECT_EQ(cursor_of(run.dumps[1]), (std::vector<std::int64_t>{3, 2}));
    EXPECT_EQ(cursor_of(run.dumps[2]), (std::vector<std::int64_t>{1, 1}));
    EXPECT_EQ(cursor_of(run.dumps[3]), (std::vector<std::int64_t>{16, 9}));
    EXPECT_TRUE(cursor_of(run.dumps[4]).empty()) << "the mouse moved";
    EXPECT_EQ(cursor_of(run.dumps[5]), (std::vector<std::int64_t>{3, 2})) << "shown anew";
}

TEST_F(Keyboard, CursorFrameIsYellowAndLeavesTheCellExactlyAsItWas) {
    const GameRun run =
        play(start_game() + "screenshot plain.png\n" + keys({"right"}) + "screenshot on.png\n" +
             keys({"right"}) + "screenshot moved.png\nmove 5 300\nframes 1\nscreenshot off.png\n" +
             "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    const Bitmap plain = shot("plain.png"), on = shot("on.png"), moved = shot("moved.png"),
                 off = shot("off.png");
    // The frame lies inside cell 1, 1 and nowhere else.
    const int changed = differing(plain, on, 0, 0, 648, 528);
    EXPECT_GT(changed, 0);
    EXPECT_EQ(differing(plain, on, cell_w, cell_h, 2 * cell_w, 2 * cell_h), changed);
    int frame_pixels = 0;
    for (int y = cell_h; y < 2 * cell_h; ++y)
        for (int x = cell_w; x < 2 * cell_w; ++x)
            if (on.at(x, y) != plain.at(x, y)) {
                ++frame_pixels;
                EXPECT_TRUE(on.at(x, y) == yellow || on.at(x, y) == 0) << x << "," << y;
            }
    EXPECT_EQ(frame_pixels, changed);
    // Its corners, clear of the one-pixel band along the cell edge where the selection
    // and hint outlines run.
    EXPECT_EQ(on.at(cell_w + 5, cell_h + 5), yellow);
    EXPECT_EQ(on.at(2 * cell_w - 6, 2 * cell_h - 6), yellow);
    EXPECT_EQ(on.at(cell_w + 3, cell_h + 3), 0u) << "edged in black";
    EXPECT_EQ(on.at(cell_w + 2, cell_h + 2), plain.at(cell_w + 2, cell_h + 2));
    // Moved on, cell 1, 1 is as before; hidden by the mouse, the whole board is.
    EXPECT_EQ(differing(plain, moved, cell_w, cell_h, 2 * cell_w, 2 * cell_h), 0);
    EXPECT_GT(differing(plain, moved, 2 * cell_w, cell_h, 3 * cell_w, 2 * cell_h), 0);
    EXPECT_EQ(differing(plain, off, 0, cell_h, 648, 528), 0);
}

TEST_F(Keyboard, CursorStaysOnItsCellAcrossShiftsAndIsDrawnAgain) {
    // The first stage shifts the tiles after each removal (mode 1). The pair at 1,1 and
    // 2,1 removed by keys: the board moves and is repainted, and the cursor keeps its
    // cell with its frame drawn over the new board.
    const std::string board = board_of(
        {{1, 1, 0}, {2, 1, 0}, {3, 1, 1}, {3, 2, 1}, {5, 5, 2}, {6, 7, 2}, {8, 3, 3}, {8, 4, 3}});
    const GameRun run = play(start_game() + board + "paint\nframes 1\ndump\n" +
                             keys({"right", "enter"}) + "dump\n" + keys({"right", "enter"}) +
                             "wait 101\nframes 1\ndump\nscreenshot after.png\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_EQ(run.dumps[1]["selected"].numbers(), (std::vector<std::int64_t>{1, 1}));
    EXPECT_EQ(run.last()["tiles_left"].num(), 6);
    EXPECT_NE(run.last()["board"].numbers(), run.dumps[0]["board"].numbers());
    EXPECT_EQ(cursor_of(run.last()), (std::vector<std::int64_t>{2, 1}));
    const Bitmap after = shot("after.png");
    EXPECT_EQ(after.at(2 * cell_w + 5, cell_h + 5), yellow);
    EXPECT_EQ(after.at(3 * cell_w - 6, 2 * cell_h - 6), yellow);
}

// ---- What the play-test found --------------------------------------------------------

TEST_F(Keyboard, AClickOnAnInactiveWindowIsDroppedTheActivatingClickActs) {
    // "Тренировка" clicked while inactive, the mouse then over "Выход", then activation:
    // nothing happens. The click after activation acts.
    const GameRun run = play(
        "frames 1\nactivate 0\nframes 1\nclick_item main 4\nmove 324 348\nframes 2\n"
        "activate 1\nframes 3\ndump\nactivate 0\nframes 1\nactivate 1\nclick_item main 4\n"
        "frames 3\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["state"].str(), "MAIN_MENU");
    EXPECT_EQ(run.dumps[0]["click_count"].num(), 0);
    EXPECT_EQ(run.last()["state"].str(), "TRAINING_RULES");
}

TEST_F(Keyboard, MSilencesTheGameAndBringsItBackWhereItWas) {
    const std::string intro = scenario::read_text(file("sound/intro.wav"));
    const std::int64_t length_ms =
        platform::wave_length_us(
            std::span(reinterpret_cast<const std::uint8_t*>(intro.data()), intro.size())) /
        1000;
    ASSERT_GT(length_ms, 2000);
    // The intro plays from the first menu frame; muted a second in, it stays paused
    // through a minute and a screen change that sounds no effect, and then plays only
    // what was left of it.
    const GameRun run =
        play("frames 1\nwait 1000\nframes 1\n" + keys({"m"}) + "dump\nwait 60000\nframes 1\n" +
             "click_item main 5\nframes 2\ndump\nclick 300 300\nframes 2\n" + keys({"m"}) +
             "dump\n" + "wait " + std::to_string(length_ms - 1000 - 200) +
             "\nframes 1\ndump\nwait 400\nframes 1\n" + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 5u);
    EXPECT_EQ(run.dumps[0]["music"]["intro"].str(), "paused");
    EXPECT_TRUE(run.dumps[0]["muted"].flag);
    EXPECT_EQ(run.dumps[1]["state"].str(), "SCORE_SCREEN");
    EXPECT_TRUE(run.dumps[1]["effects"].texts().empty()) << "MENU_GO while muted";
    EXPECT_EQ(run.dumps[1]["music"]["intro"].str(), "paused");
    EXPECT_FALSE(run.dumps[2]["muted"].flag);
    EXPECT_EQ(run.dumps[2]["music"]["intro"].str(), "playing");
    EXPECT_EQ(run.dumps[3]["music"]["intro"].str(), "playing");
    EXPECT_EQ(run.dumps[4]["music"]["intro"].str(), "stopped");
}

// F11 asks the desktop for full screen and back wherever the game is, and is nothing
// else: no cursor, no letter in the name entry, not a pixel of the game changed.
TEST_F(Keyboard, F11TogglesFullScreenInEveryStateAndIsNothingElse) {
    const GameRun run = play("frames 1\n" + keys({"f11"}) + "dump\n" +
                             "click_item main 3\nframes 3\n" + "screenshot windowed.png\n" +
                             keys({"f11"}) + "screenshot full.png\ndump\n" + escape_to_pause() +
                             keys({"down", "down", "down", "enter"}) + keys({"f11"}) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_TRUE(run.dumps[0]["full_screen"].flag);
    EXPECT_EQ(run.dumps[0]["highlight"].kind, Value::Kind::null) << "the menu highlight stays";
    EXPECT_FALSE(run.dumps[1]["full_screen"].flag);
    EXPECT_EQ(run.dumps[1]["state"].str(), "PLAY");
    EXPECT_TRUE(cursor_of(run.dumps[1]).empty()) << "no cursor shown";
    EXPECT_EQ(differing(shot("windowed.png"), shot("full.png"), 0, 0, 648, 528), 0);
    EXPECT_EQ(run.dumps[2]["state"].str(), "NAME_ENTRY");
    EXPECT_TRUE(run.dumps[2]["full_screen"].flag);
    EXPECT_EQ(run.dumps[2]["player_name"].str(), "");
}

}  // namespace
