// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the headless shell's script reader and every command it carries out,
// each input a whole game from start-up in a private copy of the generated game folder
// (the score file put back and the kept game removed before each run). Frames are limited so a long
// "frames" line cannot stall the run, and screenshot lines write nothing. With whole data the run
// must end normally: no fatal error and no message box.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "app/headless.h"
#include "app/preferences.h"
#include "platform/desktop.h"
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

// Makes the game folder in the scratch folder, with the data folders linked, once for
// the process.
const std::string& game_folder() {
    static const std::string folder = [] {
        const std::string path = fuzz::scratch_folder() + "game/";
        std::error_code error;
        fs::create_directories(path, error);
        for (const char* data : {"menu", "res", "sound"}) {
            fs::create_directory_symlink(fs::path(VORPY_GAME_DIR) / data, path + data, error);
            if (error) fuzz::fail("cannot link the game's data folders");
        }
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string start_scores = read_start_scores();
    fuzz::write_input(game_folder() + "score.sco",
                      reinterpret_cast<const std::uint8_t*>(start_scores.data()),
                      start_scores.size());
    // Each input starts with the preferences of a first run, whatever the last one kept,
    // and without a kept game; one it keeps is read back within its run.
    std::error_code no_file;
    fs::remove(game_folder() + std::string(app::preferences_file), no_file);
    fs::remove(game_folder() + "game.sav", no_file);
    fuzz::clear_desktop();

    app::HeadlessOptions options;
    options.seed = 1;
    options.date = platform::LocalDate{10, 11};  // not April 1st: no notice at start-up
    options.max_frames = frames_per_input;
    options.screenshots = false;
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
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
    return 0;
}
