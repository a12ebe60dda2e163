// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game's data lives. Portable: the current folder holds it and the game reads
// and writes there, as in the build's game folder. Installed: the data folder found
// beside the program (share/vorpy), read only, under the player's own folder
// ($XDG_DATA_HOME/vorpy), which holds the score file and whatever files the player adds
// over the installed ones, and the player's preferences in their own folder
// ($XDG_CONFIG_HOME/vorpy). The file layer (files.h) maps every relative game path through
// the folders chosen here: native_path reads, writable_path writes.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The folders in use. Both empty: portable, game paths are relative to the current folder.
struct DataFolders {
    std::string installed;    // the installed data folder, ending with a slash
    std::string user;         // the player's folder, ending with a slash; empty when unknown
    std::string config = "";  // the player's preferences folder, ending with a slash; empty
                              // when portable or unknown
};

// What the search looks at: the current folder, the folder of the running program and
// the environment variables that name the player's folders (empty when unset).
struct DataSearch {
    std::string current_folder;
    std::string program_folder;
    std::string xdg_data_home;
    std::string home;
    std::string xdg_config_home = "";
};

struct DataLocation {
    bool found = false;
    DataFolders folders;                // portable when both are empty
    std::vector<std::string> searched;  // the folders looked at, in order
};

// Whether a folder holds the game's data: its menu and res folders.
bool holds_game_data(const std::string& folder);

// The data folder for the search: the current folder when it holds the data, else
// share/vorpy beside the program's folder with the player's folder over it.
DataLocation locate_data(const DataSearch& search);

// The search of this process: its current folder, /proc/self/exe and its environment.
DataSearch data_search_of_process();

// The folders in use; portable until set.
const DataFolders& data_folders();
void set_data_folders(const DataFolders& folders);
void reset_data_folders();

// The folders a relative native path is looked up in, the player's first, then the
// language's own set (en/ of the data folder for English), then the data folder; {""}
// when portable and Russian.
std::vector<std::string> data_roots();

// Makes the player's folder and gives it the installed starting score table when it has
// no score file yet. Does nothing when portable. False when the folder or the copy
// cannot be made; the game then runs without a score table.
bool prepare_user_folder(const DataFolders& folders, const std::string& score_file);

}  // namespace platform
