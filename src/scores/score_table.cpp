// The score file: nine lines of name, space and score, read with either line end,
// written with CR LF through a new file that replaces the old one only once it is
// safely on disk.
#include "scores/score_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>

#include "platform/files.h"

namespace {

// No name needs more than a short line; the rest of a longer one is read and dropped.
constexpr std::size_t max_score_line_bytes = 4096;

// The integer at the start of text (white space, sign, digits; none gives 0), held
// to 32 bits.
std::int32_t leading_score(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

void ScoreTable::load_scores(const String& file_name) {
    score_loaded = 0;
    score_file_name = file_name;
    std::ifstream input(platform::native_path(file_name.c_str()), std::ios::binary);
    if (!platform::stream_readable(input)) {
        for (int i = 0; i < entry_count; ++i) {
            score_names[i] = "";
            score_values[i] = 0;
        }
        return;
    }
    String line;
    for (int i = 0; i < entry_count; ++i) {
        read_line(input, line, max_score_line_bytes);
        // A last line that the end of the file closes instead of a line end is not taken.
        if (input.eof() || input.fail()) {
            score_names[i] = "name";
            score_values[i] = 0;
            continue;
        }
        // Names may hold spaces: the score follows the last one. A line without any
        // space is all name.
        const char* text = line.c_str();
        const char* space = std::strrchr(text, ' ');
        if (space == nullptr) {
            score_names[i] = line;
            score_values[i] = 0;
        } else {
            score_names[i] = line.mid(1, static_cast<std::int32_t>(space - text));
            score_values[i] = leading_score(space + 1);
        }
    }
    score_loaded = 1;
}

void ScoreTable::insert_score(const String& name, std::int32_t score) {
    if (score_loaded == 0) return;
    // Below every entry at least as high: a tie goes under the older results.
    int place = 0;
    while (place < entry_count && score_values[place] >= score)
        ++place;
    if (place == entry_count) return;
    for (int i = entry_count - 1; i > place; --i) {
        score_names[i] = score_names[i - 1];
        score_values[i] = score_values[i - 1];
    }
    score_names[place] = name.mid(1, stored_name_limit);
    score_values[place] = score;
    // The new entry stays in memory; a table that could not be saved is not used again.
    if (!rewrite_file()) score_loaded = 0;
}

bool ScoreTable::rewrite_file() const {
    std::string bytes;
    for (int i = 0; i < entry_count; ++i) {
        bytes.append(score_names[i].c_str(), static_cast<std::size_t>(score_names[i].length()));
        bytes += ' ';
        bytes += std::to_string(score_values[i]);
        bytes += "\r\n";
    }
    return platform::replace_file(platform::native_path(score_file_name.c_str()), bytes);
}

ScoreTable& score_table() {
    static ScoreTable table;
    return table;
}

void reset_score_state() {
    score_table() = ScoreTable();
}
