// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The full-window pictures: stage backgrounds and the four screens.
#pragma once

#include <string>
#include <vector>

#include "art.h"
#include "language.h"

namespace assetgen {

inline constexpr int screen_w = 648;
inline constexpr int screen_h = 528;

struct Background {
    std::string file_name;  // in the res folder; the names sort in play order
    Image (*draw)();
};
std::vector<Background> stage_backgrounds();

// The words on the four screens in one language.
struct ScreenTexts {
    const char* title;  // the main menu's lettering
    struct {
        const char* heading;
        std::vector<const char*> paragraphs;  // wrapped to the panel
        const char* example;                  // the caption of the example row
    } rules;
    struct {
        const char* heading;
        std::vector<const char*> lines;
    } training_end;
    struct {
        const char* heading;
        const char* note;  // under the heading, above the rows
    } scores;
};
const ScreenTexts& screen_texts(Language language);

// "menu\menu": the title art over a calm backdrop; the menus, prompts and the name
// entry are drawn over it by the game.
Image menu_screen(const ScreenTexts& texts);
// "menu\rules": how to play, with room at the bottom for the back menu's button.
Image rules_screen(const ScreenTexts& texts);
// "menu\rules_end": the end of training.
Image rules_end_screen(const ScreenTexts& texts);
// "menu\menuscore": the heading of the score table; the rows are drawn by the game.
Image score_screen(const ScreenTexts& texts);

}  // namespace assetgen
