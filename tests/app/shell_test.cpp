// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless shell itself: how scripts end, lines it does not understand, options,
// the loop's activity rule and exit paths, the input the window procedure stores,
// the window's geometry, dumps that leave the game as it was, and the windowed game
// without a display.
#include <chrono>
#include <cstdlib>

#include "app/headless_game.h"
#include "support/test_support.h"

namespace {

using scenario::board_of;
using scenario::GameRun;
using scenario::HeadlessGame;
using scenario::start_game;
using scenario::Value;

using HeadlessShell = HeadlessGame;
using WindowedShell = HeadlessGame;

// With no display to open the windowed game says so and ends at once: no off-screen
// driver takes the display's place unless one is asked for by name.
TEST_F(WindowedShell, WithoutADisplayItSaysSoAndEndsWithOne) {
    const std::string command = "cd '" + folder_.string() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
                                "SDL_AUDIODRIVER=dummy '" +
                                VORPY_BINARY + "' > out.txt 2> err.txt";
    const auto start = std::chrono::steady_clock::now();
    const int raw = std::system(command.c_str());
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const std::string errors = scenario::read_text(file("err.txt"));
    EXPECT_NE(errors.find("vorpy: cannot open a display: "), std::string::npos) << errors;
    // A second on a quiet machine; the bound leaves room for a busy or instrumented one.
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(HeadlessShell, ScriptThatRunsOutEndsWithZeroAndPrintsNothingMore) {
    const GameRun run = play("# a comment\n\n   \nframes 1\ndump\nframes 2\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.dumps.size(), 1u);
    EXPECT_FALSE(run.exit.has_value());
    EXPECT_TRUE(run.stray_lines.empty());
}

TEST_F(HeadlessShell, QuitStateEndsTheLoopWithALastDumpAndTheExitCode) {
    const GameRun run = play("frames 1\nclick_item main 6\nframes 10\ndump\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(run.exit.has_value());
    EXPECT_EQ(*run.exit, 0);
    ASSERT_EQ(run.dumps.size(), 1u);  // the last dump only: the script's own is never reached
    EXPECT_EQ(run.last()["state"].str(), "QUIT");
    EXPECT_EQ(run.last()["keep_running"].num(), 0);
    // The repaint's frame, the click's frame, and the frame of QUIT that ends it.
    EXPECT_EQ(run.last()["frame_count"].num(), 3);
}

TEST_F(HeadlessShell, FatalErrorAtStartUpEndsTheLoopOnItsFirstPass) {
    own_copy("menu");
    std::filesystem::remove(file("menu/helpmenu.menu"));
    const GameRun run = play("frames 3\ndump\n");
    // A fatal error ends the program with a failure code, not as a normal end.
    EXPECT_EQ(run.status, 1) << run.errors;
    ASSERT_TRUE(run.exit.has_value());
    EXPECT_EQ(*run.exit, 1);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_EQ(
        run.last()["fatal"].texts(),
        std::vector<std::string>{"windowmenu::init: невозможно открыть файл\nmenu\\helpmenu.menu"});
    // The five menus that load after it are all right: nothing more reaches standard error.
    EXPECT_EQ(run.errors,
              "vorpy: windowmenu::init: невозможно открыть файл\nmenu\\helpmenu.menu\n");
    EXPECT_TRUE(run.last()["message_boxes"].items.empty());
    EXPECT_EQ(run.last()["frame_count"].num(), 0);
}

struct BadLine {
    std::string name;
    std::string line;
};
void PrintTo(const BadLine& c, std::ostream* os) {
    *os << c.name;
}

class UnknownLine : public scenario::HeadlessGameBase<testing::TestWithParam<BadLine>> {};

TEST_P(UnknownLine, StopsWithExitCodeTwoNamingTheLine) {
    const BadLine& c = GetParam();
    const GameRun run = play("frames 1\ndump\n# comment\n\n" + c.line + "\ndump\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.dumps.size(), 1u);  // what ran before the line
    EXPECT_FALSE(run.exit.has_value());
    EXPECT_NE(run.errors.find("line 5"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(c.line), std::string::npos) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Script, UnknownLine,
    testing::Values(BadLine{"UnknownCommand", "jump 3"}, BadLine{"MissingCount", "frames"},
                    BadLine{"NegativeCount", "frames -1"}, BadLine{"NotANumber", "wait 1s"},
                    BadLine{"ExtraArgument", "dump now"}, BadLine{"OneCoordinate", "click 10"},
                    BadLine{"CoordinateOutOfRange", "move 10 70000"},
                    BadLine{"CellOffTheBoard", "click_cell 18 0"},
                    BadLine{"UnknownMenu", "click_item options 1"},
                    BadLine{"ItemTheMenuLacks", "click_item main 9"},
                    BadLine{"EscapeSideways", "escape sideways"},
                    BadLine{"ActivateTwo", "activate 2"}, BadLine{"ShortBoard", "setboard 1 2 3"},
                    BadLine{"UpperCase", "DUMP"}),
    test_support::CaseName());

TEST_F(HeadlessShell, BoardOfUnknownKindIsNotUnderstood) {
    std::string line = board_of({{1, 1, 36}});
    line.pop_back();
    const GameRun run = play(line + "\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("line 1"), std::string::npos) << run.errors;
}

TEST_F(HeadlessShell, ScreenshotThatCannotBeWrittenStopsWithExitCodeTwo) {
    const GameRun run = play("frames 1\nscreenshot no/such/folder/shot.png\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("line 2"), std::string::npos) << run.errors;
}

TEST_F(HeadlessShell, FrameLimitStopsTheScriptWithExitCodeTwo) {
    const GameRun run = play("frames 5\ndump\nframes 1\ndump\n", "--seed 1 --max-frames 5");
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_NE(run.errors.find("line 3 reached the frame limit"), std::string::npos) << run.errors;
}

TEST_F(HeadlessShell, ScreenshotsCanBeTurnedOff) {
    const GameRun run = play("frames 1\nscreenshot shot.png\ndump\n", "--seed 1 --no-screenshots");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.dumps.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(file("shot.png")));
}

TEST_F(HeadlessShell, WaitsStopWhereTheVirtualClockEnds) {
    // About 31 years in all; the microsecond past it fails.
    const GameRun run = play("frames 1\nwait 999999999999\nwait_us 1000\ndump\nwait_us 1\n");
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_NE(run.errors.find("line 5 failed"), std::string::npos) << run.errors;
}

struct BadOption {
    std::string name;
    std::string options;
};
void PrintTo(const BadOption& c, std::ostream* os) {
    *os << c.name;
}

class UnknownOption : public scenario::HeadlessGameBase<testing::TestWithParam<BadOption>> {};

TEST_P(UnknownOption, StopsBeforeTheGameWithUsage) {
    const GameRun run = play("frames 1\ndump\n", GetParam().options);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.dumps.empty());
    EXPECT_NE(run.errors.find("usage"), std::string::npos) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(Options, UnknownOption,
                         testing::Values(BadOption{"SeedNotANumber", "--seed x"},
                                         BadOption{"SeedNegative", "--seed -1"},
                                         BadOption{"SeedTooLarge", "--seed 4294967296"},
                                         BadOption{"DateNotInTheCalendar", "--date 2023-02-29"},
                                         BadOption{"DateShort", "--date 2024-4-1"},
                                         BadOption{"ScreenHeightZero", "--screen-height 0"},
                                         BadOption{"MaxFramesNegative", "--max-frames -1"},
                                         BadOption{"UnknownOption", "--frames 3"}),
                         test_support::CaseName());

// ---- Start-up geometry ------------------------------------------------------------------

struct ScreenCase {
    std::string name;
    std::string options;
    std::int64_t window_y;
};
void PrintTo(const ScreenCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowGeometry : public scenario::HeadlessGameBase<testing::TestWithParam<ScreenCase>> {};

TEST_P(WindowGeometry, ClientIsTheBoardAndTheWindowIsCentred) {
    const GameRun run = play("dump\n", "--seed 1 " + GetParam().options);
    ASSERT_EQ(run.status, 0) << run.errors;
    const Value& d = run.last();
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(d["cell"].numbers(), (V{36, 48}));
    EXPECT_EQ(d["client"].numbers(), (V{648, 528}));
    EXPECT_EQ(d["window"].numbers(), (V{654, 553}));
    EXPECT_EQ(d["text_width"].num(), 18);
    EXPECT_EQ(d["window_position"].numbers(), (V{(1024 - 654) / 2, GetParam().window_y}));
}

INSTANTIATE_TEST_SUITE_P(Screen, WindowGeometry,
                         testing::Values(ScreenCase{"Default768", "", (768 - 553) / 2},
                                         ScreenCase{"Height600", "--screen-height 600", 23},
                                         // Halves truncate towards zero: -53 / 2 is -26.
                                         ScreenCase{"SmallerThanTheWindow", "--screen-height 500",
                                                    -26}),
                         test_support::CaseName());

// ---- The loop and the window procedure --------------------------------------------------

TEST_F(HeadlessShell, OneMoreFrameRunsAfterDeactivationAndNoneUntilReactivated) {
    const GameRun run = play(
        "frames 1\ndump\nactivate 0\nframes 1\ndump\nframes 5\ndump\nactivate 1\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 4u);
    std::vector<std::int64_t> frames, active, activity;
    std::vector<std::string> intro;
    for (const Value& d : run.dumps) {
        frames.push_back(d["frame_count"].num());
        active.push_back(d["window_active"].num());
        activity.push_back(d["activity_count"].num());
        intro.push_back(d["music"]["intro"].str());
    }
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(frames, (V{1, 2, 2, 3}));
    EXPECT_EQ(active, (V{1, 0, 0, 1}));
    EXPECT_EQ(activity, (V{2, 0, 0, 1}));
    // The one frame after deactivation pauses the music; the first one back resumes it.
    EXPECT_EQ(intro, (std::vector<std::string>{"playing", "paused", "paused", "playing"}));
}

TEST_F(HeadlessShell, CharactersArePrintableBytesOrTheLastControlCode) {
    const GameRun run = play(
        "frames 1\nchar 65\nchar 300\nframes 2\ndump\nchar 31\nchar 255\nchar 32\nframes 3\ndump\n"
        "type ё\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_EQ(run.dumps[0]["typed_chars"].str(), "A");
    EXPECT_EQ(run.dumps[0]["last_control_char"].num(), 300);
    EXPECT_EQ(run.dumps[1]["typed_chars"].str(), "Aя ");  // 255 is я in the code page
    EXPECT_EQ(run.dumps[1]["last_control_char"].num(), 31);
    EXPECT_EQ(run.dumps[2]["typed_chars"].str(), "Aя ё");
}

TEST_F(HeadlessShell, MousePositionsAreSixteenBitClientCoordinates) {
    const GameRun run =
        play("frames 1\nmove 100 200\nframes 1\ndump\nclick -1 65535\nframes 1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(run.dumps[0]["mouse"].numbers(), (V{100, 200}));
    EXPECT_EQ(run.dumps[1]["mouse"].numbers(), (V{65535, 65535}));
}

TEST_F(HeadlessShell, SetboardCountsTheTilesAndDropsSelectionAndRemoval) {
    // A pair clicked away: the removal is pending when the new board arrives.
    const GameRun run = play(start_game() + board_of({{1, 1, 0}, {2, 1, 0}}) +
                             "click_cell 1 1\nframes 1\nclick_cell 2 1\nframes 1\ndump\n" +
                             board_of({{4, 4, 3}, {4, 5, 3}, {9, 9, 7}}) + "dump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0]["removal_pending"].num(), 1);
    const Value& d = run.dumps[1];
    EXPECT_EQ(d["tiles_left"].num(), 3);
    EXPECT_EQ(d["no_selection"].num(), 1);
    EXPECT_EQ(d["removal_pending"].num(), 0);
    EXPECT_EQ(d["board"][4 * 11 + 5].num(), 3);
    EXPECT_EQ(d["board"][9 * 11 + 9].num(), 7);
    EXPECT_EQ(d["open_pairs"].num(), 1);
}

// The same play with and without a dump after every line ends in the same state.
TEST_F(HeadlessShell, DumpsChangeNothing) {
    const std::string lines[] = {"frames 1", "click_item main 3", "frames 3", "click_cell 3 3",
                                 "frames 1", "wait 1500",         "frames 2", "click_cell 9 4",
                                 "frames 1", "wait 200",          "frames 2"};
    std::string plain, dumped;
    for (const std::string& line : lines) {
        plain += line + "\n";
        dumped += line + "\ndump\n";
    }
    const GameRun a = play(plain + "dump\n");
    const GameRun b = play(dumped);
    ASSERT_EQ(a.status, 0) << a.errors;
    ASSERT_EQ(b.status, 0) << b.errors;
    for (const char* field : {"state", "score", "tiles_left", "no_selection", "removal_pending",
                              "selected", "open_pairs", "hint_pair", "path_corners", "board",
                              "random_state", "title", "frame_count", "panel_score"}) {
        SCOPED_TRACE(field);
        const Value& x = a.last()[field];
        const Value& y = b.last()[field];
        EXPECT_EQ(x.num(), y.num());
        EXPECT_EQ(x.str(), y.str());
        EXPECT_EQ(x.numbers(), y.numbers());
    }
}

TEST_F(HeadlessShell, SeedChoosesTheDealAndDefaultsToTheVirtualTickCount) {
    const std::string script = start_game() + "dump\n";
    const GameRun one = play(script, "--seed 1");
    const GameRun again = play(script, "--seed 1");
    const GameRun other = play(script, "--seed 2");
    const GameRun unseeded = play(script, "");
    const GameRun zero = play(script, "--seed 0");
    for (const GameRun* r : {&one, &again, &other, &unseeded, &zero})
        ASSERT_EQ(r->status, 0) << r->errors;
    EXPECT_EQ(one.last()["board"].numbers(), again.last()["board"].numbers());
    EXPECT_NE(one.last()["board"].numbers(), other.last()["board"].numbers());
    EXPECT_EQ(unseeded.last()["board"].numbers(), zero.last()["board"].numbers());
}

}  // namespace
