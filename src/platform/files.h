// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Files as the game names them: paths with backslashes relative to the data folders
// (the current folder unless the game is installed), directory enumeration with * and ? in byte
// order, the temporary folder, the one guarded whole-file read every data file goes through, and
// the safe replacement of a file the game writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The path of this system for a game path to read: backslashes become slashes, and a
// relative path is looked up in the data folders (data_folders.h), the player's first;
// a file in none of them gets the path of the last.
std::string native_path(std::string_view game_path);
// Every path of this system a game path may have, in the order native_path looks them up:
// for a file found by its name with an ending added.
std::vector<std::string> native_paths(std::string_view game_path);

// The path of this system for a game path to write: the player's folder when the game
// is installed (empty when there is none), never the installed data folder.
std::string writable_path(std::string_view game_path);

// The path of this system for a file of the player's preferences: beside the data when
// portable, in the player's preferences folder when installed (empty when there is none).
std::string config_path(std::string_view name);

// Whether a name matches a pattern of literal bytes, * (any run) and ? (one byte).
bool wildcard_match(std::string_view pattern, std::string_view name);

// Names (without folder) of the entries of a folder that match the last part of a
// game path such as "res\*.back", folders included, sorted by their bytes; for a relative
// path the names of all data folders together, each once.
std::vector<std::string> list_matching(std::string_view game_pattern);

// The user's temporary folder, ending with a slash.
std::string temp_folder();

// The bytes of a regular file, or nothing when it is missing, not a regular file
// (a folder, a named pipe, a device), cannot be read or is larger than max_size.
// Never waits for a writer and never reads more than max_size + 1 bytes.
std::optional<std::vector<std::uint8_t>> read_file(const std::string& native_path,
                                                   std::size_t max_size);
// The same bytes as text, for the readers that take a stream.
std::optional<std::string> read_text_file(const std::string& native_path, std::size_t max_size);

// Writes all the bytes to the open descriptor, going on after interruptions; false when
// a write fails (errno says why) or writes nothing.
bool write_all(int fd, std::string_view bytes);

// Replaces the contents of the file at path, or of the file a symbolic link there
// names, so that at every moment the file holds either its old or its new bytes:
// they go to a new file of a name of this process's own in the same folder
// (created exclusively, never through a link), are flushed to disk, get the old
// file's permission bits and are renamed over it; the folder is then flushed too.
// A file whose permission bits let nobody of our kind write it is left alone, as
// is anything but a regular file, and an empty path. Returns 0, or the errno value of
// what failed; the old file is then as it was and no new file stays behind.
int replace_file(const std::string& native_path, std::string_view bytes);

// Removes the file at path (not what a link there names) and flushes its folder; a
// missing file is no failure. Returns 0 or the errno value of what failed.
int remove_file(const std::string& native_path);

// Removes the new files that replace_file calls of games no longer running left
// beside path when they were killed between naming their file and renaming it.
void remove_stale_new_files(const std::string& native_path);

// What an errno value from replace_file means, in Windows-1251 for the player.
std::string file_error_text(int error);

}  // namespace platform
