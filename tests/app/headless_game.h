// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the built game through its headless shell in a scratch copy of the generated
// game folder (the score file copied, the data folders linked), and reads back the
// JSON lines it prints; plus the script pieces the scenario tests share.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/json.h"
#include "platform/png.h"

namespace scenario {

using test_json::Value;

struct GameRun {
    int status = -1;  // the process's exit status
    std::vector<Value> dumps;
    std::optional<std::int64_t> exit;      // from the {"exit": N} line once the loop ended
    std::vector<std::string> stray_lines;  // output lines that are neither
    std::string errors;                    // standard error

    const Value& last() const {
        static const Value none;
        return dumps.empty() ? none : dumps.back();
    }
};

// Adds one output line to a run: a dump, the exit line or a stray line.
inline void take_line(GameRun& run, const std::string& line) {
    std::optional<Value> value = test_json::parse(line);
    if (!value || value->kind != Value::Kind::object) {
        run.stray_lines.push_back(line);
    } else if (value->has("exit") && value->size() == 1) {
        run.exit = (*value)["exit"].num();
    } else {
        run.dumps.push_back(std::move(*value));
    }
}

inline std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each test gets its own folder, so a score file written by one never reaches another.
template <class Base = testing::Test>
class HeadlessGameBase : public Base {
  protected:
    HeadlessGameBase() {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        folder_ = std::filesystem::temp_directory_path() /
                  ("vorpy-app-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        const std::filesystem::path game(VORPY_GAME_DIR);
        std::filesystem::copy_file(game / "score.sco", folder_ / "score.sco");
        // Every data folder, the languages' own sets among them.
        for (const auto& entry : std::filesystem::directory_iterator(game))
            if (entry.is_directory())
                std::filesystem::create_directory_symlink(entry.path(),
                                                          folder_ / entry.path().filename());
    }
    ~HeadlessGameBase() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Replaces the link to a data folder by a copy of it, so the test can change files.
    void own_copy(const std::string& data) {
        const std::filesystem::path target = folder_ / data;
        std::filesystem::remove(target);
        std::filesystem::copy(std::filesystem::path(VORPY_GAME_DIR) / data, target,
                              std::filesystem::copy_options::recursive);
    }

    std::filesystem::path file(const std::string& name) const { return folder_ / name; }

    // A screenshot the script wrote into the folder; a black client area when unreadable.
    platform::Bitmap shot(const std::string& name) {
        std::optional<platform::Bitmap> bitmap = platform::read_png(file(name).string());
        EXPECT_TRUE(bitmap.has_value()) << name;
        return bitmap ? *bitmap : platform::Bitmap(648, 528);
    }

    // Runs the game on the script with the given options after --headless; with a locale,
    // under that one's variables (say "LANG=en_US.UTF-8", or "" for none) alone.
    GameRun play(const std::string& script, const std::string& options = "--seed 1",
                 const std::optional<std::string>& locale = std::nullopt) {
        std::ofstream(file("script.txt"), std::ios::binary) << script;
        const std::string environment =
            locale ? "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + *locale + " " : "";
        const std::string command = "cd '" + folder_.string() + "' && " + environment + "'" +
                                    VORPY_BINARY + "' --headless " + options +
                                    " --script script.txt >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        GameRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.errors = read_text(file("err.txt"));
        std::istringstream out(read_text(file("out.txt")));
        for (std::string line; std::getline(out, line);)
            take_line(run, line);
        return run;
    }

    std::filesystem::path folder_;
};

using HeadlessGame = HeadlessGameBase<>;

// ---- Script pieces ---------------------------------------------------------------------

// From start-up to the first frame of play: the repaint and a main menu frame, the
// click on "new game", the deal, the first frame of play.
inline std::string start_game() {
    return "frames 1\nclick_item main 3\nframes 3\n";
}

// From start-up to the first exercise: training chosen, the rules screen clicked
// away, the deal of level 1.
inline std::string start_training() {
    return "frames 1\nclick_item main 4\nframes 2\nclick 300 300\nframes 2\n";
}

inline std::string escape_to_pause() {
    return "escape down\nframes 1\nescape up\n";
}

struct Tile {
    int column, row, kind;
};

// A setboard line with these tiles and every other cell empty.
inline std::string board_of(const std::vector<Tile>& tiles) {
    std::vector<int> cells(18 * 11, -1);
    for (const Tile& t : tiles)
        cells[static_cast<std::size_t>(t.column * 11 + t.row)] = t.kind;
    std::string line = "setboard";
    for (const int v : cells)
        line += " " + std::to_string(v);
    return line + "\n";
}

// Clicks two cells, one frame each, and lets the removal finish.
inline std::string remove_pair(int c1, int r1, int c2, int r2) {
    return "click_cell " + std::to_string(c1) + " " + std::to_string(r1) + "\nframes 1\n" +
           "click_cell " + std::to_string(c2) + " " + std::to_string(r2) + "\nframes 1\n" +
           "wait 101\nframes 1\n";
}

// Leaves one pair on the board and removes it: the board is cleared.
inline std::string clear_board() {
    return board_of({{1, 1, 0}, {2, 1, 0}}) + remove_pair(1, 1, 2, 1);
}

// The text of a menu's item (1-based) in a dump.
inline std::string item_text(const Value& dump, const char* menu, std::size_t item) {
    return dump["menus"][menu][item - 1].str();
}

}  // namespace scenario
