// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The English set in en/ of the data folder beside its Russian twins: menus that load
// through the game's own loader with the same items in the same places and with the
// same commands; a width scale that measures the English items as the menu font draws
// them; screen pictures of the same sizes with their own words, the lettering above
// the main menu and the rules text clear of its example; and nothing in en/ but twins
// of the Russian menu folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "game_folder.h"
#include "graphics/picture.h"
#include "ink.h"
#include "menu/windowmenu.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {

namespace fs = std::filesystem;

bool blank(const String& text) {
    return str(text).find_first_not_of(' ') == std::string::npos;
}

std::string file_stem(const std::string& name) {
    return name.substr(0, name.find('.'));
}

// ---- Menus ------------------------------------------------------------------------------

struct MenuTwinCase {
    const char* file_name;
    // What the game writes into the menu's items in English besides the file's texts:
    // the kept game's item, the back button's other texts, the training menu's item
    // once a board is cleared.
    std::vector<const char*> game_texts;
};

void PrintTo(const MenuTwinCase& menu, std::ostream* out) {
    *out << menu.file_name;
}

class MenuTwinsTest : public GameFolderTest, public testing::WithParamInterface<MenuTwinCase> {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        window_.resize(648, 528);
        const std::string name = GetParam().file_name;
        russian_.init(window_, ("menu\\" + name).c_str());
        english_.init(window_, ("en\\menu\\" + name).c_str());
        ASSERT_TRUE(message_boxes().empty()) << message_boxes().front().text;
        ASSERT_EQ(russian_.has_items, 1);
        ASSERT_EQ(english_.has_items, 1);
    }
    platform::Window window_;
    windowmenu russian_, english_;
};

TEST_P(MenuTwinsTest, EnglishItemsStandInTheRussianPlacesWithTheirCommands) {
    ASSERT_EQ(english_.item_count, russian_.item_count);
    EXPECT_EQ(english_.alignment, russian_.alignment);
    EXPECT_EQ(str(english_.face_name), str(russian_.face_name));
    EXPECT_EQ(english_.char_height, russian_.char_height);
    EXPECT_EQ(english_.text_colour, russian_.text_colour);
    for (int i = 1; i <= russian_.item_count; ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(blank(english_.item_texts[i]), blank(russian_.item_texts[i]))
            << '"' << str(english_.item_texts[i]) << '"';
        EXPECT_EQ(str(english_.item_commands[i]), str(russian_.item_commands[i]));
        const windowmenu::Rect en = english_.item_rect(i), ru = russian_.item_rect(i);
        EXPECT_EQ(en.top, ru.top);
        EXPECT_EQ(en.bottom, ru.bottom);
        // Centred alike: the middles differ by the rounding of half a width at most.
        EXPECT_LE(std::abs((en.left + en.right) - (ru.left + ru.right)), 2);
        // And hit alike: a click in the middle of the Russian item's row reaches the
        // English item there.
        const int middle_y = (ru.top + ru.bottom) / 2;
        if (!blank(english_.item_texts[i])) {
            EXPECT_EQ(english_.item_at((en.left + en.right) / 2, middle_y),
                      russian_.item_at((ru.left + ru.right) / 2, middle_y));
        }
    }
}

// The layout measures an item as its length times the scaled character width, for
// placing it and for the zone a click counts in; over the English texts shown in a
// menu that comes within a twentieth of what the menu font draws of them.
TEST_P(MenuTwinsTest, EnglishLayoutWidthsMatchWhatTheMenuFontDraws) {
    ASSERT_TRUE(english_.menu_font != nullptr);
    std::vector<std::string> texts(GetParam().game_texts.begin(), GetParam().game_texts.end());
    for (int i = 1; i <= english_.item_count; ++i)
        if (!blank(english_.item_texts[i])) texts.push_back(str(english_.item_texts[i]));
    double drawn = 0, measured = 0;
    for (const std::string& text : texts) {
        drawn += platform::text_advance(*english_.menu_font, text);
        measured += static_cast<double>(text.size()) * english_.char_width;
    }
    ASSERT_GT(measured, 0);
    EXPECT_NEAR(drawn / measured, 1.0, 0.05)
        << "drawn " << drawn << " pixels, laid out as " << measured << " at a character width of "
        << english_.char_width;
}

INSTANTIATE_TEST_SUITE_P(SixMenus, MenuTwinsTest,
                         testing::Values(MenuTwinCase{"helpmenu.menu", {}},
                                         MenuTwinCase{"continuemenu.menu", {}},
                                         MenuTwinCase{"mainmenu.menu", {"Continue game"}},
                                         MenuTwinCase{"back.menu", {"Start training", "Next"}},
                                         MenuTwinCase{"really.menu", {}},
                                         MenuTwinCase{"training.menu", {"Continue"}}),
                         [](const testing::TestParamInfo<MenuTwinCase>& menu) {
                             return file_stem(menu.param.file_name);
                         });

// ---- Screen pictures --------------------------------------------------------------------

class ScreenTwinsTest : public GameFolderTest, public testing::WithParamInterface<const char*> {};

TEST_P(ScreenTwinsTest, EnglishPictureHasTheRussianSizeAndItsOwnWords) {
    const Picture russian((std::string("menu\\") + GetParam()).c_str());
    const Picture english((std::string("en\\menu\\") + GetParam()).c_str());
    ASSERT_FALSE(russian.is_empty());
    ASSERT_FALSE(english.is_empty()) << "en\\menu\\" << GetParam() << " did not load";
    EXPECT_EQ(english.width(), russian.width());
    EXPECT_EQ(english.height(), russian.height());
    // The backdrop is the same; the words differ.
    int differing = 0;
    const auto& ru = russian.bitmap()->pixels;
    const auto& en = english.bitmap()->pixels;
    ASSERT_EQ(ru.size(), en.size());
    for (std::size_t i = 0; i < ru.size(); ++i)
        differing += bright(ru[i]) != bright(en[i]);
    EXPECT_GT(differing, 500) << "the English picture shows the Russian words";
}

INSTANTIATE_TEST_SUITE_P(FourScreens, ScreenTwinsTest,
                         testing::Values("menu", "rules", "rules_end", "menuscore"),
                         [](const testing::TestParamInfo<const char*>& screen) {
                             return std::string(screen.param);
                         });

struct LanguageCase {
    const char* name;
    const char* folder;  // inside the game folder, with its backslash
};

void PrintTo(const LanguageCase& language, std::ostream* out) {
    *out << language.name;
}

class LanguagePicturesTest : public GameFolderTest,
                             public testing::WithParamInterface<LanguageCase> {
  protected:
    std::string path(const char* game_path) const {
        return GetParam().folder + std::string(game_path);
    }
};

TEST_P(LanguagePicturesTest, RulesTextEndsAboveTheExample) {
    const Picture rules(path("menu\\rules").c_str());
    ASSERT_FALSE(rules.is_empty());
    // The example's path runs over its tiles from y 368; its caption stands at y 396
    // left of the tiles, under the last paragraph.
    const int text_bottom = lowest_ink_row(*rules.bitmap(), 20, 400, 384);
    EXPECT_LT(text_bottom, 366) << "the rules text runs into the example row";
    EXPECT_GT(text_bottom, 300) << "no rules text found";
    EXPECT_GT(lowest_ink_row(*rules.bitmap(), 20, 400, 420), 396) << "no example caption";
}

TEST_P(LanguagePicturesTest, LetteringEndsAboveTheMainMenuItems) {
    const Picture picture(path("menu\\menu").c_str());
    ASSERT_FALSE(picture.is_empty());
    platform::Window window;
    window.resize(648, 528);
    windowmenu menu;
    menu.init(window, path("menu\\mainmenu.menu").c_str());
    ASSERT_TRUE(message_boxes().empty());
    const int title_bottom = lowest_ink_row(*picture.bitmap(), 100, 548, 260);
    ASSERT_GT(title_bottom, 40) << "no title art";
    for (int item = 1; item <= menu.item_count; ++item)
        if (!blank(menu.item_texts[item])) {
            EXPECT_GT(menu.item_rect(item).top, title_bottom) << "item " << item;
        }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguagePicturesTest,
                         testing::Values(LanguageCase{"Russian", ""},
                                         LanguageCase{"English", "en\\"}),
                         [](const testing::TestParamInfo<LanguageCase>& language) {
                             return std::string(language.param.name);
                         });

// ---- The folder -------------------------------------------------------------------------

// Everything else (pictures of the board, sounds, the score file) the languages share.
TEST(EnglishFolder, HoldsATwinOfEveryFileOfTheMenuFolderAndNothingElse) {
    const fs::path game = VORPY_GAME_DIR;
    std::set<std::string> russian, english;
    for (const auto& entry : fs::directory_iterator(game / "menu"))
        russian.insert(entry.path().filename().string());
    for (const auto& entry : fs::recursive_directory_iterator(game / "en")) {
        const fs::path relative = fs::relative(entry.path(), game / "en");
        if (entry.is_directory()) {
            EXPECT_EQ(relative, "menu") << "en/" << relative.string() << " is not a menu folder";
        } else {
            EXPECT_EQ(relative.parent_path(), "menu") << "en/" << relative.string();
            english.insert(relative.filename().string());
        }
    }
    EXPECT_EQ(russian.size(), 10u);
    EXPECT_EQ(english, russian);
}

}  // namespace
