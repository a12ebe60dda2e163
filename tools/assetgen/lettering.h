// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Text on the generated pictures: the game's own font service renders the glyphs
// (Windows-1251 text through fontconfig and FreeType) into a coverage mask, which
// is then painted, outlined or shadowed onto an image.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "art.h"

namespace assetgen {

struct TextStyle {
    std::string face = "Liberation Sans";
    int height = 16;  // cell height in pixels
    int weight = 400;
    bool italic = false;
};

// How much of each pixel a text covers, 0..1.
class Coverage {
  public:
    Coverage(int w, int h)
        : width_(w), height_(h), values_(static_cast<std::size_t>(w * h), 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }
    float at(int x, int y) const {
        return x < 0 || y < 0 || x >= width_ || y >= height_ ? 0.0f : values_[index(x, y)];
    }
    float& at(int x, int y) { return values_[index(x, y)]; }

  private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
    int width_;
    int height_;
    std::vector<float> values_;
};

// Width in pixels of a UTF-8 text in the style.
int text_width(const TextStyle& style, std::string_view utf8);

// The coverage of a UTF-8 text whose cell's top left is at (x, y).
Coverage text_coverage(int w, int h, int x, int y, const TextStyle& style, std::string_view utf8);
// The coverage grown by radius pixels in every direction (a round pen around the glyphs).
Coverage dilate(const Coverage& coverage, float radius);
// Paints through a coverage, moved by (dx, dy).
void paint_through(Image& image, const Coverage& coverage, Rgb colour, float alpha = 1, int dx = 0,
                   int dy = 0);

// Plain text with its top left at (x, y); centred on x when centred.
void draw_text(Image& image, int x, int y, const TextStyle& style, std::string_view utf8,
               Rgb colour, bool centred = false);
// Text with a soft dark shadow under it, for reading on pictures.
void draw_shadowed(Image& image, int x, int y, const TextStyle& style, std::string_view utf8,
                   Rgb colour, bool centred = false);

// Splits a paragraph into lines no wider than width.
std::vector<std::string> wrap(const TextStyle& style, std::string_view utf8, int width);

}  // namespace assetgen
