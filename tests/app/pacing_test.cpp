// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Frames only when something is due against a frame every millisecond: the same
// script of input and minutes of virtual time through menus, a stage with removals,
// a hint, the pause menu, deactivation, name entry, training and the music's turns
// must leave the same state and the same pixels at every checkpoint.
#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "platform/png.h"

namespace {

using scenario::board_of;
using scenario::GameRun;
using scenario::HeadlessGame;

// A checkpoint: the state as JSON and a screenshot named after the run and its number.
std::string checkpoint(const std::string& run, int& number) {
    return "dump\nscreenshot " + run + "_" + std::to_string(++number) + ".png\n";
}

std::string clicks(int c1, int r1, int c2, int r2) {
    return "click_cell " + std::to_string(c1) + " " + std::to_string(r1) + "\nrun 40\n" +
           "click_cell " + std::to_string(c2) + " " + std::to_string(r2) + "\nrun 30\n";
}

// From start-up through the main menu and the score screen into the first frame of
// play: the click's frame, the deal's and then play's, a millisecond apart.
std::string start_of_play() {
    return "run 30\ndump\nmove 300 300\nrun 2500\ndump\nclick_item main 5\nrun 1200\ndump\n"
           "click 10 10\nrun 450\nclick_item main 3\nrun 2\n";
}

// The interval of the second bell, in tenths of a second: the draw the first frame of
// play makes after the first bell, read back from the generator's state.
std::int64_t second_bell_interval(std::int64_t random_state) {
    return (random_state >> 16 & 0x7FFF) % 50;
}

// The whole scenario; run names its screenshots. The first bell of play rings on its
// first frame; the second one, bell_interval tenths of a second later, and the first
// point of the score drain, a second later, each get a checkpoint on either side.
std::string scenario_script(const std::string& run, int& shots, std::int64_t bell_interval) {
    std::string s;
    auto check = [&] { s += checkpoint(run, shots); };
    s += "run 30\n";
    check();
    // The main menu with its border animation and the intro running into the menu music.
    s += "move 300 300\nrun 2500\n";
    check();
    s += "click_item main 5\nrun 1200\n";
    check();
    s += "click 10 10\nrun 450\nclick_item main 3\nrun 2\n";
    std::vector<std::int64_t> moments = {bell_interval * 100, bell_interval * 100 + 1, 999, 1000};
    std::sort(moments.begin(), moments.end());
    moments.erase(std::unique(moments.begin(), moments.end()), moments.end());
    std::int64_t now = 0;
    for (const std::int64_t moment : moments) {
        s += "run " + std::to_string(moment - now) + "\n";
        check();
        now = moment;
    }
    // A stage: two removals, a refused click during a pending removal, the drain.
    s += board_of({{1, 1, 0},
                   {2, 1, 0},
                   {1, 3, 1},
                   {2, 3, 1},
                   {5, 5, 2},
                   {9, 5, 2},
                   {12, 7, 3},
                   {13, 7, 3},
                   {3, 8, 4},
                   {3, 9, 4}});
    // The removal finishes on the first millisecond after its tenth of a second: a
    // checkpoint on either side of it.
    s += "click_cell 1 1\nrun 40\nclick_cell 2 1\nrun 100\n";
    check();                                // the path is drawn, the removal pending
    s += "click_cell 5 5\nrun 0\nrun 1\n";  // refused while the removal is pending
    check();
    s += clicks(1, 3, 2, 3) + "run 2300\n";
    check();
    // Escape into the pause menu, a paid hint, back to play.
    s += "escape down\nrun 20\nescape up\nrun 700\n";
    check();
    s += "click_item continue 4\nrun 300\nclick_item help 4\nrun 900\n";
    check();
    // Seven seconds inactive during play cost seven points on the first frame back.
    s += "activate 0\nrun 7000\nactivate 1\nrun 1300\n";
    check();
    s += "move 20 20\nrun 150\nclick 20 20\nrun 300\nclick_item continue 3\nrun 4200\n";
    check();
    // The close button pauses; ending the game with a score above the table's last
    // entry asks for a name.
    s += "close\nrun 200\nclick_item continue 5\nrun 400\n";
    check();
    // Long enough with no input for the menu music (30 s) to run out and start again.
    s += "run 35000\n";
    check();
    s += "type Вася Пу\nrun 100\nchar 8\nrun 100\nchar 13\nrun 600\n";
    check();
    s += "click 10 10\nrun 300\n";
    // Training: the rules, an exercise with a hint, its end.
    s += "click_item main 4\nrun 400\nclick 300 300\nrun 800\n";
    check();
    s += "click_item training 6\nrun 500\n";
    check();
    // The end screen lights the item under the mouse on its first frame.
    s += "click_item training 7\nrun 600\n";
    check();
    s += "click 300 300\nrun 400\n";
    check();
    // Minutes in the main menu: the menu music plays to its end and starts again.
    s += "run 150000\n";
    check();
    s += "activate 0\nrun 60000\nactivate 1\nrun 500\n";
    check();
    s += "click_item main 6\nrun 100\n";
    return s;
}

// The lines of a run's output with the frame count left out: the one field in which
// the two ways of pacing may differ.
std::vector<std::string> dumps_without_frame_count(const std::string& text) {
    static const std::regex frame_count("\"frame_count\":[0-9]+,?");
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::regex_replace(line, frame_count, ""));
    return lines;
}

class Pacing : public HeadlessGame {};

TEST_F(Pacing, FramesAtDueTimesShowWhatFramesEveryMillisecondShow) {
    const GameRun probe = play(start_of_play() + "dump\n", "--seed 5 --pace every-ms");
    ASSERT_EQ(probe.dumps.size(), 4u) << probe.errors;
    ASSERT_EQ(probe.last()["state"].str(), "PLAY");
    ASSERT_EQ(probe.last()["music"]["bells"].str(), "playing");
    const std::int64_t bell_interval = second_bell_interval(probe.last()["random_state"].num());
    std::filesystem::copy_file(std::filesystem::path(VORPY_GAME_DIR) / "score.sco",
                               file("score.sco"),
                               std::filesystem::copy_options::overwrite_existing);

    int every_ms_shots = 0, due_shots = 0;
    const GameRun every_ms = play(scenario_script("every_ms", every_ms_shots, bell_interval),
                                  "--seed 5 --pace every-ms");
    ASSERT_EQ(every_ms.status, 0) << every_ms.errors;
    const std::string every_ms_text = scenario::read_text(file("out.txt"));
    // Both runs start from the same score table: the first one wrote a name into it.
    std::filesystem::copy_file(std::filesystem::path(VORPY_GAME_DIR) / "score.sco",
                               file("score.sco"),
                               std::filesystem::copy_options::overwrite_existing);
    const GameRun due =
        play(scenario_script("due", due_shots, bell_interval), "--seed 5 --pace due");
    ASSERT_EQ(due.status, 0) << due.errors;
    const std::string due_text = scenario::read_text(file("out.txt"));

    // The scenario goes where it means to, so the comparison covers those screens; the
    // last dump is the one printed when the loop ends.
    ASSERT_EQ(every_ms.dumps.size(), static_cast<std::size_t>(every_ms_shots) + 1);
    const std::size_t play_moments = every_ms.dumps.size() - 20;  // 3 or 4
    std::vector<std::string> states = {"MAIN_MENU", "MAIN_MENU", "SCORE_SCREEN"};
    states.insert(states.end(), play_moments, "PLAY");
    for (const char* state :
         {"PLAY", "PLAY", "PLAY", "PAUSE_MENU", "PLAY", "PLAY", "PLAY", "NAME_ENTRY", "NAME_ENTRY",
          "SCORE_SCREEN", "TRAINING_PLAY", "TRAINING_PLAY", "TRAINING_END", "MAIN_MENU",
          "MAIN_MENU", "MAIN_MENU"})
        states.emplace_back(state);
    std::string went, meant;
    for (std::size_t i = 0; i < states.size(); ++i) {
        went += every_ms.dumps[i]["state"].str() + " ";
        meant += states[i] + " ";
    }
    ASSERT_EQ(went, meant) << "the states at the checkpoints";
    // Each checkpoint pair falls on either side of its moment.
    const auto at_moment = [&](std::int64_t moment) -> const test_json::Value& {
        std::vector<std::int64_t> moments = {bell_interval * 100, bell_interval * 100 + 1, 999,
                                             1000};
        std::sort(moments.begin(), moments.end());
        moments.erase(std::unique(moments.begin(), moments.end()), moments.end());
        const auto i = std::find(moments.begin(), moments.end(), moment) - moments.begin();
        return every_ms.dumps[3 + static_cast<std::size_t>(i)];
    };
    EXPECT_EQ(at_moment(999)["score"].num(), 300);
    EXPECT_EQ(at_moment(1000)["score"].num(), 299);
    EXPECT_NE(at_moment(bell_interval * 100)["random_state"].num(),
              at_moment(bell_interval * 100 + 1)["random_state"].num())
        << "the second bell draws the next interval";
    const std::size_t stage = 3 + play_moments;
    EXPECT_EQ(every_ms.dumps[stage]["removal_pending"].num(), 1);
    EXPECT_EQ(every_ms.dumps[stage + 1]["removal_pending"].num(), 0);
    EXPECT_EQ(every_ms.dumps[stage + 2]["tiles_left"].num(), 6);
    EXPECT_EQ(every_ms.exit, 0);

    const std::vector<std::string> a = dumps_without_frame_count(every_ms_text),
                                   b = dumps_without_frame_count(due_text);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const auto [x, y] = std::mismatch(a[i].begin(), a[i].end(), b[i].begin(), b[i].end());
        const std::size_t at = static_cast<std::size_t>(x - a[i].begin());
        const std::size_t from = at < 60 ? 0 : at - 60;
        ADD_FAILURE() << "dump " << i + 1 << " differs; every millisecond: ..."
                      << a[i].substr(from, 120) << "\npaced by due times: ..."
                      << b[i].substr(from, 120);
    }

    ASSERT_EQ(due_shots, every_ms_shots);
    for (int i = 1; i <= every_ms_shots; ++i) {
        const auto x = platform::read_png(file("every_ms_" + std::to_string(i) + ".png").string());
        const auto y = platform::read_png(file("due_" + std::to_string(i) + ".png").string());
        ASSERT_TRUE(x && y) << "screenshot " << i;
        EXPECT_TRUE(x->pixels == y->pixels) << "screenshot " << i << " differs";
    }

    // And the point of it: a few frames a second at most, not a thousand.
    const std::int64_t frames_every_ms = every_ms.last()["frame_count"].num();
    const std::int64_t frames_due = due.last()["frame_count"].num();
    EXPECT_GT(frames_every_ms, 150'000);
    EXPECT_LT(frames_due * 50, frames_every_ms)
        << frames_due << " frames paced by due times, " << frames_every_ms << " every millisecond";
}

}  // namespace
