// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Surface, Pen, Font and draw_text: what stays selected in the window's context,
// centring, and the unusable cases.
#include "graphics/drawing.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/text.h"

namespace {

using platform::rgb;
using platform::to_pixel;

// The horizontal extent of pixels of one colour, or {-1, -1}.
std::pair<int, int> ink_columns(const platform::Bitmap& b, platform::Pixel colour) {
    int lo = -1, hi = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) == colour) {
                if (lo < 0 || x < lo) lo = x;
                hi = std::max(hi, x);
            }
    return {lo, hi};
}

TEST(Surface, CopiesItsWholeBitmap) {
    platform::Window window;
    window.resize(20, 20);
    Surface s(window.dc(), 3, 2);
    ASSERT_TRUE(s.usable());
    platform::fill_rect(s.dc(), 0, 0, 3, 2, rgb(0, 0, 255));
    s.blit_to(window.dc(), 5, 6);
    EXPECT_EQ(window.framebuffer().at(5, 6), 0x0000FFu);
    EXPECT_EQ(window.framebuffer().at(7, 7), 0x0000FFu);
    EXPECT_EQ(window.framebuffer().at(8, 7), 0u);
    EXPECT_EQ(window.framebuffer().at(7, 8), 0u);
}

TEST(Surface, AnImpossibleSizeIsUnusableAndCopiesNothing) {
    platform::Window window;
    window.resize(4, 4);
    for (auto [w, h] : {std::pair{0, 5}, {5, -1}, {1 << 20, 1 << 20}}) {
        Surface s(window.dc(), w, h);
        EXPECT_FALSE(s.usable());
        s.blit_to(window.dc(), 0, 0);
    }
    EXPECT_EQ(window.framebuffer().at(0, 0), 0u);
}

TEST(Pen, ReleaseRestoresThePreviousPen) {
    platform::Window window;
    window.resize(10, 10);
    platform::DrawContext& dc = window.dc();
    {
        Pen outer(&dc, platform::PS_SOLID, 2, rgb(0, 255, 0));
        {
            Pen inner(&dc, platform::PS_SOLID, 8, rgb(128, 0, 255));
            EXPECT_EQ(dc.pen.width, 8);
        }
        EXPECT_EQ(dc.pen.width, 2);
        EXPECT_EQ(dc.pen.colour, rgb(0, 255, 0));
        outer.release();
        outer.release();  // a second release changes nothing
    }
    EXPECT_EQ(dc.pen.width, 1);
    EXPECT_EQ(dc.pen.colour, 0u);
    Pen none(nullptr, platform::PS_SOLID, 2, 0);  // a null context: nothing to select
}

TEST(Font, StaysSelectedForLaterDrawTextUntilReleased) {
    platform::Window window;
    window.resize(300, 60);
    const platform::FontHandle stock = window.dc().font;
    {
        Font big(&window.dc(), 20, 40, "Courier New");
        ASSERT_TRUE(big.ok());
        EXPECT_NE(window.dc().font, stock);
        draw_text(window, 0, 0, "WW", rgb(255, 255, 255), platform::TRANSPARENT);
        const auto [lo, hi] = ink_columns(window.framebuffer(), 0xFFFFFF);
        EXPECT_GT(hi - lo, 25) << "two 20-pixel characters";
    }
    EXPECT_EQ(window.dc().font, stock);
}

TEST(Font, DrawCenteredUsesTheCharacterWidth) {
    platform::Window window;
    window.resize(640, 40);
    Font font(&window.dc(), 8, 16, "Courier New");
    ASSERT_TRUE(font.ok());
    font.draw_centered(10, "MMMMMMMMMM", rgb(255, 0, 0), platform::TRANSPARENT);
    const auto [lo, hi] = ink_columns(window.framebuffer(), 0xFF0000);
    EXPECT_GE(lo, 280);  // (640 - 10 * 8) / 2
    EXPECT_LE(lo, 282);
    EXPECT_LT(hi, 360);
    EXPECT_GT(hi, 354);
}

TEST(Font, ATextWiderThanTheWindowIsClippedOnBothSides) {
    platform::Window window;
    window.resize(50, 30);
    Font font(&window.dc(), 10, 20, "Courier New");
    font.draw_centered(0, "MMMMMMMMMMMMMMMMMMMM", rgb(0, 255, 0), platform::TRANSPARENT);
    const auto [lo, hi] = ink_columns(window.framebuffer(), 0x00FF00);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 49);
}

TEST(Font, OpaqueModeFillsTheCellAndTransparentKeepsTheBackground) {
    for (int mode : {platform::OPAQUE, platform::TRANSPARENT}) {
        platform::Window window;
        window.resize(100, 40);
        platform::fill_rect(window.dc(), 0, 0, 100, 40, rgb(0, 0, 80));
        window.dc().background_colour = rgb(200, 200, 0);
        Font font(&window.dc(), 10, 20, "Courier New");
        draw_text(window, 10, 5, String("Ёж"_cp1251), rgb(255, 255, 255), mode);
        const platform::Pixel corner = window.framebuffer().at(10, 5);
        EXPECT_EQ(corner, mode == platform::OPAQUE ? to_pixel(rgb(200, 200, 0)) : 0x000050u)
            << mode;
        EXPECT_EQ(window.framebuffer().at(50, 30), 0x000050u);  // outside the text's cell
    }
}

}  // namespace
