// Files as the game names them: paths with backslashes relative to the current
// folder, directory enumeration with * and ? in byte order, the temporary folder,
// and bounded whole-file reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The path of this system for a game path: backslashes become slashes.
std::string native_path(std::string_view game_path);

// Whether a name matches a pattern of literal bytes, * (any run) and ? (one byte).
bool wildcard_match(std::string_view pattern, std::string_view name);

// Names (without folder) of the entries of a folder that match the last part of a
// game path such as "res\*.back", folders included, sorted by their bytes.
std::vector<std::string> list_matching(std::string_view game_pattern);

// The user's temporary folder, ending with a slash.
std::string temp_folder();

// The bytes of a regular file, or nothing when it is missing, not a regular file,
// cannot be read or is larger than max_size.
std::optional<std::vector<std::uint8_t>> read_file(const std::string& native_path,
                                                   std::size_t max_size);

// Whether an opened stream can be read at all: a folder opens but fails its first read.
bool stream_readable(std::ifstream& input);

// Writes bytes to a new file beside path (path + ".new"), flushes it to disk and
// renames it over path. On any failure the file at path is left as it was and false
// is returned.
bool replace_file(const std::string& native_path, const std::string& bytes);

}  // namespace platform
