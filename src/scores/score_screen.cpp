// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the score table and the name-entry screen, and the name-entry rules.
#include "scores/score_screen.h"

#include <algorithm>

#include "base/language.h"
#include "graphics/drawing.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "scores/score_table.h"

using platform::TRANSPARENT;

namespace {

constexpr std::int32_t row_characters = 20;
constexpr std::uint32_t backspace = 8;
constexpr std::uint32_t enter = 13;

}  // namespace

String score_row_text(const String& name, std::int32_t score) {
    const String digits = String() + score;
    String row = score == 0 ? String() : name;
    while (row.length() + digits.length() < row_characters)
        row = row + " ";
    return row + digits;
}

int score_row_step(int screen_height, int client_height) {
    // The ninth row stands 12 steps down; a sixteenth of the client height leaves room
    // under it for its text.
    return std::min(screen_height / 23, client_height / 16);
}

void ScoreTable::draw_scores(platform::DrawContext& context, int char_width,
                             int char_height) const {
    if (score_loaded == 0) return;
    const int client_height = context.owner != nullptr    ? context.owner->client_height()
                              : context.target != nullptr ? context.target->height
                                                          : 0;
    const int step = score_row_step(platform::desktop().screen_height(), client_height);
    const int first_row = 4 * step;
    Font font(&context, char_width, char_height, "Courier New");
    for (int k = 0; k < entry_count; ++k) {
        const String row = score_row_text(score_names[k], score_values[k]);
        const int y = first_row + k * step;
        font.draw_centered(y, row, score_text_colour, TRANSPARENT);
        font.draw_centered(y + 3, row, score_text_second_colour, TRANSPARENT);
    }
    font.release();
}

void draw_name_entry(platform::Window& window, const String& player_name, int text_width,
                     int cell_height) {
    Font font(&window.dc(), text_width, cell_height - 6, "Courier New");
    const String prompt = localized("Ваше имя ?"_cp1251, "Your name?");
    font.draw_centered(150, prompt, score_text_colour, TRANSPARENT);
    font.draw_centered(152, prompt, score_text_second_colour, TRANSPARENT);
    const String name_line = player_name + "_";
    font.draw_centered(200, name_line, score_text_colour, TRANSPARENT);
    font.draw_centered(202, name_line, score_text_second_colour, TRANSPARENT);
    font.release();
}

bool run_name_entry(String& player_name, String& typed_chars, std::uint32_t& last_control_char,
                    std::int32_t score, const std::function<void()>& repaint) {
    while (!typed_chars.is_empty()) {
        const String typed = typed_chars.char_at(1);
        typed_chars = typed_chars.mid(2, typed_chars.length() - 1);
        // Spaces never enter a name: the score file splits its lines at a space.
        if (!(typed == " ") && player_name.length() < typed_name_limit) {
            player_name = player_name + typed;
        }
        repaint();
    }
    if (last_control_char == backspace) {
        last_control_char = 0;
        if (!player_name.is_empty()) {
            player_name = player_name.mid(1, player_name.length() - 1);
            repaint();
        }
    }
    if (last_control_char == enter) {
        score_table().insert_score(player_name, score);
        return true;
    }
    return false;
}
