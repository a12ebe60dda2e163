// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the headless shell's script reader and every command it carries out,
// each input a whole game from start-up in a private copy of the generated game folder
// (the score file put back and the kept game removed before each run). Every subsystem's state
// starts each input as a new process would have it; the pictures and music lengths decoded from the
// unchanging data folder are kept from one input to the next. An input that starts with
// the line "language en" plays in English. Frames are limited so a
// long "frames" line cannot stall the run, and screenshot lines write nothing. With
// whole data the run must end normally: no fatal error and no message box. After every
// line the game's invariants are checked (see check_invariants); a broken one aborts.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/headless.h"
#include "app/preferences.h"
#include "app/startup.h"
#include "base/game_states.h"
#include "board/board.h"
#include "board/open_pairs.h"
#include "flow/flow.h"
#include "flow/kept_game.h"
#include "platform/desktop.h"
#include "platform/kept_data.h"
#include "platform/locale.h"
#include "scores/score_table.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;

// Enough for start-up, a few menus and several removals at one frame each.
constexpr std::int64_t frames_per_input = 400;

// The starting score table, read once from the generated folder.
std::string read_start_scores() {
    std::ifstream input(fs::path(VORPY_GAME_DIR) / "score.sco", std::ios::binary);
    std::ostringstream bytes;
    bytes << input.rdbuf();
    if (!input) fuzz::fail("cannot read the generated score file");
    return bytes.str();
}

// Makes the game folder in the scratch folder, with every data folder of the generated
// one linked (whatever folders it has), once for the process.
const std::string& game_folder() {
    static const std::string folder = [] {
        const std::string path = fuzz::scratch_folder() + "game/";
        std::error_code error;
        fs::create_directories(path, error);
        int linked = 0;
        for (const fs::directory_entry& data : fs::directory_iterator(VORPY_GAME_DIR, error)) {
            if (!data.is_directory(error)) continue;
            fs::create_directory_symlink(data.path(), path + data.path().filename().string(),
                                         error);
            if (error) fuzz::fail("cannot link the game's data folders");
            ++linked;
        }
        if (error || linked == 0) fuzz::fail("cannot list the game's data folders");
        return path;
    }();
    return folder;
}

// The game runs in its folder; the fuzzer and the replay name their files relative to
// the folder they started in, so that one is the current folder again afterwards.
class InGameFolder {
  public:
    InGameFolder() : home_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (home_ < 0 || ::chdir(game_folder().c_str()) != 0)
            fuzz::fail("cannot enter the game folder");
    }
    ~InGameFolder() {
        if (::fchdir(home_) != 0) fuzz::fail("cannot return from the game folder");
        ::close(home_);
    }
    InGameFolder(const InGameFolder&) = delete;
    InGameFolder& operator=(const InGameFolder&) = delete;

  private:
    int home_;
};

// Open pairs counted apart from the game's search: two tiles are joined when some
// column (or row) holds the middle of a path of at most three straight runs through
// empty cells, from the first tile along its row (column) to that line, along the line to
// the second tile's row (column), and along that to the second tile. Counts of tiles
// before each cell of every row and column make each run's test one subtraction.
class PathLines {
  public:
    explicit PathLines(const rules::Board& board) {
        for (int y = 0; y < rules::board_rows; ++y)
            for (int x = 0; x < rules::board_columns; ++x) {
                const int tile = board.occupied(x, y) ? 1 : 0;
                before_in_row_[y][x + 1] = before_in_row_[y][x] + tile;
                before_in_column_[x][y + 1] = before_in_column_[x][y] + tile;
            }
    }

    bool joined(int ax, int ay, int bx, int by) const {
        ends_ = {ax, ay, bx, by};
        for (int c = 0; c < rules::board_columns; ++c)
            if (row_clear(ay, ax, c) && column_clear(c, ay, by) && row_clear(by, c, bx))
                return true;
        for (int r = 0; r < rules::board_rows; ++r)
            if (column_clear(ax, ay, r) && row_clear(r, ax, bx) && column_clear(bx, r, by))
                return true;
        return false;
    }

  private:
    // Whether the cells from x0 to x1 of row y, both included, hold no tile but the two
    // ends'. A path that would pass through an end holds a shorter one that stops there.
    bool row_clear(int y, int x0, int x1) const {
        const auto [from, to] = std::minmax(x0, x1);
        int tiles = before_in_row_[y][to + 1] - before_in_row_[y][from];
        for (int e = 0; e < 2; ++e)
            if (ends_[2 * e + 1] == y && ends_[2 * e] >= from && ends_[2 * e] <= to) --tiles;
        return tiles == 0;
    }
    bool column_clear(int x, int y0, int y1) const {
        const auto [from, to] = std::minmax(y0, y1);
        int tiles = before_in_column_[x][to + 1] - before_in_column_[x][from];
        for (int e = 0; e < 2; ++e)
            if (ends_[2 * e] == x && ends_[2 * e + 1] >= from && ends_[2 * e + 1] <= to) --tiles;
        return tiles == 0;
    }

    std::array<std::array<int, rules::board_columns + 1>, rules::board_rows> before_in_row_{};
    std::array<std::array<int, rules::board_rows + 1>, rules::board_columns> before_in_column_{};
    // The two tiles of the pair asked about: x and y of each.
    mutable std::array<int, 4> ends_{};
};

// Pairs of tiles of one kind that could be removed now.
int open_pairs(const rules::Board& board) {
    std::vector<std::pair<int, int>> tiles;
    for (int x = 0; x < rules::board_columns; ++x)
        for (int y = 0; y < rules::board_rows; ++y)
            if (board.occupied(x, y)) tiles.emplace_back(x, y);
    const PathLines lines(board);
    int pairs = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i)
        for (std::size_t j = i + 1; j < tiles.size(); ++j) {
            const auto [ax, ay] = tiles[i];
            const auto [bx, by] = tiles[j];
            if (board.at(ax, ay) == board.at(bx, by) && lines.joined(ax, ay, bx, by)) ++pairs;
        }
    return pairs;
}

bool known_state(std::int32_t state) {
    for (const std::int32_t known :
         {NEW_STAGE, PLAY, TRAINING_NEXT, TRAINING_PLAY, MAIN_MENU, TRAINING_RULES, TRAINING_END,
          HINT_PROMPT, PAUSE_MENU, CONFIRM_NEW_GAME, SCORE_SCREEN, NAME_ENTRY, QUIT})
        if (state == known) return true;
    return false;
}

// What the checks remember through one input.
struct Checks {
    // A setboard line puts any board in place: the rules' own invariants of a dealt
    // board hold no more, only the count of tiles does.
    bool board_set = false;
    // The score table as last compared with its file.
    std::string table_compared;
    // The board whose open pairs were counted last, and their number.
    rules::Board counted_board{};
    int counted_pairs = -1;
};

// The game's invariants between two script lines.
void check_invariants(Checks& checks, std::string_view line) {
    if (line.find("setboard") != std::string_view::npos) checks.board_set = true;
    const rules::RulesState& r = rules::rules_state();
    const std::int32_t state = flow::flow_state().game_state;
    if (!known_state(state)) fuzz::fail("a game state the game does not have");
    if (r.score < 0) fuzz::fail("a score below 0");

    std::array<int, rules::tile_kinds> kinds{};
    int tiles = 0, in_ring = 0;
    for (int x = 0; x < rules::board_columns; ++x)
        for (int y = 0; y < rules::board_rows; ++y) {
            const std::int32_t kind = r.board.at(x, y);
            if (kind < 0) continue;
            if (kind >= rules::tile_kinds) fuzz::fail("a tile of no kind");
            ++kinds[static_cast<std::size_t>(kind)];
            ++tiles;
            if (rules::in_ring(x, y)) ++in_ring;
        }
    // A removal takes its two tiles off at once and counts them when it is finished.
    if (r.tiles_left != tiles + (r.removal_pending != 0 ? 2 : 0))
        fuzz::fail("tiles_left differs from the tiles on the board");
    if (!checks.board_set) {
        for (const int count : kinds)
            if (count % 2 != 0 || count > rules::copies_per_kind)
                fuzz::fail("a kind on the board an odd number of times or more than four");
        if (in_ring != 0) fuzz::fail("a tile in the ring around a dealt board");
        if ((state == PLAY || state == TRAINING_PLAY) && r.removal_pending == 0) {
            if (checks.counted_pairs < 0 || checks.counted_board.cells != r.board.cells) {
                checks.counted_board = r.board;
                checks.counted_pairs = open_pairs(r.board);
            }
            const String title = rules::title_for(r.title_text, checks.counted_pairs, language());
            if (platform::recording_desktop().title !=
                std::string_view(title.c_str(), title.length()))
                fuzz::fail("the title's count differs from the open pairs on the board");
        }
    }

    const ScoreTable& shown = score_table();
    std::string table = shown.file_bytes();
    if (shown.score_loaded != 0 && table != checks.table_compared) {
        ScoreTable stored;
        stored.load_scores("score.sco");
        if (stored.file_bytes() != table)
            fuzz::fail("the score file does not load back as the table the game shows");
        checks.table_compared = std::move(table);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string start_scores = read_start_scores();
    // Nothing changes the data folder under the fuzzer: what start-up decodes from it
    // is kept from the first input on.
    if (!platform::decoded_data_kept()) platform::keep_decoded_data(true);
    app::reset_game_state();
    fuzz::write_input(game_folder() + "score.sco",
                      reinterpret_cast<const std::uint8_t*>(start_scores.data()),
                      start_scores.size());
    // Each input starts with the preferences of a first run, whatever the last one kept,
    // and without a kept game; one it keeps is read back within its run.
    std::error_code no_file;
    fs::remove(game_folder() + std::string(app::preferences_file), no_file);
    fs::remove(game_folder() + flow::kept_game_file, no_file);

    app::HeadlessOptions options;
    options.seed = 1;
    options.date = platform::LocalDate{10, 11};  // not April 1st: no notice at start-up
    options.max_frames = frames_per_input;
    options.screenshots = false;
    Checks checks;
    options.after_line = [&checks](std::string_view line) { check_invariants(checks, line); };
    // A first line "language en" is the target's own: the game speaks English, as with
    // --language en, and the script follows.
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (constexpr std::string_view english = "language en\n"; text.starts_with(english)) {
        options.language = platform::Language::english;
        text.remove_prefix(english.size());
    }
    std::istringstream script{std::string(text)};
    // The dumps are made in full and dropped: a stream without a buffer writes nothing.
    std::ostream nowhere(nullptr);
    int exit_code = 0;
    {
        const InGameFolder in_game_folder;
        exit_code = app::run_headless(options, script, nowhere, nowhere);
    }

    if (exit_code == 1) fuzz::fail("a fatal error in a game whose data is whole");
    if (exit_code != 0 && exit_code != 2 && exit_code != 128 + SIGTERM)
        fuzz::fail("an exit code the shell does not give");
    if (!platform::recording_desktop().boxes.empty()) fuzz::fail("a message box during play");
    fuzz::clear_desktop();
    // What the game holds goes now, not at the next input's start: an input that leaves
    // more blocks allocated than it freed makes libFuzzer play it again to look for leaks.
    app::reset_game_state();
    return 0;
}
