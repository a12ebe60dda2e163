// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The languages the data is written in: Russian, the game's own set in the game
// folder, and English, a set of menus and screens in en/ that the game looks up
// before the Russian files. Texts are UTF-8 here; English is plain ASCII.
#pragma once

#include <string>

namespace assetgen {

enum class Language { russian, english };

inline constexpr Language languages[] = {Language::russian, Language::english};

// The language's folder inside the game folder: empty for Russian.
inline std::string language_folder(Language language) {
    return language == Language::english ? "en" : "";
}

// A text in both languages.
struct Phrase {
    const char* russian;
    const char* english;
    const char* in(Language language) const {
        return language == Language::english ? english : russian;
    }
};

}  // namespace assetgen
