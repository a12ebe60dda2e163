// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts and text output: face matching, the cell-size model, fixed-pitch advances,
// where ink lands, background modes, colours, Windows-1251 bytes and clipping.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "platform/cp1251.h"

namespace platform {
namespace {

constexpr Pixel kFill = 0x00FF00;  // a colour text drawing never produces in these tests

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_font_cache(); }

    static FontHandle mono(int height, int width = 0) {
        FontHandle font = create_font({"Courier New", height, width, 400, false});
        EXPECT_NE(font, nullptr) << "Courier New " << height << "x" << width;
        return font;
    }

    // Draws text into a fresh bitmap filled with kFill and returns the bitmap.
    static Bitmap draw(const FontHandle& font, int w, int h, int x, int y, std::string_view text,
                       Colour colour = rgb(0, 0, 0), int mode = TRANSPARENT) {
        Bitmap bitmap(w, h, kFill);
        DrawContext dc(&bitmap);
        dc.font = font;
        dc.text_colour = colour;
        dc.background_mode = mode;
        text_out(dc, x, y, text);
        return bitmap;
    }

    // The bounding box of the pixels that differ from kFill; empty when none do.
    struct Box {
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
        bool empty() const { return left > right; }
    };
    static Box ink_box(const Bitmap& bitmap) {
        Box box;
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x) {
                if (bitmap.at(x, y) == kFill) continue;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
        return box;
    }
    static int ink_in_columns(const Bitmap& bitmap, int from, int to) {
        int count = 0;
        for (int y = 0; y < bitmap.height; ++y)
            for (int x = from; x < to; ++x)
                count += bitmap.at(x, y) != kFill;
        return count;
    }
};

TEST_F(TextTest, MatchesTheLiberationStandIns) {
    const struct {
        const char* face;
        int weight;
        bool italic;
        const char* family;
    } cases[] = {
        {"Courier New", 400, false, "Liberation Mono"},
        {"Courier New", 1000, true, "Liberation Mono"},
        {"Times New Roman", 1000, true, "Liberation Serif"},
        {"Times New Roman", 400, false, "Liberation Serif"},
        {"Arial", 400, false, "Liberation Sans"},
    };
    for (const auto& c : cases) {
        FontHandle font = create_font({c.face, 20, 0, c.weight, c.italic});
        ASSERT_NE(font, nullptr) << c.face;
        EXPECT_EQ(font_metrics(*font).family, c.family) << c.face << " weight " << c.weight;
    }
}

TEST_F(TextTest, BoldDrawsHeavierStrokesThanRegular) {
    FontHandle regular = create_font({"Courier New", 30, 15, 400, false});
    FontHandle bold = create_font({"Courier New", 30, 15, 1000, false});
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(bold, nullptr);
    auto darkness = [](const Bitmap& b) {
        long sum = 0;
        for (Pixel p : b.pixels) {
            if (p != kFill) sum += 255 - static_cast<long>(p & 0xFF);
        }
        return sum;
    };
    const Bitmap r = draw(regular, 100, 40, 0, 0, "IIII", rgb(0, 0, 0), OPAQUE);
    const Bitmap b = draw(bold, 100, 40, 0, 0, "IIII", rgb(0, 0, 0), OPAQUE);
    EXPECT_GT(darkness(b), darkness(r) * 5 / 4);
}

// Cell heights of Liberation Mono: ppem from the OS/2 win values, ascent, descent and the
// average width rounded at that ppem. At 21 the rounded ppem 19 would make a 22-pixel cell, so
// the font steps down to ppem 18, the size of the 20-pixel cell.
TEST_F(TextTest, LiberationMonoFollowsTheCellHeightModel) {
    const struct {
        int height, ascent, descent, average;
    } rows[] = {
        {10, 7, 3, 5},   {12, 9, 3, 7},   {14, 10, 4, 7},   {16, 12, 4, 8},
        {18, 13, 5, 10}, {20, 15, 5, 11}, {21, 15, 5, 11},  {24, 17, 6, 13},
        {28, 21, 8, 15}, {32, 23, 8, 17}, {36, 27, 10, 19},
    };
    for (const auto& row : rows) {
        FontHandle font = mono(row.height);
        ASSERT_NE(font, nullptr);
        const FontMetrics m = font_metrics(*font);
        EXPECT_EQ(m.ascent, row.ascent) << "H=" << row.height;
        EXPECT_EQ(m.descent, row.descent) << "H=" << row.height;
        EXPECT_EQ(m.average_width, row.average) << "H=" << row.height;
        EXPECT_EQ(text_advance(*font, "abc"), 3 * row.average) << "H=" << row.height;
    }
}

TEST_F(TextTest, ZeroHeightGivesTheDefaultCell) {
    FontHandle zero = mono(0);
    FontHandle sixteen = mono(16);
    ASSERT_NE(zero, nullptr);
    ASSERT_NE(sixteen, nullptr);
    EXPECT_EQ(font_metrics(*zero).ascent, font_metrics(*sixteen).ascent);
    EXPECT_EQ(font_metrics(*zero).descent, font_metrics(*sixteen).descent);
}

TEST_F(TextTest, FixedPitchAdvancesExactlyTheRequestedWidth) {
    const std::pair<int, int> sizes[] = {{20, 10}, {16, 8},  {24, 12}, {30, 14},
                                         {36, 20}, {16, 12}, {22, 5},  {10, 30}};
    for (const auto& [h, w] : sizes) {
        FontHandle font = mono(h, w);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font_metrics(*font).average_width, w) << h << "x" << w;
        EXPECT_EQ(text_advance(*font, "Wi.m"), 4 * w) << h << "x" << w;
        EXPECT_EQ(text_advance(*font, "Счет: 300"_cp1251), 9 * w) << h << "x" << w;
    }
}

TEST_F(TextTest, InkStaysInsideTheCellBoxOfEachCharacter) {
    const std::pair<int, int> sizes[] = {{20, 10}, {16, 8}, {24, 12}, {36, 20}, {16, 12}};
    const std::string text = "HWMgj";
    for (const auto& [h, w] : sizes) {
        FontHandle font = mono(h, w);
        ASSERT_NE(font, nullptr);
        const FontMetrics m = font_metrics(*font);
        const int x = 7, y = 5;
        const Bitmap b = draw(font, 200, 80, x, y, text);
        const Box box = ink_box(b);
        ASSERT_FALSE(box.empty()) << h << "x" << w;
        EXPECT_GE(box.left, x) << h << "x" << w;
        EXPECT_LT(box.right, x + static_cast<int>(text.size()) * w) << h << "x" << w;
        EXPECT_GE(box.top, y) << h << "x" << w;
        EXPECT_LT(box.bottom, y + m.ascent + m.descent) << h << "x" << w;
        EXPECT_LE(m.ascent + m.descent, h + 1) << h << "x" << w;
        // Every character puts its ink in its own W-wide column.
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            EXPECT_GT(ink_in_columns(b, x + i * w, x + (i + 1) * w), 0)
                << h << "x" << w << " character " << i;
        }
    }
}

TEST_F(TextTest, CapitalsSitOnTheBaselineAndDescendersGoBelowIt) {
    FontHandle font = mono(20, 10);
    ASSERT_NE(font, nullptr);
    const int ascent = font_metrics(*font).ascent;
    const Box capital = ink_box(draw(font, 40, 40, 3, 4, "H"));
    EXPECT_EQ(capital.bottom, 4 + ascent - 1);
    const Box descender = ink_box(draw(font, 40, 40, 3, 4, "p"));
    EXPECT_GT(descender.bottom, 4 + ascent);
}

TEST_F(TextTest, TransparentModeChangesOnlyCoveredPixels) {
    FontHandle font = mono(20, 10);
    ASSERT_NE(font, nullptr);
    // With a colour equal to the fill, blending changes nothing at all.
    const Bitmap same = draw(font, 60, 30, 2, 2, "Ab", to_colour(kFill));
    EXPECT_TRUE(ink_box(same).empty());
    // A space covers nothing.
    EXPECT_TRUE(ink_box(draw(font, 60, 30, 2, 2, "   ")).empty());
}

TEST_F(TextTest, OpaqueModeFillsTheCellBoxWithTheBackground) {
    FontHandle font = mono(20, 10);
    ASSERT_NE(font, nullptr);
    const FontMetrics m = font_metrics(*font);
    const int x = 4, y = 3, n = 3;
    Bitmap b(60, 40, kFill);
    DrawContext dc(&b);
    dc.font = font;
    dc.text_colour = rgb(0, 0, 0);
    dc.background_colour = rgb(255, 255, 255);
    dc.background_mode = OPAQUE;
    const auto changes = b.changes;
    text_out(dc, x, y, " x ");
    EXPECT_GT(b.changes, changes);
    const Box box = ink_box(b);
    EXPECT_EQ(box.left, x);
    EXPECT_EQ(box.top, y);
    EXPECT_EQ(box.right, x + n * 10 - 1);
    EXPECT_EQ(box.bottom, y + m.ascent + m.descent - 1);
    for (int py = box.top; py <= box.bottom; ++py) {
        for (int px = box.left; px <= box.right; ++px) {
            const Pixel p = b.at(px, py);
            // Black blended over white: a grey, never the old fill.
            ASSERT_EQ(p & 0xFF, (p >> 8) & 0xFF) << px << "," << py;
            ASSERT_EQ(p & 0xFF, (p >> 16) & 0xFF) << px << "," << py;
        }
    }
    EXPECT_EQ(b.at(x, y), 0xFFFFFFu);            // the leading space is pure background
    EXPECT_EQ(b.at(x + 25, y + 10), 0xFFFFFFu);  // and so is the trailing one
}

TEST_F(TextTest, TextColourBlendsByCoverageWithRedAndBlueSwapped) {
    FontHandle font = mono(40, 24);
    ASSERT_NE(font, nullptr);
    auto draw_over = [&](Pixel background) {
        Bitmap b(100, 60, background);
        DrawContext dc(&b);
        dc.font = font;
        dc.text_colour = rgb(255, 0, 0);
        dc.background_mode = TRANSPARENT;
        text_out(dc, 2, 2, "IHO");
        return b;
    };
    const Bitmap on_black = draw_over(0x000000);
    const Bitmap on_white = draw_over(0xFFFFFF);
    int full = 0, light_edge = 0, dark_edge = 0;
    for (std::size_t i = 0; i < on_black.pixels.size(); ++i) {
        const Pixel p = on_black.pixels[i];
        ASSERT_EQ(p & 0x00FFFF, 0u) << std::hex << p;  // only red ever blends in
        // Over white the same coverage takes as much green and blue away as it adds red over
        // black.
        const Pixel q = on_white.pixels[i];
        ASSERT_EQ(q >> 16, 0xFFu) << std::hex << q;
        ASSERT_EQ((q >> 8) & 0xFF, q & 0xFF) << std::hex << q;
        ASSERT_EQ((p >> 16) + (q & 0xFF), 255u) << std::hex << p << " " << q;
        const Pixel red = p >> 16;
        full += red == 255;
        light_edge += red > 0 && red < 128;
        dark_edge += red >= 128 && red < 255;
    }
    EXPECT_GT(full, 20);
    // Antialiased edges: partial coverage on both sides of one half.
    EXPECT_GT(light_edge, 0);
    EXPECT_GT(dark_edge, 0);
}

TEST_F(TextTest, CyrillicBytesDrawTheirOwnLetters) {
    FontHandle font = mono(24, 12);
    ASSERT_NE(font, nullptr);
    const char* score = "Счет: 300"_cp1251;
    const Bitmap b = draw(font, 140, 30, 0, 0, score);
    for (int i : {0, 1, 2, 3, 6, 7, 8}) {
        EXPECT_GT(ink_in_columns(b, i * 12, (i + 1) * 12), 0) << "character " << i;
    }
    // Cyrillic А, В, Е share their shapes with the Latin capitals; read as Latin-1 the same
    // bytes would be accented letters.
    const Bitmap cyrillic = draw(font, 60, 30, 0, 0, "АВЕ"_cp1251);
    const Bitmap latin = draw(font, 60, 30, 0, 0, "ABE");
    EXPECT_EQ(cyrillic.pixels, latin.pixels);
    // Ё and № have glyphs too.
    EXPECT_GT(ink_in_columns(draw(font, 40, 30, 0, 0, "Ё№"_cp1251), 0, 24), 0);
}

TEST_F(TextTest, BytesWithoutAGlyphAdvanceAndDrawNothing) {
    FontHandle font = mono(20, 10);
    ASSERT_NE(font, nullptr);
    // 0x98 is no character; control bytes have no glyph in the face.
    for (const char* gap : {"\x98", "\x01", "\x1f"}) {
        const std::string text = std::string(gap) + "A";
        EXPECT_EQ(text_advance(*font, text), 20);
        const Bitmap shifted = draw(font, 60, 30, 3, 2, text);
        const Bitmap plain = draw(font, 60, 30, 13, 2, "A");
        EXPECT_EQ(shifted.pixels, plain.pixels) << "byte " << int(static_cast<unsigned char>(*gap));
    }
    FontHandle sans = create_font({"Arial", 20, 0, 400, false});
    ASSERT_NE(sans, nullptr);
    std::string every_byte;
    for (int c = 1; c < 256; ++c)
        every_byte += static_cast<char>(c);
    draw(sans, 300, 30, -500, 0, every_byte);  // must not crash
    EXPECT_GT(text_advance(*sans, every_byte), 0);
}

TEST_F(TextTest, ProportionalFacesAdvanceByEachGlyph) {
    FontHandle font = create_font({"Arial", 20, 0, 400, false});
    ASSERT_NE(font, nullptr);
    EXPECT_LT(text_advance(*font, "iiii"), text_advance(*font, "WWWW"));
    EXPECT_EQ(text_advance(*font, "iW"), text_advance(*font, "i") + text_advance(*font, "W"));
    // The opaque box is exactly the advance wide.
    Bitmap b(100, 30, kFill);
    DrawContext dc(&b);
    dc.font = font;
    dc.background_mode = OPAQUE;
    text_out(dc, 0, 0, "Wi");
    const Box box = ink_box(b);
    EXPECT_EQ(box.right + 1, text_advance(*font, "Wi"));
}

// A text drawn partly outside a small bitmap must equal the same part of a text drawn
// wholly inside a large one.
TEST_F(TextTest, ClipsAtEveryEdge) {
    FontHandle font = mono(20, 10);
    ASSERT_NE(font, nullptr);
    const std::string text = "Hello Ж";
    const int big_x = 40, big_y = 40;
    const Bitmap big = draw(font, 160, 100, big_x, big_y, text);
    const std::pair<int, int> origins[] = {{-7, -5}, {-60, 3}, {10, 12}, {-3, -14}};
    for (const auto& [x, y] : origins) {
        const Bitmap small = draw(font, 20, 16, x, y, text);
        for (int py = 0; py < small.height; ++py) {
            for (int px = 0; px < small.width; ++px) {
                ASSERT_EQ(small.at(px, py), big.at(big_x - x + px, big_y - y + py))
                    << "origin " << x << "," << y << " pixel " << px << "," << py;
            }
        }
    }
    // Far outside, at the ends of the coordinate range, and into an empty bitmap.
    for (const auto& [x, y] : {std::pair{INT_MIN, INT_MIN}, std::pair{INT_MAX, INT_MAX},
                               std::pair{INT_MIN, 0}, std::pair{0, INT_MAX}}) {
        EXPECT_TRUE(ink_box(draw(font, 20, 16, x, y, text, 0, OPAQUE)).empty());
    }
    Bitmap empty;
    DrawContext dc(&empty);
    dc.font = font;
    dc.background_mode = OPAQUE;
    text_out(dc, 0, 0, text);
}

TEST_F(TextTest, AbsurdRequestsStillMakeABoundedFont) {
    const FontRequest requests[] = {
        {"Courier New", INT_MAX, INT_MAX, 400, false},
        {"Courier New", INT_MIN, INT_MIN, 400, false},
        {"Courier New", 1, 1, 400, false},
        {"Courier New", 1, 512, 400, false},
        {"Courier New", 4000, 1, 400, false},
        {"Courier New", -20, -10, -5, false},
        {"Arial", 20, 10, 5000, true},
        {"", 20, 10, 400, false},
        {"No Such Face At All", 20, 10, 400, false},
        {"Шрифт"_cp1251, 20, 10, 400, false},
    };
    for (const auto& request : requests) {
        SCOPED_TRACE(request.face + " " + std::to_string(request.height) + "x" +
                     std::to_string(request.width));
        FontHandle font = create_font(request);
        ASSERT_NE(font, nullptr);  // fontconfig always offers some face
        const FontMetrics m = font_metrics(*font);
        EXPECT_GT(m.ascent + m.descent, 0);
        EXPECT_LE(m.ascent + m.descent, 1024);
        EXPECT_GT(m.average_width, 0);
        EXPECT_LE(m.average_width, 512);
        draw(font, 64, 64, -3, -3, std::string("Wж"_cp1251) + "\x98", 0, OPAQUE);
    }
    // A negative height is the em height: -20 makes a larger cell than 20.
    FontHandle em = mono(-20);
    FontHandle cell = mono(20);
    ASSERT_NE(em, nullptr);
    ASSERT_NE(cell, nullptr);
    EXPECT_GT(font_metrics(*em).ascent + font_metrics(*em).descent,
              font_metrics(*cell).ascent + font_metrics(*cell).descent);
}

TEST_F(TextTest, NewContextsStartWithTheStockFont) {
    FontHandle stock = stock_font();
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(font_metrics(*stock).family, "Liberation Sans");
    Bitmap b(80, 30, kFill);
    DrawContext dc(&b);
    EXPECT_EQ(dc.font, stock);
    text_out(dc, 0, 0, "Ok");
    EXPECT_FALSE(ink_box(b).empty());
    // After a reset the stock font is made afresh and still draws.
    reset_font_cache();
    FontHandle again = stock_font();
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(ink_box(draw(again, 80, 30, 0, 0, "Ok")).empty());
    // The old handle stays usable after the reset.
    EXPECT_FALSE(ink_box(draw(stock, 80, 30, 0, 0, "Ok")).empty());
}

TEST_F(TextTest, TheSameRequestSharesOneFont) {
    // The game makes its fonts anew in every drawing step; they must not start cold each time.
    EXPECT_EQ(mono(20, 10), mono(20, 10));
    EXPECT_NE(mono(20, 10), mono(20, 11));
}

TEST_F(TextTest, AContextWithoutATargetOrFontDrawsNothing) {
    DrawContext no_target(nullptr);
    no_target.font = mono(20, 10);
    text_out(no_target, 0, 0, "abc");
    Bitmap b(20, 20, kFill);
    DrawContext no_font(&b);
    no_font.font = nullptr;
    text_out(no_font, 0, 0, "abc");
    EXPECT_TRUE(ink_box(b).empty());
}

}  // namespace
}  // namespace platform
