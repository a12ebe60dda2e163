// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The 36 vorps must be told apart at a glance, also by a player who cannot tell
// red from green: every pair differs clearly in silhouette (the masks) and in colour.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "game_folder.h"
#include "graphics/picture.h"

namespace {

constexpr int cell_w = 36, cell_h = 48, kinds = 36;

struct Lab {
    double l = 0, a = 0, b = 0;
};

// sRGB (0..1) to CIELAB under D65, where distances follow what the eye sees.
Lab to_lab(double r, double g, double b) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    r = linear(r);
    g = linear(g);
    b = linear(b);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

class FacesTest : public GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        Picture atlas("res\\pic");
        ASSERT_EQ(atlas.width(), 12 * cell_w);
        ASSERT_EQ(atlas.height(), 6 * cell_h);
        for (int k = 0; k < kinds; ++k) {
            double r = 0, g = 0, b = 0;
            int n = 0;
            for (int y = 0; y < cell_h; ++y) {
                for (int x = 0; x < cell_w; ++x) {
                    const platform::Pixel m =
                        atlas.bitmap()->at((6 + k / 6) * cell_w + x, (k % 6) * cell_h + y);
                    const bool shown = m == 0xFFFFFF;
                    silhouettes_[k][static_cast<std::size_t>(y * cell_w + x)] = shown;
                    if (!shown) continue;
                    const platform::Pixel p =
                        atlas.bitmap()->at((k / 6) * cell_w + x, (k % 6) * cell_h + y);
                    r += ((p >> 16) & 0xFF) / 255.0;
                    g += ((p >> 8) & 0xFF) / 255.0;
                    b += (p & 0xFF) / 255.0;
                    ++n;
                }
            }
            ASSERT_GT(n, 0) << "kind " << k << " is empty";
            colours_[k] = to_lab(r / n, g / n, b / n);
        }
    }
    std::array<std::array<bool, cell_w * cell_h>, kinds> silhouettes_{};
    std::array<Lab, kinds> colours_{};
};

TEST_F(FacesTest, SilhouettesDifferPairwise) {
    // Pixels in one silhouette but not in the other, against all pixels of either:
    // 0 for the same shape, 1 for shapes that do not overlap at all. The same shape one
    // pixel larger all round, or moved by two pixels, stays well under the bound (about 0.15).
    constexpr double least = 0.22;
    for (int a = 0; a < kinds; ++a) {
        for (int b = a + 1; b < kinds; ++b) {
            int either = 0, one_only = 0;
            for (std::size_t i = 0; i < silhouettes_[a].size(); ++i) {
                either += silhouettes_[a][i] || silhouettes_[b][i];
                one_only += silhouettes_[a][i] != silhouettes_[b][i];
            }
            EXPECT_GE(static_cast<double>(one_only) / either, least)
                << "kinds " << a << " and " << b << " look alike";
        }
    }
}

TEST_F(FacesTest, ColoursDifferPairwise) {
    // CIELAB distance of the mean colours; 10 is a difference anyone sees side by side.
    constexpr double least = 10;
    for (int a = 0; a < kinds; ++a) {
        for (int b = a + 1; b < kinds; ++b) {
            const double d =
                std::hypot(colours_[a].l - colours_[b].l, colours_[a].a - colours_[b].a,
                           colours_[a].b - colours_[b].b);
            EXPECT_GE(d, least) << "kinds " << a << " and " << b << " have nearly the same colour";
        }
    }
}

}  // namespace
