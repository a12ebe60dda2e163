// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's language from the locale's variables, and the texts that follow it.
#include "platform/locale.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Locale, LanguageOfTheLocalesVariables) {
    const struct {
        const char* what;
        LocaleVariables locale;
        Language expected;
    } cases[] = {
        {"nothing set", {}, Language::russian},
        {"LANG English", {"", "", "", "en_US.UTF-8"}, Language::english},
        {"LANG Russian", {"", "", "", "ru_RU.UTF-8"}, Language::russian},
        {"LANG C", {"", "", "", "C"}, Language::russian},
        {"LANG C.UTF-8", {"", "", "", "C.UTF-8"}, Language::russian},
        {"LANG POSIX", {"", "", "", "POSIX"}, Language::russian},
        {"any other language is English", {"", "", "", "de_DE.UTF-8"}, Language::english},
        {"a modifier", {"", "", "", "sr_RS@latin"}, Language::english},
        {"a bare language name", {"", "", "", "ru"}, Language::russian},
        {"LC_ALL before LANG", {"", "en_GB.UTF-8", "", "ru_RU.UTF-8"}, Language::english},
        {"LC_ALL C before LANG", {"", "C", "", "en_US.UTF-8"}, Language::russian},
        {"LC_MESSAGES before LANG", {"", "", "ru_RU.UTF-8", "en_US.UTF-8"}, Language::russian},
        {"LC_ALL before LC_MESSAGES", {"", "de_DE", "ru_RU", ""}, Language::english},
        {"LANGUAGE before all", {"en", "ru_RU.UTF-8", "", ""}, Language::english},
        {"LANGUAGE's first known entry", {"de:fr:ru:en", "", "", "en_US"}, Language::russian},
        {"LANGUAGE entries with regions", {"pt_BR:en_GB", "", "", "ru_RU"}, Language::english},
        {"LANGUAGE with no known entry gives way", {"de:fr", "", "", "ru_RU"}, Language::russian},
        {"LANGUAGE with empty entries", {"::ru", "", "", "en_US"}, Language::russian},
    };
    for (const auto& c : cases)
        EXPECT_EQ(language_of_locale(c.locale), c.expected) << c.what;
}

TEST(Locale, NamesAndTexts) {
    EXPECT_EQ(language_named("ru"), Language::russian);
    EXPECT_EQ(language_named("en"), Language::english);
    for (const char* unknown : {"", "EN", "en_US", "de", "russian"})
        EXPECT_EQ(language_named(unknown), std::nullopt) << unknown;

    reset_language();
    EXPECT_EQ(language(), Language::russian);
    EXPECT_STREQ(localized("ru", "en"), "ru");
    EXPECT_EQ(language_folder(language()), "");
    set_language(Language::english);
    EXPECT_STREQ(localized("ru", "en"), "en");
    EXPECT_EQ(language_folder(language()), "en/");
    reset_language();
}

}  // namespace
}  // namespace platform
