// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The six pictures that live for the whole run: the tile atlas (which each stage
// reloads with its background), the menu, rules, end-of-training and score screens,
// and the tile plate.
#pragma once

#include "graphics/picture.h"

namespace flow {

struct ScreenPictures {
    Picture backdrop_picture;   // "res\pic", then each stage's background
    Picture menu_picture;       // "menu\menu"
    Picture rules_picture;      // "menu\rules"
    Picture rules_end_picture;  // "menu\rules_end"
    Picture score_picture;      // "menu\menuscore"
    Picture panel_picture;      // "res\panel"
};

ScreenPictures& screen_pictures();
// Drops every picture, as at program start.
void reset_screen_pictures();

}  // namespace flow
