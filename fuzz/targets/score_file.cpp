// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the score file round trip on arbitrary bytes. The table is loaded and
// drawn as the score screen draws it, a new result is put in and the file rewritten,
// and the file read back must give the table as it was held: nothing is lost but
// what the format cannot hold (lines past the ninth, the bytes of a name past its
// limit), and a name it cannot hold whole comes back as its line was read.
#include <cstdint>

#include "platform/window.h"
#include "scores/score_table.h"
#include "support.h"

namespace {

bool same_entry(const ScoreTable& a, int i, const ScoreTable& b, int j) {
    return a.score_names[i] == b.score_names[j] && a.score_values[i] == b.score_values[j] &&
           a.score_lines[i] == b.score_lines[j];
}

bool same_table(const ScoreTable& a, const ScoreTable& b) {
    for (int i = 0; i < ScoreTable::entry_count; ++i)
        if (!same_entry(a, i, b, i)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::scratch_folder() + "score.sco";
    static platform::Window window;
    if (window.client_width() == 0) window.resize(648, 528);
    fuzz::clear_desktop();
    fuzz::write_input(path, data, size);

    ScoreTable table;
    table.load_scores(path.c_str());
    if (table.score_loaded != 1) fuzz::fail("a readable score file was not taken into use");
    table.draw_scores(window.dc(), 20, 30);

    const ScoreTable loaded = table;
    const std::int32_t top = table.score_values[0];
    // A result above every entry with a name past the stored limit, then one that just
    // beats the ninth.
    table.insert_score("a name longer than kept", top == INT32_MAX ? top : top + 1);
    const std::int32_t lowest = table.lowest_score();
    table.insert_score("last", lowest == INT32_MAX ? lowest : lowest + 1);
    if (table.score_loaded != 1) fuzz::fail("rewriting the score file failed");

    ScoreTable reread;
    reread.load_scores(path.c_str());
    if (!same_table(reread, table)) fuzz::fail("the rewritten score file reads back differently");
    if (reread.file_bytes() != table.file_bytes()) fuzz::fail("a second save would differ");

    // Two results went in, so the first seven entries of the file are all still there,
    // in their order.
    int kept = 0;
    for (int i = 0; i < ScoreTable::entry_count && kept < ScoreTable::entry_count - 2; ++i) {
        if (same_entry(reread, i, loaded, kept)) ++kept;
    }
    if (kept < ScoreTable::entry_count - 2) fuzz::fail("an entry of the file was lost");
    fuzz::clear_desktop();
    return 0;
}
