// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the data folder at start-up, and the folders every relative game path is
// looked up in afterwards.
#include "platform/data_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/locale.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// A score file larger than this is not a starting table; it is not copied.
constexpr std::size_t max_starting_scores = 64 * 1024;

DataFolders& folders_in_use() {
    static DataFolders folders;
    return folders;
}

bool is_folder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string with_slash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// The game's folder under a base directory: $XDG_..._HOME/vorpy, or the default under the
// home folder when that is unset or not absolute, as the base directory rules ask.
std::string player_folder(const std::string& xdg_home, const std::string& home,
                          const char* default_under_home) {
    if (!xdg_home.empty() && xdg_home.front() == '/') return with_slash(xdg_home) + "vorpy/";
    if (!home.empty() && home.front() == '/')
        return with_slash(home) + default_under_home + "vorpy/";
    return "";
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string home_of_account() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr)
        return "";
    return found->pw_dir;
}

}  // namespace

bool holds_game_data(const std::string& folder) {
    const std::string root = with_slash(folder);
    return is_folder(root + "menu") && is_folder(root + "res");
}

DataLocation locate_data(const DataSearch& search) {
    DataLocation location;
    location.searched.push_back(search.current_folder);
    if (holds_game_data(search.current_folder)) {
        location.found = true;
        return location;
    }
    if (search.program_folder.empty()) return location;
    // The program is in bin/ or games/ of its prefix; the data in share/vorpy of the same.
    const std::string installed =
        (fs::path(search.program_folder) / ".." / "share" / "vorpy").lexically_normal().string();
    location.searched.push_back(installed);
    if (!holds_game_data(installed)) return location;
    location.found = true;
    location.folders.installed = with_slash(installed);
    location.folders.user = player_folder(search.xdg_data_home, search.home, ".local/share/");
    location.folders.config = player_folder(search.xdg_config_home, search.home, ".config/");
    return location;
}

DataSearch data_search_of_process() {
    DataSearch search;
    std::error_code error;
    search.current_folder = fs::current_path(error).string();
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) search.program_folder = program.parent_path().string();
    search.xdg_data_home = environment("XDG_DATA_HOME");
    search.xdg_config_home = environment("XDG_CONFIG_HOME");
    search.home = environment("HOME");
    if (search.home.empty()) search.home = home_of_account();
    return search;
}

const DataFolders& data_folders() {
    return folders_in_use();
}

void set_data_folders(const DataFolders& folders) {
    folders_in_use() = folders;
}

void reset_data_folders() {
    folders_in_use() = DataFolders();
}

std::vector<std::string> data_roots() {
    const DataFolders& folders = folders_in_use();
    std::vector<std::string> roots;
    if (!folders.installed.empty() && !folders.user.empty()) roots.push_back(folders.user);
    // The language's own set lies over the default data, under the player's own files.
    const std::string_view language_set = language_folder(language());
    if (!language_set.empty()) roots.push_back(folders.installed + std::string(language_set));
    roots.push_back(folders.installed);
    return roots;
}

bool prepare_user_folder(const DataFolders& folders, const std::string& score_file) {
    if (folders.installed.empty() || folders.user.empty()) return folders.installed.empty();
    std::error_code error;
    fs::create_directories(folders.user, error);
    if (error) return false;
    const std::string target = folders.user + score_file;
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) return true;  // the player's own, whatever it is
    const auto starting = read_file(folders.installed + score_file, max_starting_scores);
    if (!starting) return true;  // nothing to start from: the game runs without a table
    return replace_file(target, std::string(starting->begin(), starting->end())) == 0;
}

}  // namespace platform
