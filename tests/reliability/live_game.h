// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The built game run as a child process with pipes: script lines go to its standard
// input as they are needed and its JSON lines are read back as they come, each read
// with a deadline, so a game that hangs is killed and reported instead of stopping
// the suite. Also reads the child's memory use from /proc.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/headless_game.h"

namespace live {

using scenario::GameRun;
using scenario::take_line;
using scenario::Value;

// Whether this build carries AddressSanitizer, as the game built beside it then does:
// valgrind cannot run such a game, and its resident memory grows with the sanitizer's
// quarantine of freed blocks rather than with anything the game keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool address_sanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool address_sanitizer = true;
#else
constexpr bool address_sanitizer = false;
#endif
#else
constexpr bool address_sanitizer = false;
#endif

// Resident memory of a process in KiB, from /proc/<pid>/status; 0 when not known.
struct MemoryUse {
    long resident_kib = 0;  // VmRSS
    long peak_kib = 0;      // VmHWM
};

class LiveGame {
  public:
    // Starts command (program and arguments) in folder, standard error to errors_file.
    // TMPDIR is set to the folder, so no two runs share a temporary picture file. With
    // survive_file_limit the game ignores SIGXFSZ: a write past limit_file_size then
    // fails as on a full disk instead of ending the game in the middle of it.
    LiveGame(const std::filesystem::path& folder, const std::vector<std::string>& command,
             const std::filesystem::path& errors_file, bool survive_file_limit = false);
    ~LiveGame();
    LiveGame(const LiveGame&) = delete;
    LiveGame& operator=(const LiveGame&) = delete;

    // The headless game with these options after --headless, reading its script from
    // the pipe.
    static std::vector<std::string> headless_command(const std::string& options);

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Writes script lines; false once the game no longer reads them.
    bool send(std::string_view lines);
    // Sends the lines and a dump request and reads the dump: nothing when the game
    // printed something else, ended, or took longer than the deadline.
    std::optional<Value> dump_after(std::string_view lines);
    // The next output line within the deadline.
    std::optional<std::string> read_line();

    // Closes the script, reads what is left and waits for the end. The output lines
    // since the last read_line go into run; the exit status is -1 when the game was
    // killed for passing the deadline or ended by a signal.
    void finish(GameRun& run);

    MemoryUse memory() const;
    // Caps the size of every file the running game writes from now on (RLIMIT_FSIZE).
    bool limit_file_size(long bytes) const;
    // Every line sent so far: with the same options it plays the same game again.
    const std::string& script() const { return script_; }
    bool timed_out() const { return timed_out_; }

    std::chrono::milliseconds deadline{std::chrono::seconds(60)};

  private:
    enum class Fill { data, end, timeout };
    Fill fill(std::chrono::steady_clock::time_point until);
    void kill_child();

    pid_t pid_ = -1;
    int to_game_ = -1;
    int from_game_ = -1;
    std::string pending_;  // output read but not yet split into lines
    std::string script_;
    bool timed_out_ = false;
};

// A new game ended at once: 300 points beat the ninth entry of the generated table
// (200), so the name is typed into the name entry.
inline std::string to_name_entry(const std::string& name = "Newcomer") {
    return scenario::start_game() + scenario::escape_to_pause() +
           "click_item continue 5\nframes 1\ntype " + name + "\nframes 10\n";
}
// Confirms the name: the table is saved.
inline const std::string enter = "char 13\nframes 1\n";

// A folder of the game's data as the test folders link it: the Russian menus, the
// pictures, the sounds and the English set.
inline bool is_data_folder(const std::string& name) {
    return name == "menu" || name == "res" || name == "sound" || name == "en";
}

// What a game folder holds besides the data folders, the files the game keeps (score
// and kept game) and the test's errors file: what a failed write left behind.
inline std::vector<std::string> stray_files(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (name != "score.sco" && name != "game.sav" && name != "err.txt" && !is_data_folder(name))
            names.push_back(name);
    }
    return names;
}

// Runs a whole script in folder with a deadline; errors are read from folder/err.txt.
GameRun run_script(const std::filesystem::path& folder, const std::string& script,
                   const std::string& options = "--seed 1",
                   std::chrono::milliseconds deadline = std::chrono::seconds(60));

}  // namespace live
