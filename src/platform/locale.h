// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The language the game speaks: Russian, its own, or English for a player whose locale
// asks for another language. Chosen once at start from the locale's variables or the
// command line; every text the game words itself goes through localized().
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class Language { russian, english };

// The language of a name as the command line gives it: "ru" or "en".
std::optional<Language> language_named(std::string_view name);

// The locale's variables; empty when unset.
struct LocaleVariables {
    std::string language;  // LANGUAGE: a colon list of languages in order of preference
    std::string lc_all;
    std::string lc_messages;
    std::string lang;
};

// The first entry of LANGUAGE that is Russian or English; else the language of the first
// of LC_ALL, LC_MESSAGES and LANG that is set: Russian for Russian, for C and POSIX and
// with none set, English for any other.
Language language_of_locale(const LocaleVariables& locale);

// The locale's variables of this process.
LocaleVariables locale_of_process();

// The language in use; Russian until set.
Language language();
void set_language(Language language);
void reset_language();

// The data folder's subfolder that holds a language's own files, laid over the default
// ones: "en/" for English, empty for Russian, whose files are the defaults.
std::string_view language_folder(Language language);

// The text of the language in use: the Russian one (Windows-1251) or the English one.
inline const char* localized(const char* russian, const char* english) {
    return language() == Language::english ? english : russian;
}

}  // namespace platform
