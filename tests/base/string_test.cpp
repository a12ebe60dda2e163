// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// String: construction, comparison, concatenation, the 1-based substring rules and
// whole-line reading.
#include "base/string.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/cp1251.h"

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

TEST(String, EmptyOwnsATerminatedBuffer) {
    String s;
    EXPECT_TRUE(s.is_empty());
    EXPECT_EQ(s.length(), 0);
    ASSERT_NE(s.c_str(), nullptr);
    EXPECT_EQ(s.c_str()[0], '\0');
}

TEST(String, CopiesAreDeep) {
    String a("abc");
    String b(a);
    String c;
    c = a;
    a = "xyz";
    EXPECT_EQ(str(b), "abc");
    EXPECT_EQ(str(c), "abc");
    EXPECT_NE(b.c_str(), c.c_str());
}

TEST(String, SelfAssignmentKeepsTheValue) {
    String a("abc");
    String& alias = a;
    a = alias;
    EXPECT_EQ(str(a), "abc");
    a = a.c_str();  // source inside the buffer being replaced
    EXPECT_EQ(str(a), "abc");
}

TEST(String, ComparisonIsBytewiseAndCaseSensitive) {
    EXPECT_TRUE(String(".bmp") == ".bmp");
    EXPECT_FALSE(String(".BMP") == ".bmp");
    EXPECT_TRUE(String("ab") == String("ab"));
    EXPECT_EQ(String("abc").compare("abc"), 0);
    EXPECT_EQ(String("abc").compare("abd"), -1);
    EXPECT_EQ(String("abd").compare("abc"), 1);
    EXPECT_EQ(String("ab").compare("abc"), -1);
    // Bytes compare unsigned: a Cyrillic byte sorts after ASCII.
    EXPECT_EQ(String("Я"_cp1251).compare("z"), 1);
}

TEST(String, Concatenation) {
    EXPECT_EQ(str(String("ab") + String("cd")), "abcd");
    EXPECT_EQ(str(String("ab") + "cd"), "abcd");
    EXPECT_EQ(str("ab" + String("cd")), "abcd");
    EXPECT_EQ(str(String("x") + -5), "x-5");
    EXPECT_EQ(str(String("x") + 0), "x0");
    EXPECT_EQ(str(String() + 2147483647), "2147483647");
    EXPECT_EQ(str(String() + (-2147483647 - 1)), "-2147483648");
}

struct MidCase {
    const char* text;
    int start;
    int count;
    const char* expected;
};

class StringMid : public testing::TestWithParam<MidCase> {};

TEST_P(StringMid, ClampsAsDocumented) {
    const MidCase& c = GetParam();
    EXPECT_EQ(str(String(c.text).mid(c.start, c.count)), c.expected)
        << "mid(" << c.start << ", " << c.count << ") of \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, StringMid,
                         testing::Values(MidCase{"abc", 2, 0, ""}, MidCase{"abc", 5, 2, "ab"},
                                         MidCase{"abc", 2, -1, "bc"}, MidCase{"abc", 1, 2, "ab"},
                                         MidCase{"abc", 0, 1, "a"}, MidCase{"abc", 3, 5, "c"},
                                         MidCase{"abc", -7, 2, "ab"}, MidCase{"", 1, -1, ""},
                                         MidCase{"", 3, 2, ""},
                                         MidCase{"abc", 2, 2147483647, "bc"}));

TEST(String, RightTakesTheTail) {
    EXPECT_EQ(str(String("abc").right(0)), "abc");
    EXPECT_EQ(str(String("abc").right(10)), "abc");
    EXPECT_EQ(str(String("abc").right(1)), "c");
    EXPECT_EQ(str(String("abc").right(-3)), "abc");
    EXPECT_EQ(str(String("").right(0)), "");
}

TEST(String, CharAt) {
    EXPECT_EQ(str(String("abc").char_at(1)), "a");
    EXPECT_EQ(str(String("abc").char_at(3)), "c");
}

TEST(String, Extension) {
    const struct {
        const char* name;
        const char* extension;
    } cases[] = {
        {"menu\\menu", ""},       {"a.b.back", ".back"},       {"name.", "."}, {".bmp", ".bmp"},
        {"res\\pic.res", ".res"}, {"dir.d\\file", ".d\\file"},  // a dot in a folder counts when the
                                                                // file has none
    };
    for (const auto& c : cases)
        EXPECT_EQ(str(String(c.name).extension()), c.extension) << c.name;
}

TEST(ReadLine, SplitsAtLineFeedsAndDropsCarriageReturns) {
    std::istringstream in("abc\r\n\nlast\r\nx");
    String line;
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(str(line), "abc");
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(str(line), "");
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(str(line), "last");
    // A last line without a line end reaches the end of the stream, which is how callers
    // know to stop before using it.
    EXPECT_FALSE(in.eof());
    read_line(in, line);
    EXPECT_TRUE(in.eof());
}

TEST(ReadLine, ReadsLongLinesWhole) {
    for (int n : {78, 79, 80, 158, 159, 200, 5000}) {
        const std::string text(static_cast<std::size_t>(n), 'q');
        std::istringstream in(text + "\r\nnext\n");
        String line;
        ASSERT_TRUE(read_line(in, line)) << n;
        EXPECT_EQ(str(line), text) << n;
        ASSERT_TRUE(read_line(in, line)) << n;
        EXPECT_EQ(str(line), "next") << n;
    }
}

TEST(ReadLine, ACarriageReturnEndingAPieceIsDropped) {
    // Lines are read in pieces of 79 bytes and a carriage return is dropped from the end of
    // each piece, so one at byte 79 goes too; files written with CR LF never hit this.
    std::string text(78, 'a');
    text += '\r';
    text += "bcd";
    std::istringstream in(text + "\n");
    String line;
    ASSERT_TRUE(read_line(in, line));
    EXPECT_EQ(line.length(), 81);
}

TEST(WriteString, WritesTheBytesOnly) {
    std::ostringstream out;
    write_string(out, String("a b"));
    write_string(out, String());
    EXPECT_EQ(out.str(), "a b");
}

}  // namespace
