// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The menu files and the starting score file, as UTF-8 lines that are written in
// Windows-1251 with CR LF line ends.
#pragma once

#include <string>
#include <vector>

#include "language.h"

namespace assetgen {

struct MenuFile {
    std::string file_name;  // in the menu folder
    std::vector<std::string> lines;
};

// The six menu files in the language; every language puts the same items at the same
// numbers with the same commands, colours and font.
std::vector<MenuFile> menu_files(Language language);

// The nine lines of a fresh score table: name, space, score, best first.
std::vector<std::string> starting_scores();

}  // namespace assetgen
