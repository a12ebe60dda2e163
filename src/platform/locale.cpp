// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the game's language from the locale.
#include "platform/locale.h"

#include <cstdlib>

namespace platform {

namespace {

Language& language_in_use() {
    static Language language = Language::russian;
    return language;
}

// The language part of a locale name: "en" of "en_GB.UTF-8", "sr" of "sr@latin".
std::string_view language_part(std::string_view name) {
    return name.substr(0, name.find_first_of("_.@"));
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::optional<Language> language_named(std::string_view name) {
    if (name == "ru") return Language::russian;
    if (name == "en") return Language::english;
    return std::nullopt;
}

Language language_of_locale(const LocaleVariables& locale) {
    std::string_view list = locale.language;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        if (const auto named = language_named(language_part(list.substr(0, colon)))) return *named;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    for (const std::string* variable : {&locale.lc_all, &locale.lc_messages, &locale.lang}) {
        if (variable->empty()) continue;
        const std::string_view name = language_part(*variable);
        return name == "ru" || name == "C" || name == "POSIX" ? Language::russian
                                                              : Language::english;
    }
    return Language::russian;
}

LocaleVariables locale_of_process() {
    return {environment("LANGUAGE"), environment("LC_ALL"), environment("LC_MESSAGES"),
            environment("LANG")};
}

Language language() {
    return language_in_use();
}

void set_language(Language language) {
    language_in_use() = language;
}

void reset_language() {
    language_in_use() = Language::russian;
}

std::string_view language_folder(Language language) {
    return language == Language::english ? "en/" : "";
}

}  // namespace platform
