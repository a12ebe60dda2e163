// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The raster: block copies with each raster operation, clipping, fills and pen lines.
#include "platform/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/text.h"

namespace platform {
namespace {

constexpr Pixel kRed = 0xFF0000, kGreen = 0x00FF00, kWhite = 0xFFFFFF, kBlack = 0;

TEST(Colour, SwapsRedAndBlueForPixels) {
    EXPECT_EQ(to_pixel(rgb(0x12, 0x34, 0x56)), 0x123456u);
    EXPECT_EQ(rgb(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(to_colour(0x123456), rgb(0x12, 0x34, 0x56));
}

TEST(Blit, EachRasterOperationPerPixel) {
    const struct {
        std::uint32_t rop;
        Pixel expected;
    } cases[] = {{SRCCOPY, 0x0FFF00}, {SRCPAINT, 0xFFFFFF}, {SRCAND, 0x00F000}};
    for (const auto& c : cases) {
        Bitmap dst(2, 2, 0xF0F0FF);
        Bitmap src(2, 2, 0x0FFF00);
        DrawContext dc(&dst);
        blit(dc, 0, 0, 2, 2, src, 0, 0, c.rop);
        EXPECT_EQ(dst.at(1, 1), c.expected) << std::hex << c.rop;
    }
}

TEST(Blit, MaskOrThenFaceAndPutsTheFaceOverThePlate) {
    // A 3-pixel tile: the face covers the middle pixel only.
    const Pixel plate = 0x808080, face_colour = 0x2040C0;
    Bitmap scratch(3, 1, plate);
    Bitmap mask(3, 1, kBlack);
    mask.at(1, 0) = kWhite;
    Bitmap face(3, 1, kWhite);
    face.at(1, 0) = face_colour;
    DrawContext dc(&scratch);
    blit(dc, 0, 0, 3, 1, mask, 0, 0, SRCPAINT);
    blit(dc, 0, 0, 3, 1, face, 0, 0, SRCAND);
    EXPECT_EQ(scratch.at(0, 0), plate);
    EXPECT_EQ(scratch.at(1, 0), face_colour);
    EXPECT_EQ(scratch.at(2, 0), plate);
}

TEST(Blit, ClipsToBothBitmaps) {
    Bitmap src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.at(x, y) = static_cast<Pixel>(y * 4 + x + 1);
    Bitmap dst(3, 3, 0xABCDEF);
    DrawContext dc(&dst);
    // Destination origin off the top left: pixel (1,1) of the source lands on (0,0).
    blit(dc, -1, -1, 4, 4, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.at(0, 0), 6u);
    EXPECT_EQ(dst.at(2, 2), 16u);
    // Source origin outside its bitmap: only the overlapping part is copied.
    Bitmap dst2(3, 3, 0xABCDEF);
    DrawContext dc2(&dst2);
    blit(dc2, 0, 0, 3, 3, src, 2, -1, SRCCOPY);
    EXPECT_EQ(dst2.at(0, 0), 0xABCDEFu);
    EXPECT_EQ(dst2.at(0, 1), 3u);
    EXPECT_EQ(dst2.at(1, 2), 8u);
    EXPECT_EQ(dst2.at(2, 1), 0xABCDEFu);
    // Entirely outside: nothing happens.
    blit(dc2, 10, 10, 3, 3, src, 0, 0, SRCCOPY);
    blit(dc2, 0, 0, -3, 3, src, 0, 0, SRCCOPY);
}

TEST(Blit, ACopyOutOfTheSameBitmapReadsTheOldPixels) {
    Bitmap b(4, 1);
    for (int x = 0; x < 4; ++x)
        b.at(x, 0) = static_cast<Pixel>(x + 1);
    DrawContext dc(&b);
    blit(dc, 1, 0, 3, 1, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(b.pixels, (std::vector<Pixel>{1, 1, 2, 3}));
}

TEST(FillRect, LeavesOutTheRightAndBottomEdges) {
    Bitmap b(4, 4);
    DrawContext dc(&b);
    fill_rect(dc, 1, 1, 3, 3, rgb(255, 0, 0));
    EXPECT_EQ(b.at(1, 1), kRed);
    EXPECT_EQ(b.at(2, 2), kRed);
    EXPECT_EQ(b.at(3, 2), kBlack);
    EXPECT_EQ(b.at(2, 3), kBlack);
    fill_rect(dc, -5, -5, 100, 100, rgb(0, 255, 0));  // clipped
    EXPECT_EQ(b.at(3, 3), kGreen);
}

std::set<std::pair<int, int>> painted(const Bitmap& b, Pixel colour) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) == colour) out.insert({x, y});
    return out;
}

TEST(Pen, OnePixelLinesLeaveOutTheirLastPixel) {
    Bitmap b(10, 10);
    DrawContext dc(&b);
    dc.pen = {PS_SOLID, 1, rgb(255, 0, 0)};
    move_to(dc, 2, 3);
    line_to(dc, 6, 3);
    EXPECT_EQ(painted(b, kRed), (std::set<std::pair<int, int>>{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
    EXPECT_EQ(dc.position_x, 6);
}

TEST(Pen, WidthTwoOutlineCoversItsCornersAndNothingBeyond) {
    // The selection outline of a 36 x 48 cell at (0, 0).
    Bitmap b(40, 52);
    DrawContext dc(&b);
    dc.pen = {PS_SOLID, 2, rgb(0, 255, 0)};
    move_to(dc, 1, 1);
    line_to(dc, 35, 1);
    line_to(dc, 35, 47);
    line_to(dc, 1, 47);
    line_to(dc, 1, 1);
    const auto px = painted(b, kGreen);
    // On the line: the corners and the middle of every side, in the band [v-1, v].
    for (auto p : {std::pair{1, 1},
                   {0, 0},
                   {35, 1},
                   {34, 0},
                   {35, 47},
                   {1, 47},
                   {18, 0},
                   {18, 1},
                   {34, 24},
                   {35, 24},
                   {0, 24},
                   {1, 24},
                   {18, 46},
                   {18, 47}})
        EXPECT_TRUE(px.count(p)) << p.first << "," << p.second;
    // Beyond the width: untouched.
    for (auto p : {std::pair{18, 2}, {2, 24}, {36, 24}, {33, 24}, {18, 48}, {18, 45}, {36, 48}})
        EXPECT_FALSE(px.count(p)) << p.first << "," << p.second;
}

TEST(Pen, WidthEightPathHasRoundCornersAndAFixedBand) {
    // The removal path through two cell centres with a turn: (18, 24) -> (54, 24) -> (54, 72).
    Bitmap b(80, 90);
    DrawContext dc(&b);
    dc.pen = {PS_SOLID, 8, rgb(128, 0, 255)};
    move_to(dc, 18, 24);
    line_to(dc, 54, 24);
    line_to(dc, 54, 72);
    const Pixel violet = to_pixel(rgb(128, 0, 255));
    const auto px = painted(b, violet);
    // The horizontal band covers rows 20..27 between the ends.
    for (int y = 20; y < 28; ++y)
        EXPECT_TRUE(px.count({36, y})) << y;
    EXPECT_FALSE(px.count({36, 19}));
    EXPECT_FALSE(px.count({36, 28}));
    // The vertical band covers columns 50..57.
    for (int x = 50; x < 58; ++x)
        EXPECT_TRUE(px.count({x, 50})) << x;
    EXPECT_FALSE(px.count({49, 50}));
    EXPECT_FALSE(px.count({58, 50}));
    // The outer corner of the turn is closed by the round cap.
    EXPECT_TRUE(px.count({57, 22}));
    EXPECT_TRUE(px.count({55, 20}));
    EXPECT_FALSE(px.count({57, 20}));
    // Round ends: the cap's corner pixels stay empty.
    EXPECT_FALSE(px.count({14, 20}));
    EXPECT_TRUE(px.count({16, 20}));
    EXPECT_TRUE(px.count({14, 22}));
    EXPECT_FALSE(px.count({50, 75}));
    EXPECT_TRUE(px.count({52, 75}));
    // Nothing beyond the ends.
    EXPECT_FALSE(px.count({13, 24}));
    EXPECT_FALSE(px.count({54, 76}));
}

TEST(Pen, NullPenAndSlantedLinesAreSafe) {
    Bitmap b(8, 8);
    DrawContext dc(&b);
    dc.pen = {PS_NULL, 8, rgb(255, 0, 0)};
    move_to(dc, 0, 0);
    line_to(dc, 7, 7);
    EXPECT_TRUE(painted(b, kRed).empty());
    dc.pen = {PS_SOLID, 8, rgb(255, 0, 0)};
    move_to(dc, -100, -50);
    line_to(dc, 100, 60);  // far outside on both ends: clipped
    EXPECT_FALSE(painted(b, kRed).empty());
    DrawContext none(nullptr);
    line_to(none, 3, 3);
    fill_rect(none, 0, 0, 3, 3, 0);
}

// A bitmap that keeps track of touched tiles must mark every tile in which a drawing
// step changed a pixel (the window shell sends only those), and not every tile.
TEST(TouchedTiles, EveryChangedPixelLiesInATouchedTile) {
    const Bitmap source(40, 40, kRed);
    FontHandle font = create_font({"Courier New", 30, 15, 1000, true});
    ASSERT_NE(font, nullptr);
    struct Step {
        const char* what;
        void (*draw)(DrawContext& dc, const Bitmap& source, const FontHandle& font);
    };
    const Step steps[] = {
        {"block copy reaching past the edge",
         [](DrawContext& dc, const Bitmap& s, const FontHandle&) {
             blit(dc, 90, 60, 40, 40, s, 0, 0, SRCCOPY);
         }},
        {"fill", [](DrawContext& dc, const Bitmap&,
                    const FontHandle&) { fill_rect(dc, 33, 1, 35, 3, rgb(0, 255, 0)); }},
        {"wide slanted pen",
         [](DrawContext& dc, const Bitmap&, const FontHandle&) {
             dc.pen = {PS_SOLID, 8, rgb(255, 255, 255)};
             move_to(dc, 34, 34);  // its cap reaches into the tiles up and left
             line_to(dc, 64, 58);
         }},
        {"one-pixel pen upwards",
         [](DrawContext& dc, const Bitmap&, const FontHandle&) {
             dc.pen = {PS_SOLID, 1, rgb(255, 255, 255)};
             move_to(dc, 70, 70);
             line_to(dc, 64, 2);
         }},
        {"bold italic text",
         [](DrawContext& dc, const Bitmap&, const FontHandle& f) {
             dc.font = f;
             dc.text_colour = rgb(255, 255, 0);
             dc.background_mode = TRANSPARENT;
             text_out(dc, 40, 40,
                      "\xC6"
                      "f");  // Жf
         }},
    };
    for (const Step& step : steps) {
        Bitmap bitmap(100, 80, kBlack);
        track_touches(bitmap);
        std::fill(bitmap.touched.begin(), bitmap.touched.end(), 0);
        const Bitmap before = bitmap;
        DrawContext dc(&bitmap);
        step.draw(dc, source, font);
        int changed = 0;
        for (int y = 0; y < bitmap.height; ++y)
            for (int x = 0; x < bitmap.width; ++x) {
                if (bitmap.at(x, y) == before.at(x, y)) continue;
                ++changed;
                const std::size_t tile =
                    static_cast<std::size_t>(y / touch_tile * touch_columns(100) + x / touch_tile);
                EXPECT_EQ(bitmap.touched[tile], 1)
                    << step.what << ": pixel " << x << "," << y << " changed in an unmarked tile";
            }
        EXPECT_GT(changed, 0) << step.what;
        EXPECT_NE(std::count(bitmap.touched.begin(), bitmap.touched.end(), 1),
                  static_cast<std::ptrdiff_t>(bitmap.touched.size()))
            << step.what << ": marks every tile";
    }
}

}  // namespace
}  // namespace platform
