// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings reader: key-line rules, the number rule, the lookups' independence
// from each other on one stream, and the fatal message for a missing number key.
#include "menu/settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "base/fatal.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "support/test_support.h"

namespace {

using test_support::CaseName;
using test_support::str;

class Settings : public testing::Test {
  protected:
    void SetUp() override {
        platform::recording_desktop().boxes.clear();
        platform::reset_messages();
        reset_fatal_state();
    }
    void TearDown() override {
        platform::recording_desktop().boxes.clear();
        platform::reset_messages();
        reset_fatal_state();
    }
    static std::vector<platform::RecordingDesktop::Box>& boxes() {
        return platform::recording_desktop().boxes;
    }
};

struct NumberCase {
    const char* name;
    std::string file;
    const char* key;
    double expected;
};

class SettingNumber : public Settings, public testing::WithParamInterface<NumberCase> {};

TEST_P(SettingNumber, FindsTheKeyLineAndConvertsItsValue) {
    const NumberCase& c = GetParam();
    std::istringstream input(c.file);
    EXPECT_EQ(read_setting_number(input, c.key), c.expected) << c.file;
    EXPECT_TRUE(boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingNumber,
    testing::Values(
        NumberCase{"Plain", "red=255\n", "red", 255},
        NumberCase{"SpaceAfterEquals", "red= 255\n", "red", 255},
        NumberCase{"TabsAndSpacesAfterEquals", "red= \t 7\n", "red", 7},
        NumberCase{"LeadingNumberOnly", "red=12abc\n", "red", 12},
        NumberCase{"NoNumber", "red=abc\n", "red", 0}, NumberCase{"EmptyValue", "red=\n", "red", 0},
        NumberCase{"Negative", "red=-1\n", "red", -1}, NumberCase{"PlusSign", "red=+3\n", "red", 3},
        NumberCase{"Fraction", "red=1.25\n", "red", 1.25},
        NumberCase{"FractionWithoutIntegerPart", "red=.5\n", "red", 0.5},
        NumberCase{"Exponent", "red=1.5e2\n", "red", 150},
        NumberCase{"ExponentWithoutDigitsStops", "red=7e\n", "red", 7},
        NumberCase{"CommaIsNotADecimalPoint", "red=1,5\n", "red", 1},
        // Only the decimal form counts, as the reader's rule says.
        NumberCase{"HexadecimalIsNotRead", "red=0x1A\n", "red", 0},
        NumberCase{"InfinityWordIsNotRead", "red=inf\n", "red", 0},
        NumberCase{"CarriageReturnLineEnd", "red=7\r\n", "red", 7},
        NumberCase{"PrefixKeyDoesNotMatch", "gamer=1\ngame=2\n", "game", 2},
        NumberCase{"LongerKeyIsNotFoundByPrefix", "game=1\ngamer=2\n", "gamer", 2},
        NumberCase{"FirstDuplicateWins", "blue=1\nblue=2\n", "blue", 1},
        NumberCase{"CommentLineSkipped", ";red=10\nred=20\n", "red", 20},
        NumberCase{"KeyAfterEmptyAndOtherLines", "\n[TEXT]\nx\n\nred=9\n", "red", 9},
        NumberCase{"KeyAfterOverlongLine", std::string(100000, 'x') + "\nred=3\n", "red", 3},
        NumberCase{"KeyAfterBinaryBytes", std::string("\x01\xFF\x80\t\r\n", 6) + "red=4\n", "red",
                   4}),
    CaseName());

TEST_F(Settings, OutOfRangeNumbersFollowTheCRule) {
    std::istringstream input("big=1e999\nsmall=-1e999\ntiny=1e-999\n");
    EXPECT_EQ(read_setting_number(input, "big"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(read_setting_number(input, "small"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(read_setting_number(input, "tiny"), 0);
}

struct MissingCase {
    const char* name;
    std::string file;
};

class SettingMissing : public Settings, public testing::WithParamInterface<MissingCase> {};

// Lines that look like a key line for red but are not one.
TEST_P(SettingMissing, NumberKeyIsFatalAndTextKeyIsEmpty) {
    std::istringstream input(GetParam().file);
    EXPECT_EQ(read_setting_number(input, "red"), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Значение red не найдено."_cp1251);
    EXPECT_EQ(boxes()[0].caption, "Фатальная ошибка"_cp1251);
    platform::Message m{};
    ASSERT_TRUE(platform::peek_message(m));
    EXPECT_EQ(m.type, platform::MessageType::quit);

    boxes().clear();

    reset_fatal_state();
    EXPECT_EQ(str(read_setting_text(input, "red")), "");
    EXPECT_TRUE(boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, SettingMissing,
                         testing::Values(MissingCase{"EmptyFile", ""},
                                         MissingCase{"LastLineWithoutLineEnd", "green=1\nred=255"},
                                         MissingCase{"SpaceBeforeKey", " red=5\n"},
                                         MissingCase{"SpaceBeforeEquals", "red =5\n"},
                                         MissingCase{"OtherCase", "Red=5\nRED=5\n"},
                                         MissingCase{"KeyWithoutEquals", "red\nred 5\n"},
                                         MissingCase{"OnlyCommented", ";red=5\n"},
                                         MissingCase{"EveryLineStartsWithASpace",
                                                     " red=1\n green=2\n blue=3\n"}),
                         CaseName());

TEST_F(Settings, LastLineIsFoundOnceItHasALineEnd) {
    std::istringstream with_end("green=1\nred=255\n");
    EXPECT_EQ(read_setting_number(with_end, "red"), 255);
    std::istringstream text_with_end("game=vorps\n");
    EXPECT_EQ(str(read_setting_text(text_with_end, "game")), "vorps");
    std::istringstream text_without_end("game=vorps");
    EXPECT_EQ(str(read_setting_text(text_without_end, "game")), "");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Settings, TextValueIsKeptWhole) {
    std::istringstream input("game=vorps \r\nname= two  words=x\nempty=\n");
    const String game = read_setting_text(input, "game");
    EXPECT_EQ(str(game), "vorps ");
    EXPECT_FALSE(game == "vorps");
    EXPECT_EQ(str(read_setting_text(input, "name")), " two  words=x");
    EXPECT_EQ(str(read_setting_text(input, "empty")), "");
    const std::string cyrillic = "title=Ворпы\n"_cp1251;
    std::istringstream cyrillic_input(cyrillic);
    EXPECT_EQ(str(read_setting_text(cyrillic_input, "title")), "Ворпы"_cp1251);
}

TEST_F(Settings, EveryLookupOnOneStreamSeesTheWholeFile) {
    // The keys in the reverse of the lookup order, and a lookup that fails in between.
    std::istringstream input("blue=3\ngreen=2\nred=1\n");
    EXPECT_EQ(read_setting_number(input, "red"), 1);
    EXPECT_EQ(str(read_setting_text(input, "missing")), "");
    EXPECT_EQ(read_setting_number(input, "green"), 2);
    EXPECT_EQ(read_setting_number(input, "blue"), 3);
    EXPECT_EQ(read_setting_number(input, "red"), 1);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Settings, UnreadableStreamIsNotFoundWithoutLooping) {
    std::ifstream missing("/nonexistent-vorpy-folder/menu.menu", std::ios::binary);
    EXPECT_EQ(str(read_setting_text(missing, "game")), "");
    EXPECT_EQ(read_setting_number(missing, "red"), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Значение red не найдено."_cp1251);
}

TEST_F(Settings, NumbersIgnoreTheProcessLocale) {
    // A locale whose decimal point is a comma, where one is installed.
    const std::string old = std::setlocale(LC_ALL, nullptr);
    const char* comma_locale = nullptr;
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.CP1251"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            comma_locale = name;
            break;
        }
    }
    if (comma_locale == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    std::istringstream input("scale=1.5\n");
    const double value = read_setting_number(input, "scale");
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(value, 1.5) << comma_locale;
}

TEST(ReadMenuLine, LineRules) {
    std::istringstream input(std::string("abc\r\n\nx\ry\n") + std::string(200, 'z') + "\nlast");
    String line;
    ASSERT_TRUE(read_menu_line(input, line));
    EXPECT_EQ(str(line), "abc");
    ASSERT_TRUE(read_menu_line(input, line));
    EXPECT_EQ(str(line), "");
    ASSERT_TRUE(read_menu_line(input, line));
    EXPECT_EQ(str(line), "x\ry");  // only a carriage return at the end goes
    ASSERT_TRUE(read_menu_line(input, line));
    EXPECT_EQ(str(line), std::string(200, 'z'));
    EXPECT_FALSE(read_menu_line(input, line));  // "last" has no line end
    EXPECT_FALSE(read_menu_line(input, line));
}

TEST(ReadMenuLine, OverlongLineKeepsItsStartAndCostsLinearTime) {
    const std::string huge(8'000'000, 'q');
    std::istringstream input(huge + "\nnext\n");
    String line;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(read_menu_line(input, line));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(line.length(), max_menu_line_bytes);
    EXPECT_LT(elapsed, std::chrono::seconds(2));
    ASSERT_TRUE(read_menu_line(input, line));
    EXPECT_EQ(str(line), "next");
}

TEST(LeadingInteger, TextToIntegerRule) {
    EXPECT_EQ(leading_integer("12"), 12);
    EXPECT_EQ(leading_integer("  -7x"), -7);
    EXPECT_EQ(leading_integer("+5"), 5);
    EXPECT_EQ(leading_integer("1.9"), 1);
    EXPECT_EQ(leading_integer("Arial"), 0);
    EXPECT_EQ(leading_integer("0x10"), 0);
    EXPECT_EQ(leading_integer(""), 0);
    EXPECT_EQ(leading_integer("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(leading_integer("-99999999999999999999999"),
              std::numeric_limits<std::int64_t>::min());
}

}  // namespace
