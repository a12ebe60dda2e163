// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The score file: nine lines of name, space and score, read with either line end,
// written with CR LF through a new file that replaces the old one only once it is
// safely on disk; a save that fails is told to the player.
#include "scores/score_table.h"

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "base/fatal.h"
#include "base/language.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/files.h"

namespace {

// A score file is nine short lines; a file far larger is not one the game wrote,
// and is left alone: not read, so never written over.
constexpr std::size_t max_score_file_bytes = std::size_t{1} << 20;
// Names read from the file keep at most this many bytes; the score after them is kept.
constexpr std::size_t max_read_name_bytes = 4096;

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

// The next line of text, without its line feed and a carriage return before it; nothing
// at the end, where a last line that no line feed closes is not taken either.
std::optional<std::string_view> next_line(std::string_view& text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
        text = {};
        return std::nullopt;
    }
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

String make_string(std::string_view bytes) {
    return String(std::string(bytes).c_str());
}

}  // namespace

void ScoreTable::load_scores(const String& file_name) {
    score_loaded = 0;
    score_file_name = file_name;
    // Saves go to the writable copy; an installed game reads the installed table until the
    // player has one.
    const std::string saved = platform::writable_path(file_name.c_str());
    if (!saved.empty()) platform::remove_stale_new_files(saved);
    const std::string path = platform::native_path(file_name.c_str());
    const std::optional<std::string> text = platform::read_text_file(path, max_score_file_bytes);
    for (int i = 0; i < entry_count; ++i) {
        score_names[i] = "";
        score_values[i] = 0;
        score_lines[i].clear();
    }
    if (!text) return;
    std::string_view rest = *text;
    for (int i = 0; i < entry_count; ++i) {
        const std::optional<std::string_view> line = next_line(rest);
        if (!line) {
            score_names[i] = "name";
            continue;
        }
        // Names may hold spaces: the score follows the last one. A line without any
        // space is all name.
        const std::size_t space = line->rfind(' ');
        const std::string_view name = line->substr(0, space);
        if (space != std::string_view::npos) {
            score_values[i] = leading_score(std::string(line->substr(space + 1)).c_str());
        }
        // A name with a NUL byte cannot be held whole: its line goes back as it came.
        if (name.find('\0') != std::string_view::npos) score_lines[i] = *line;
        score_names[i] = make_string(name.substr(0, max_read_name_bytes));
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
        score_lines[i] = score_lines[i - 1];
    }
    score_names[place] = name.mid(1, stored_name_limit);
    score_values[place] = score;
    score_lines[place].clear();
    const int error = rewrite_file();
    if (error == 0) return;
    // The player learns that the result was not kept, once for this save, and the
    // table goes back to what the file holds.
    const std::string text = localized("Рекорд не сохранён в файл "_cp1251,
                                       "The high score was not saved to the file ") +
                             std::string(score_file_name.c_str()) + ":\n" +
                             platform::file_error_text(error);
    platform::desktop().message_box(text, warning_caption(), platform::MB_ICONEXCLAMATION);
    load_scores(score_file_name);
}

std::string ScoreTable::file_bytes() const {
    std::string bytes;
    for (int i = 0; i < entry_count; ++i) {
        if (!score_lines[i].empty()) {
            bytes += score_lines[i];
        } else {
            bytes.append(score_names[i].c_str(), static_cast<std::size_t>(score_names[i].length()));
            bytes += ' ';
            bytes += std::to_string(score_values[i]);
        }
        bytes += "\r\n";
    }
    return bytes;
}

int ScoreTable::rewrite_file() const {
    return platform::replace_file(platform::writable_path(score_file_name.c_str()), file_bytes());
}

ScoreTable& score_table() {
    static ScoreTable table;
    return table;
}

void reset_score_state() {
    score_table() = ScoreTable();
}
