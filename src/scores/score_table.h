// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score table: nine entries of name and score, best first, read from the
// score file at start, asked whether a result gets in, and rewritten whole, safely,
// on every new entry.
#pragma once

#include <cstdint>
#include <string>

#include "base/string.h"
#include "platform/raster.h"

class ScoreTable {
  public:
    static constexpr int entry_count = 9;
    // Names go into the table cut to this many characters.
    static constexpr std::int32_t stored_name_limit = 10;

    // Reads the table from the file (a game path). A file that cannot be read (also
    // one that is not a regular file or is far too large for a score file) leaves
    // every name empty, every score 0 and the table not in use; missing lines are
    // ("name", 0). Lines after the ninth are not read. Names keep their first 4096
    // bytes and their score.
    void load_scores(const String& file_name);
    // The score of the ninth entry; a result gets in only when strictly greater.
    std::int32_t lowest_score() const { return score_values[entry_count - 1]; }
    // Puts the result below every entry with a score at least as high, drops the
    // ninth and rewrites the file; nothing when the table is not in use or the score
    // does not beat the ninth entry. A failed rewrite leaves the old file whole, tells
    // the player in a message box naming the file and the reason, and reads the
    // table back from the file.
    void insert_score(const String& name, std::int32_t score);
    // Draws the nine rows centred into the context (nothing when not in use).
    void draw_scores(platform::DrawContext& context, int char_width, int char_height) const;

    std::int32_t score_loaded = 0;  // 1 while the table is in use
    String score_names[entry_count];
    std::int32_t score_values[entry_count] = {};
    // The line as read, for an entry whose name a String cannot hold whole (it holds
    // a NUL byte): written back unchanged. Empty for every other entry.
    std::string score_lines[entry_count];
    String score_file_name;

    // The file as the table writes it: one line per entry, CR LF line ends.
    std::string file_bytes() const;

  private:
    // 0, or the errno value of the failed rewrite.
    int rewrite_file() const;
};

ScoreTable& score_table();

// Puts the table back as before loading: not in use, names empty, scores 0.
void reset_score_state();
