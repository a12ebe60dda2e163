// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// windowmenu: the sections of a menu file, colours and font lines, the fatal
// messages, files that are not menus at all, item layout, the hit zone, hover's
// redraws and the pixels that draw leaves.
#include "menu/windowmenu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/fatal.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using platform::Colour;
using platform::rgb;

namespace {

using test_support::CaseName;
using test_support::str;

// Colour keys that every menu file needs; the cases add their sections after them.
const std::string colours = "red=1\ngreen=2\nblue=3\n";

// Runs each test in a fresh current folder with a "menu" folder, as the game does.
class MenuTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "menu");
        window_.resize(640, 480);
        boxes().clear();
        platform::reset_messages();
        reset_fatal_state();
    }
    void TearDown() override {
        boxes().clear();
        platform::reset_messages();
        reset_fatal_state();
    }

    static std::vector<platform::RecordingDesktop::Box>& boxes() {
        return platform::recording_desktop().boxes;
    }

    // Writes the bytes as menu\test.menu and loads them into a fresh menu.
    windowmenu load(const std::string& bytes) {
        std::ofstream(dir_ / "menu" / "test.menu", std::ios::binary) << bytes;
        windowmenu menu;
        menu.init(window_, "menu\\test.menu");
        return menu;
    }

    static std::vector<std::string> items(const windowmenu& menu) {
        std::vector<std::string> texts;
        for (int i = 1; i <= menu.item_count; ++i)
            texts.push_back(str(menu.item_texts[i]));
        return texts;
    }
    static std::vector<std::string> commands(const windowmenu& menu) {
        std::vector<std::string> texts;
        for (int i = 1; i <= menu.item_count; ++i)
            texts.push_back(str(menu.item_commands[i]));
        return texts;
    }

    test_support::ScratchFolder folder_{"menu"};
    const fs::path& dir_ = folder_.path();
    platform::Window window_;
};

// ---- Sections -------------------------------------------------------------------

struct SectionCase {
    const char* name;
    std::string body;  // after the colour keys
    std::vector<std::string> items;
    int alignment;
};

class MenuSections : public MenuTest, public testing::WithParamInterface<SectionCase> {};

TEST_P(MenuSections, ItemsAndAlignment) {
    const SectionCase& c = GetParam();
    const windowmenu menu = load(colours + c.body);
    EXPECT_EQ(items(menu), c.items);
    EXPECT_EQ(menu.has_items, c.items.empty() ? 0 : 1);
    EXPECT_EQ(menu.alignment, c.alignment);
    EXPECT_TRUE(boxes().empty()) << boxes()[0].text;
}

std::string numbered_lines(int n) {
    std::string lines;
    for (int i = 1; i <= n; ++i)
        lines += "item" + std::to_string(i) + "\n";
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Files, MenuSections,
    testing::Values(
        SectionCase{
            "TwelveItemLinesKeepTheFirstNine",
            "[TEXT]\n" + numbered_lines(12) + "\n",
            {"item1", "item2", "item3", "item4", "item5", "item6", "item7", "item8", "item9"},
            1},
        SectionCase{"HeaderInsideTextIsAnItem",
                    "[TEXT]\nA\n[OPTIONS]\nCENTER\n\n",
                    {"A", "[OPTIONS]", "CENTER"},
                    1},
        SectionCase{"KeyLineInsideTextIsAnItem", "[TEXT]\nred=5\n\n", {"red=5"}, 1},
        SectionCase{"CommentsInsideTextAreSkipped", "[TEXT]\nA\n;note\nB\n\n", {"A", "B"}, 1},
        SectionCase{"SecondTextSectionAppends", "[TEXT]\nA\n\n[TEXT]\nB\nC\n", {"A", "B", "C"}, 1},
        SectionCase{"TextEndsAtTheEndOfTheFile", "[TEXT]\nA\nB\n", {"A", "B"}, 1},
        SectionCase{"LastItemWithoutLineEndIsMissing", "[TEXT]\nA\nB", {"A"}, 1},
        SectionCase{"ItemTextsKeepTheirSpaces",
                    "[TEXT]\n  Новая игра  \n\n"_cp1251,
                    {"  Новая игра  "_cp1251},
                    1},
        SectionCase{"HeadersAreExact", "[TEXT] \nA\n\n [TEXT]\nB\n\n[text]\nC\n\n", {}, 1},
        SectionCase{"NoSections", "", {}, 1},
        SectionCase{"CarriageReturnLineEnds",
                    "[TEXT]\r\nA\r\nB\r\n\r\n[OPTIONS]\r\nRIGHT\r\n",
                    {"A", "B"},
                    2},
        SectionCase{"LastOptionWins", "[OPTIONS]\nCENTER\n;c\nRIGHT\nleft\n\n", {}, 2},
        SectionCase{"OptionsEndAtAnEmptyLine", "[OPTIONS]\n\nCENTER\n", {}, 1},
        SectionCase{
            "SectionsInAnyOrder", "[OPTIONS]\nCENTER\n\n[TEXT]\nA\n\n[OPTIONS]\nLEFT\n", {"A"}, 1},
        SectionCase{"ByteZeroEndsTheLineText", std::string("[TEXT]\nA\0B\n\n", 12), {"A"}, 1}),
    CaseName());

struct CommandCase {
    const char* name;
    std::string body;
    std::vector<std::string> items;
    std::vector<std::string> commands;
};

class MenuCommands : public MenuTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(MenuCommands, OneCommandPerItemReadSoFar) {
    const CommandCase& c = GetParam();
    const windowmenu menu = load(colours + c.body);
    EXPECT_EQ(items(menu), c.items);
    EXPECT_EQ(commands(menu), c.commands);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MenuCommands,
    testing::Values(CommandCase{"CommandsBeforeTextReadNothing",
                                "[EXECUT]\nEXIT\nrun\n[TEXT]\nA\nB\n\n",
                                {"A", "B"},
                                {"", ""}},
                    CommandCase{"CommentNotCountedEmptyLineIsACommand",
                                "[TEXT]\nA\nB\nC\n\n[EXECUT]\n;c\n\nEXIT\nreadme.txt\n",
                                {"A", "B", "C"},
                                {"", "EXIT", "readme.txt"}},
                    CommandCase{"EndOfFileLeavesTheRestEmpty",
                                "[TEXT]\nA\nB\nC\n\n[EXECUT]\nfirst\n",
                                {"A", "B", "C"},
                                {"first", "", ""}},
                    CommandCase{"BackAtTopLevelAfterTheLastCommand",
                                "[TEXT]\nA\n\n[EXECUT]\ncmd\n[TEXT]\nB\n\n",
                                {"A", "B"},
                                {"cmd", ""}},
                    CommandCase{"HeaderIsTakenAsACommand",
                                "[TEXT]\nA\n\n[EXECUT]\n[TEXT]\nB\n",
                                {"A"},
                                {"[TEXT]"}}),
    CaseName());

// ---- Font lines -------------------------------------------------------------------

struct FontCase {
    const char* name;
    std::string body;
    int char_width;  // after scaling
    int char_height;
    std::string face;
};

class MenuFontLines : public MenuTest, public testing::WithParamInterface<FontCase> {};

TEST_P(MenuFontLines, SizesFaceAndScale) {
    const FontCase& c = GetParam();
    const windowmenu menu = load(colours + c.body);
    EXPECT_EQ(menu.char_width, c.char_width);
    EXPECT_EQ(menu.char_height, c.char_height);
    EXPECT_EQ(str(menu.face_name), c.face);
    EXPECT_EQ(menu.text_x, 2 * c.char_width);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MenuFontLines,
    testing::Values(
        FontCase{"NoFontSection", "", 0, 0, "Courier New"},
        FontCase{"SizeLineThenEmptyHeightLineAndTheSectionGoesOn", "[FONT]\n12\n\nArial\n", 12, 60,
                 "Arial"},
        FontCase{"ZeroIsAFaceLine", "[FONT]\n14\n30\n0\n", 14, 30, "0"},
        FontCase{"FaceWithScale", "[FONT]\n16\n32\nArial 0.5\n", 8, 32, "Arial"},
        FontCase{"FaceWithoutANumberGivesScaleZero", "[FONT]\n14\n30\nCourier New\n", 0, 30,
                 "Courier"},
        FontCase{"FaceWithoutASpaceKeepsTheScale", "[FONT]\n10\n20\nArial 2\nVerdana\n", 20, 20,
                 "Verdana"},
        FontCase{"LaterLinesOverride", "[FONT]\n10\n20\n12\n24\nArial 3\nTimes New Roman 1.2\n", 14,
                 24, "Times New Roman"},
        FontCase{"HeightLineIsTheNextLineWhateverItHolds", "[FONT]\n20\n[TEXT]\nA\n\n", 20, 60,
                 "A"},
        FontCase{"CommentAsHeightLine", "[FONT]\n20\n;25\n", 20, 60, "Courier New"},
        FontCase{"SizeLineAsTheLastLine", "[FONT]\n20\n", 20, 60, "Courier New"},
        FontCase{"SizeLineWithoutLineEndIsNotRead", "[FONT]\n20", 0, 0, "Courier New"},
        FontCase{"CommentsAreSkipped", "[FONT]\n;30\n18\n36\n\n", 18, 36, "Courier New"},
        FontCase{"LeadingIntegerRule", "[FONT]\n 12abc\n+30\n", 12, 30, "Courier New"},
        FontCase{"FontSectionEndsAtAnEmptyLine", "[FONT]\n10\n20\n\nArial 2\n", 10, 20,
                 "Courier New"},
        FontCase{"NegativeSizesCountByTheirMagnitude", "[FONT]\n-12\n-24\n", 12, 24, "Courier New"},
        FontCase{"HugeSizesAndScaleAreClamped",
                 "[FONT]\n1099511627776\n99999999999999999999\nA 1e30\n", 8192, 512, "A"},
        FontCase{"NegativeScaleIsZero", "[FONT]\n10\n20\nArial -2\n", 0, 20, "Arial"},
        FontCase{"TrailingSpaceGivesScaleZero", "[FONT]\n10\n20\nArial \n", 0, 20, "Arial"}),
    CaseName());

TEST_F(MenuTest, TheFontIsMadeWithTheUnscaledWidthAndTheMenusItalicWeight) {
    const windowmenu menu = load(colours + "[FONT]\n16\n32\nArial 0.5\n\n[TEXT]\nA\n\n");
    ASSERT_TRUE(menu.menu_font);
    EXPECT_EQ(platform::font_metrics(*menu.menu_font).average_width, 16);
    EXPECT_EQ(menu.char_width, 8);
    EXPECT_EQ(menu.text_x, 16);
    const platform::FontHandle same = platform::create_font({"Arial", 32, 16, 1000, true});
    ASSERT_TRUE(same);
    EXPECT_EQ(platform::font_metrics(*menu.menu_font).family, platform::font_metrics(*same).family);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(MenuTest, MainMenuExample) {
    const std::string file =
        "red=255\ngreen=255\nblue=128\ngame=vorps\n\n[FONT]\n14\n30\nTimes New Roman 1.2\n\n"
        "[OPTIONS]\nCENTER\n\n[TEXT]\nВорпы\nГлавное меню\nНовая игра\nТренировка\nРекорды\n"
        "Выход\n\n"_cp1251;
    const windowmenu menu = load(file);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(menu.item_count, 6);
    EXPECT_EQ(str(menu.item_texts[3]), "Новая игра"_cp1251);
    EXPECT_EQ(menu.alignment, windowmenu::CENTER);
    EXPECT_EQ(menu.text_colour, rgb(255, 255, 128));
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(menu.item_colours[i], rgb(255, 255, 128)) << i;
    EXPECT_EQ(str(menu.face_name), "Times New Roman");
    EXPECT_EQ(menu.char_width, 16);  // 14 x 1.2
    EXPECT_EQ(menu.char_height, 30);
    EXPECT_EQ(menu.client_width, 640);
    EXPECT_EQ(menu.client_height, 480);
    EXPECT_EQ(menu.row_height, 480 / 7);
    EXPECT_EQ(menu.hovered_item, 0);
    ASSERT_TRUE(menu.menu_font);
}

TEST_F(MenuTest, NoItemsStillMakesTheFont) {
    const windowmenu menu = load(colours + "[OPTIONS]\nCENTER\n");
    EXPECT_EQ(menu.has_items, 0);
    EXPECT_EQ(menu.item_count, 0);
    EXPECT_EQ(menu.row_height, 480);
    EXPECT_TRUE(menu.menu_font);
    EXPECT_TRUE(boxes().empty());
}

// ---- Colours and fatal messages -------------------------------------------------

struct ColourCase {
    const char* name;
    std::string keys;
    Colour expected;
};

class MenuColours : public MenuTest, public testing::WithParamInterface<ColourCase> {};

TEST_P(MenuColours, LowByteOfEachTruncatedValue) {
    const windowmenu menu = load(GetParam().keys + "[TEXT]\nA\nB\n\n");
    EXPECT_EQ(menu.text_colour, GetParam().expected);
    EXPECT_EQ(menu.item_colours[1], GetParam().expected);
    EXPECT_EQ(menu.item_colours[2], GetParam().expected);
    EXPECT_TRUE(boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MenuColours,
    testing::Values(
        ColourCase{"PaleYellow", "red=255\ngreen=255\nblue=128\n", rgb(255, 255, 128)},
        ColourCase{"LowEightBits", "red=256\ngreen=300\nblue=-1\n", rgb(0, 44, 255)},
        ColourCase{"TruncatedTowardZero", "red=12.9\ngreen=-0.5\nblue=-1.5\n", rgb(12, 0, 255)},
        ColourCase{"KeysInAnyOrderAndInsideOptions",
                   "[OPTIONS]\nblue=3\nCENTER\n\ngreen=2\n;red=9\nred=1\n", rgb(1, 2, 3)},
        ColourCase{"FarOutOfRange", "red=1e30\ngreen=1e999\nblue=abc\n", rgb(0, 0, 0)},
        ColourCase{"BeyondSixtyFourBits", "red=18446744073709551617\ngreen=2\nblue=3\n",
                   rgb(0, 2, 3)}),
    CaseName());

TEST_F(MenuTest, MissingColourKeyIsFatalAndLoadingGoesOn) {
    const windowmenu menu = load("red=1\nblue=3\n[TEXT]\nA\n\n");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Значение green не найдено.\nmenu\\test.menu"_cp1251);
    EXPECT_EQ(boxes()[0].caption, "Фатальная ошибка"_cp1251);
    EXPECT_EQ(menu.text_colour, rgb(1, 0, 3));
    EXPECT_EQ(items(menu), std::vector<std::string>{"A"});
}

TEST_F(MenuTest, FileThatCannotBeReadIsFatalAndLeavesTheMenuEmpty) {
    fs::create_directories(dir_ / "menu" / "folder.menu");
    // A pipe would wait for a writer forever, and /dev/zero never ends.
    ASSERT_EQ(::mkfifo((dir_ / "menu" / "pipe.menu").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir_ / "menu" / "zero.menu");
    for (const char* path :
         {"menu\\missing.menu", "menu\\folder.menu", "menu\\pipe.menu", "menu\\zero.menu"}) {
        boxes().clear();
        reset_fatal_state();
        windowmenu menu;
        menu.init(window_, path);
        ASSERT_EQ(boxes().size(), 1u) << path;
        EXPECT_EQ(boxes()[0].text,
                  "windowmenu::init: невозможно открыть файл\n"_cp1251 + std::string(path));
        EXPECT_EQ(boxes()[0].caption, "Фатальная ошибка"_cp1251);
        EXPECT_EQ(menu.has_items, 0);
        EXPECT_EQ(menu.client_width, 0);
        EXPECT_EQ(menu.text_colour, rgb(255, 255, 255));
        EXPECT_FALSE(menu.menu_font);
        EXPECT_EQ(menu.hover(window_, 10, 10), 0);
    }
}

// ---- Files that are not menus ---------------------------------------------------

void expect_sane(const windowmenu& menu) {
    EXPECT_GE(menu.item_count, 0);
    EXPECT_LE(menu.item_count, windowmenu::max_items);
    EXPECT_EQ(menu.has_items != 0, menu.item_count > 0);
    EXPECT_GE(menu.alignment, 1);
    EXPECT_LE(menu.alignment, 3);
    EXPECT_GE(menu.char_height, 0);
    EXPECT_LE(menu.char_height, 512);
    EXPECT_GE(menu.char_width, 0);
    EXPECT_LE(menu.char_width, 512 * 16);
}

TEST_F(MenuTest, RandomBytesLoadAndLayOut) {
    std::mt19937 random(20240401);
    const std::vector<std::string> pieces = {
        "[TEXT]\n", "[OPTIONS]\n", "[EXECUT]\n", "[FONT]\n", "\n",    "\r\n", ";",
        "red=",     "CENTER\n",    "RIGHT\n",    " ",        "1e30 ", "-7\n", "2147483648\n"};
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int parts = static_cast<int>(random() % 200);
        for (int i = 0; i < parts; ++i) {
            if (random() % 2 == 0) {
                bytes += pieces[random() % pieces.size()];
            } else {
                bytes += static_cast<char>(random() % 256);
            }
        }
        windowmenu menu = load(bytes);
        expect_sane(menu);
        for (int i = 0; i <= menu.item_count + 1; ++i)
            menu.item_rect(i);
        menu.hover(window_, 320, 240);
        menu.draw(window_);
        boxes().clear();
        reset_fatal_state();
    }
}

TEST_F(MenuTest, ThousandsOfItemsAndOverlongLines) {
    std::string bytes = colours + "[TEXT]\n" + std::string(3'000'000, 'W') + "\n";
    for (int i = 0; i < 50'000; ++i)
        bytes += "item\n";
    bytes += "\n[EXECUT]\n" + std::string(1'000'000, 'c') + "\n";
    const windowmenu menu = load(bytes);
    expect_sane(menu);
    EXPECT_EQ(menu.item_count, 9);
    EXPECT_EQ(menu.item_texts[1].length(), 4096);
    EXPECT_EQ(str(menu.item_texts[9]), "item");
    EXPECT_EQ(menu.item_commands[1].length(), 4096);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(MenuTest, LongTextsWithHugeSizesKeepTheLayoutInRange) {
    windowmenu menu = load(colours +
                           "[FONT]\n1099511627776\n512\nA 1e30\n\n[OPTIONS]\nRIGHT\n\n"
                           "[TEXT]\n" +
                           std::string(5000, 'x') + "\nB\n\n");
    expect_sane(menu);
    const windowmenu::Rect rect = menu.item_rect(1);
    EXPECT_LT(rect.left, 0);
    EXPECT_GT(rect.right, rect.left);
    menu.hover(window_, 0, 0);
    menu.draw(window_);
}

// ---- Layout ---------------------------------------------------------------------

struct PlacementCase {
    const char* name;
    const char* alignment;
    std::vector<int> text_x;  // per item: "1234567", "ab", "abcdefghij"
};

class MenuPlacement : public MenuTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(MenuPlacement, LeftEdgeOfEachItem) {
    windowmenu menu = load(colours + "[FONT]\n10\n30\n\n[OPTIONS]\n" + GetParam().alignment +
                           "\n\n[TEXT]\n1234567\nab\nabcdefghij\n\n");
    for (int i = 1; i <= 3; ++i) {
        const windowmenu::Rect rect = menu.item_rect(i);
        EXPECT_EQ(rect.left, GetParam().text_x[i - 1]) << "item " << i;
        EXPECT_EQ(rect.right - rect.left, 10 * menu.item_texts[i].length()) << "item " << i;
        EXPECT_EQ(menu.text_x, rect.left);
    }
}

INSTANTIATE_TEST_SUITE_P(Alignments, MenuPlacement,
                         testing::Values(PlacementCase{"Center", "CENTER", {285, 310, 270}},
                                         PlacementCase{"Right", "RIGHT", {550, 600, 520}},
                                         PlacementCase{"Left", "LEFT", {20, 20, 20}}),
                         CaseName());

TEST_F(MenuTest, RowsShareTheClientHeight) {
    windowmenu menu = load(colours + "[FONT]\n10\n30\n\n[TEXT]\nA\nB\nC\nD\n\n");
    EXPECT_EQ(menu.row_height, 96);
    EXPECT_EQ(menu.item_rect(1), (windowmenu::Rect{20, 81, 30, 111}));
    EXPECT_EQ(menu.item_rect(2), (windowmenu::Rect{20, 177, 30, 207}));
    EXPECT_EQ(menu.item_rect(4), (windowmenu::Rect{20, 369, 30, 399}));
}

TEST_F(MenuTest, ItemRectOutOfRangeIsZero) {
    windowmenu menu = load(colours + "[FONT]\n10\n30\n\n[TEXT]\nA\nB\n\n");
    EXPECT_EQ(menu.item_rect(0), windowmenu::Rect{});
    EXPECT_EQ(menu.item_rect(3), windowmenu::Rect{});
    EXPECT_EQ(menu.item_rect(-1), windowmenu::Rect{});
    EXPECT_NE(menu.item_rect(2), windowmenu::Rect{});
    windowmenu empty = load(colours + "[FONT]\n10\n30\n");
    for (int i = -1; i <= 10; ++i)
        EXPECT_EQ(empty.item_rect(i), windowmenu::Rect{}) << i;
}

TEST_F(MenuTest, SetItemTextOnlyInRange) {
    windowmenu seven = load(colours + "[FONT]\n10\n30\n\n[TEXT]\n" + numbered_lines(7) + "\n");
    seven.set_item_text(8, "Назад"_cp1251);
    EXPECT_EQ(str(seven.item_texts[8]), "");
    EXPECT_EQ(seven.item_count, 7);

    windowmenu eight = load(colours + "[FONT]\n10\n30\n\n[TEXT]\n" + numbered_lines(8) + "\n");
    const int drawn = static_cast<int>(eight.draw_count());
    eight.set_item_text(8, "Назад"_cp1251);
    EXPECT_EQ(str(eight.item_texts[8]), "Назад"_cp1251);
    EXPECT_EQ(eight.item_rect(8).right - eight.item_rect(8).left, 50);
    EXPECT_EQ(static_cast<int>(eight.draw_count()), drawn);  // no redraw until the next draw
}

TEST_F(MenuTest, ItemColoursReturnThePreviousOne) {
    windowmenu menu = load("red=10\ngreen=20\nblue=30\n[TEXT]\nA\nB\n\n");
    const Colour text = rgb(10, 20, 30);
    EXPECT_EQ(menu.highlight_item(2), text);
    EXPECT_EQ(menu.item_colours[2], rgb(255, 255, 255));
    EXPECT_EQ(menu.highlight_item(2), rgb(255, 255, 255));
    EXPECT_EQ(menu.reset_item_colour(2), rgb(255, 255, 255));
    EXPECT_EQ(menu.item_colours[2], text);
    EXPECT_EQ(menu.highlight_item(3), text);
    EXPECT_EQ(menu.reset_item_colour(0), text);
    EXPECT_EQ(menu.item_colours[1], text);
}

// ---- The hit zone and hover ----------------------------------------------------

// One centred item of 7 characters, 10 by 30, in a 270 x 130 client area: its
// rectangle is (100, 50, 170, 80).
class MenuHitZone : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        window_.resize(270, 130);
        menu_ = load(colours + "[FONT]\n10\n30\n\n[OPTIONS]\nCENTER\n\n[TEXT]\n1234567\n\n");
        ASSERT_EQ(menu_.item_rect(1), (windowmenu::Rect{100, 50, 170, 80}));
    }
    windowmenu menu_;
};

TEST_F(MenuHitZone, StrictBordersWithTheMarginBesideAndBelow) {
    struct Point {
        int x, y, item;
    };
    for (const Point p :
         {Point{135, 50, 0}, Point{135, 51, 1}, Point{135, 89, 1}, Point{135, 90, 0},
          Point{90, 65, 0}, Point{91, 65, 1}, Point{179, 65, 1}, Point{180, 65, 0},
          Point{91, 89, 1}, Point{90, 89, 0}, Point{179, 51, 1}, Point{179, 50, 0}}) {
        EXPECT_EQ(menu_.hover(window_, p.x, p.y), p.item) << "(" << p.x << ", " << p.y << ")";
    }
}

TEST_F(MenuHitZone, EmptyTextIsHitBesideItsLeftEdge) {
    menu_.set_item_text(1, "");
    ASSERT_EQ(menu_.item_rect(1), (windowmenu::Rect{135, 50, 135, 80}));
    EXPECT_EQ(menu_.hover(window_, 125, 60), 0);
    EXPECT_EQ(menu_.hover(window_, 126, 60), 1);
    EXPECT_EQ(menu_.hover(window_, 144, 60), 1);
    EXPECT_EQ(menu_.hover(window_, 145, 60), 0);
}

TEST_F(MenuTest, OverlappingZonesGoToTheLowerItem) {
    window_.resize(640, 120);  // rows of 30 with items 30 high: the margin below reaches on
    windowmenu menu = load(colours + "[FONT]\n10\n30\n\n[TEXT]\nA\nB\nC\n\n");
    ASSERT_EQ(menu.item_rect(1).bottom, 45);
    ASSERT_EQ(menu.item_rect(2).top, 45);
    EXPECT_EQ(menu.hover(window_, 25, 50), 1);
    EXPECT_EQ(menu.hover(window_, 25, 56), 2);
}

TEST_F(MenuTest, HoverRedrawsOnlyWhenTheLitItemChanges) {
    windowmenu menu = load("red=0\ngreen=0\nblue=255\n[FONT]\n10\n30\n\n[TEXT]\nA\nB\nC\n\n");
    const Colour text = rgb(0, 0, 255), white = rgb(255, 255, 255);
    const int row = menu.row_height;  // item i is centred on i x row
    auto colours_now = [&] {
        return std::vector<Colour>{menu.item_colours[1], menu.item_colours[2],
                                   menu.item_colours[3]};
    };
    const std::uint64_t start = menu.draw_count();

    EXPECT_EQ(menu.hover(window_, 25, 2 * row), 2);
    EXPECT_EQ(menu.draw_count() - start, 1u);
    EXPECT_EQ(colours_now(), (std::vector<Colour>{text, white, text}));

    EXPECT_EQ(menu.hover(window_, 25, 3 * row), 3);
    EXPECT_EQ(menu.draw_count() - start, 2u);
    EXPECT_EQ(colours_now(), (std::vector<Colour>{text, text, white}));
    EXPECT_EQ(menu.hovered_item, 3);

    EXPECT_EQ(menu.hover(window_, 26, 3 * row + 1), 3);
    EXPECT_EQ(menu.draw_count() - start, 2u);

    EXPECT_EQ(menu.hover(window_, 600, 5), 0);
    EXPECT_EQ(menu.draw_count() - start, 3u);
    EXPECT_EQ(colours_now(), (std::vector<Colour>{text, text, text}));
    EXPECT_EQ(menu.hovered_item, 0);

    EXPECT_EQ(menu.hover(window_, 600, 6), 0);
    EXPECT_EQ(menu.draw_count() - start, 3u);
}

TEST_F(MenuTest, WhiteMenuStillReportsTheItem) {
    windowmenu menu = load("red=255\ngreen=255\nblue=255\n[FONT]\n10\n30\n\n[TEXT]\nA\n\n");
    EXPECT_EQ(menu.hover(window_, 25, menu.row_height), 1);
    EXPECT_EQ(menu.item_colours[1], rgb(255, 255, 255));
}

TEST_F(MenuTest, MenuWithoutItemsNeitherHitsNorDraws) {
    windowmenu menu = load(colours + "[FONT]\n10\n30\n");
    const std::uint64_t changes = window_.framebuffer().changes;
    EXPECT_EQ(menu.hover(window_, 20, 240), 0);
    menu.draw(window_);
    EXPECT_EQ(menu.draw_count(), 0u);
    EXPECT_EQ(window_.framebuffer().changes, changes);
}

// ---- Pixels --------------------------------------------------------------------

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    bool empty() const { return right < 0; }
};

class MenuPixels : public MenuTest {
  protected:
    Colour at(int x, int y) const { return platform::to_colour(window_.framebuffer().at(x, y)); }
    static int red(Colour c) { return static_cast<int>(c & 0xFF); }
    static int green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
    static int blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

    // Ink of the rows [top, bottom): blue ink is the item (over black or over the grey
    // shadow), grey ink is shadow alone.
    struct Ink {
        Box all, item;
        int grey_exact = 0, item_exact = 0, white_exact = 0, not_grey_shadow = 0;
    };
    Ink ink(int top, int bottom, Colour item_colour) const {
        Ink result;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < window_.framebuffer().width; ++x) {
                const Colour c = at(x, y);
                if (c == 0) continue;
                result.all.add(x, y);
                if (blue(c) > red(c)) result.item.add(x, y);
                if (c == rgb(128, 128, 128)) ++result.grey_exact;
                if (c == item_colour) ++result.item_exact;
                if (c == rgb(255, 255, 255)) ++result.white_exact;
                const bool neutral = red(c) == green(c) && green(c) == blue(c);
                if (blue(c) <= red(c) && (!neutral || red(c) > 128)) ++result.not_grey_shadow;
            }
        }
        return result;
    }
};

TEST_F(MenuPixels, ShadowTwoPixelsRightAndDownInGrey) {
    windowmenu menu = load("red=0\ngreen=0\nblue=255\n[FONT]\n20\n40\n\n[TEXT]\nHIH\nMWM\n\n");
    menu.draw(window_);
    const windowmenu::Rect rect = menu.item_rect(1);
    const Ink first = ink(0, menu.row_height + menu.row_height / 2, rgb(0, 0, 255));
    ASSERT_FALSE(first.item.empty());
    // The shadow is the same ink moved by (2, 2): it shows past the text's right and
    // bottom edges by exactly 2 pixels and never left of or above it.
    EXPECT_EQ(first.all.left, first.item.left);
    EXPECT_EQ(first.all.top, first.item.top);
    EXPECT_EQ(first.all.right, first.item.right + 2);
    EXPECT_EQ(first.all.bottom, first.item.bottom + 2);
    EXPECT_GT(first.grey_exact, 0);
    EXPECT_GT(first.item_exact, 0);
    EXPECT_EQ(first.not_grey_shadow, 0);
    EXPECT_EQ(first.white_exact, 0);
    // The text stands in its cell at the item's place.
    EXPECT_GE(first.item.top, rect.top);
    EXPECT_LT(first.item.bottom, rect.bottom);
    EXPECT_GE(first.item.left, rect.left - 20);
    EXPECT_LE(first.item.left, rect.left + 20);
    EXPECT_EQ(window_.dc().font, menu.menu_font);  // the menu font stays selected
}

TEST_F(MenuPixels, LitItemIsWhiteUntilTheMouseLeaves) {
    windowmenu menu = load("red=0\ngreen=0\nblue=255\n[FONT]\n20\n40\n\n[TEXT]\nHIH\nMWM\n\n");
    menu.draw(window_);
    const int row = menu.row_height;
    const int split = row + row / 2;  // between the two items
    EXPECT_EQ(menu.hover(window_, menu.item_rect(1).left + 5, row), 1);
    const Ink lit = ink(0, split, rgb(0, 0, 255));
    const Ink other = ink(split, 480, rgb(0, 0, 255));
    EXPECT_GT(lit.white_exact, 0);
    EXPECT_GT(lit.grey_exact, 0);  // the shadow stays grey under a lit item
    EXPECT_EQ(other.white_exact, 0);
    EXPECT_GT(other.item_exact, 0);

    EXPECT_EQ(menu.hover(window_, 639, 479), 0);
    const Ink back = ink(0, split, rgb(0, 0, 255));
    EXPECT_EQ(back.white_exact, 0);
    EXPECT_GT(back.item_exact, 0);
}

// ---- The game's six menus --------------------------------------------------------

TEST_F(MenuTest, SixMenusLoadFromTheirFilesInOrder) {
    const char* files[] = {"helpmenu", "continuemenu", "mainmenu", "back", "training"};
    for (const char* file : files) {
        std::ofstream(dir_ / "menu" / (std::string(file) + ".menu"), std::ios::binary)
            << colours << "[TEXT]\n"
            << file << "\n\n";
    }
    reset_menu_state();
    load_menus(window_);
    // really.menu is missing: one fatal message, the other five load.
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "windowmenu::init: невозможно открыть файл\nmenu\\really.menu"_cp1251);
    const MenuState& menus = menu_state();
    EXPECT_EQ(str(menus.help_menu.item_texts[1]), "helpmenu");
    EXPECT_EQ(str(menus.continue_menu.item_texts[1]), "continuemenu");
    EXPECT_EQ(str(menus.main_menu.item_texts[1]), "mainmenu");
    EXPECT_EQ(str(menus.back_menu.item_texts[1]), "back");
    EXPECT_EQ(menus.really_menu.has_items, 0);
    EXPECT_EQ(str(menus.training_menu.item_texts[1]), "training");
    EXPECT_EQ(menus.main_menu.client_width, 640);

    reset_menu_state();
    EXPECT_EQ(menu_state().main_menu.has_items, 0);
    EXPECT_EQ(menu_state().main_menu.client_width, 0);
    EXPECT_FALSE(menu_state().main_menu.menu_font);
}

TEST_F(MenuTest, OnlyTheFirstFatalErrorGetsABoxAndItNamesItsFile) {
    // Six menus of garbage: each misses its three colours, eighteen fatal errors.
    for (const char* file : {"helpmenu", "continuemenu", "mainmenu", "back", "really", "training"})
        std::ofstream(dir_ / "menu" / (std::string(file) + ".menu"), std::ios::binary)
            << "garbage\n";
    testing::internal::CaptureStderr();
    load_menus(window_);
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Значение red не найдено.\nmenu\\helpmenu.menu"_cp1251);
    EXPECT_EQ(boxes()[0].caption, "Фатальная ошибка"_cp1251);
    // Every one of them still reaches standard error, in UTF-8.
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = errors.find("vorpy: Значение", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 18u) << errors;
    EXPECT_NE(errors.find("не найдено.\nmenu\\training.menu\n"), std::string::npos) << errors;
}

}  // namespace
