// Fuzz target: the score file loader on arbitrary bytes, the table drawn as the score
// screen draws it, and a new result put in and the file rewritten; a table saved with
// short names must read back as it is held.
#include <cstdint>
#include <cstring>

#include "platform/window.h"
#include "scores/score_table.h"
#include "support.h"

namespace {

// Names that a line holds whole, so the file gives them back exactly.
bool names_read_back(const ScoreTable& table) {
    for (const String& name : table.score_names) {
        if (name.length() > 64 || std::strchr(name.c_str(), '\r') != nullptr) return false;
    }
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

    // A result above every entry with a name past the stored limit, then one that just
    // beats the ninth.
    const std::int32_t top = table.score_values[0];
    table.insert_score("a name longer than kept", top == INT32_MAX ? top : top + 1);
    const std::int32_t lowest = table.lowest_score();
    table.insert_score("last", lowest == INT32_MAX ? lowest : lowest + 1);
    if (table.score_loaded != 1) fuzz::fail("rewriting the score file failed");

    ScoreTable reread;
    reread.load_scores(path.c_str());
    if (names_read_back(table)) {
        for (int i = 0; i < ScoreTable::entry_count; ++i) {
            if (!(reread.score_names[i] == table.score_names[i]) ||
                reread.score_values[i] != table.score_values[i]) {
                fuzz::fail("the rewritten score file reads back differently");
            }
        }
    }
    fuzz::clear_desktop();
    return 0;
}
