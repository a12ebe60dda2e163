// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Text through the game's font service, painted onto generated pictures.
#include "lettering.h"

#include <algorithm>
#include <cmath>

#include "platform/cp1251.h"
#include "platform/raster.h"
#include "platform/text.h"

namespace assetgen {

namespace {

platform::FontHandle font_of(const TextStyle& style) {
    platform::FontRequest request;
    request.face = style.face;
    request.height = style.height;
    request.weight = style.weight;
    request.italic = style.italic;
    return platform::create_font(request);
}

}  // namespace

int text_width(const TextStyle& style, std::string_view utf8) {
    const platform::FontHandle font = font_of(style);
    return font ? platform::text_advance(*font, platform::utf8_to_cp1251(utf8)) : 0;
}

Coverage text_coverage(int w, int h, int x, int y, const TextStyle& style, std::string_view utf8) {
    Coverage coverage(w, h);
    const platform::FontHandle font = font_of(style);
    if (!font) return coverage;
    platform::Bitmap mask(w, h, 0);
    platform::DrawContext context(&mask);
    context.font = font;
    context.text_colour = platform::rgb(255, 255, 255);
    context.background_mode = platform::TRANSPARENT;
    platform::text_out(context, x, y, platform::utf8_to_cp1251(utf8));
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            coverage.at(px, py) = static_cast<float>(mask.at(px, py) & 0xFF) / 255.0f;
    return coverage;
}

Coverage dilate(const Coverage& coverage, float radius) {
    Coverage out(coverage.width(), coverage.height());
    const int r = static_cast<int>(std::ceil(radius)) + 1;
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            float best = 0;
            for (int dy = -r; dy <= r && best < 1; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    const float c = coverage.at(x + dx, y + dy);
                    if (c <= best) continue;
                    // Pixels at the rim of the pen count by how far the pen reaches into them.
                    const float reach =
                        clamp01(radius + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)));
                    best = std::max(best, c * reach);
                }
            }
            out.at(x, y) = best;
        }
    }
    return out;
}

void paint_through(Image& image, const Coverage& coverage, Rgb colour, float alpha, int dx,
                   int dy) {
    for (int y = 0; y < coverage.height(); ++y)
        for (int x = 0; x < coverage.width(); ++x)
            if (coverage.at(x, y) > 0)
                image.blend(x + dx, y + dy, colour, coverage.at(x, y) * alpha);
}

void draw_text(Image& image, int x, int y, const TextStyle& style, std::string_view utf8,
               Rgb colour, bool centred) {
    if (centred) x -= text_width(style, utf8) / 2;
    paint_through(image, text_coverage(image.width(), image.height(), x, y, style, utf8), colour);
}

void draw_shadowed(Image& image, int x, int y, const TextStyle& style, std::string_view utf8,
                   Rgb colour, bool centred) {
    if (centred) x -= text_width(style, utf8) / 2;
    const Coverage ink = text_coverage(image.width(), image.height(), x, y, style, utf8);
    paint_through(image, dilate(ink, 1.5f), rgb8(0, 0, 0), 0.45f, 1, 2);
    paint_through(image, ink, colour);
}

std::vector<std::string> wrap(const TextStyle& style, std::string_view utf8, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t space = utf8.find(' ', pos);
        const std::string_view word = utf8.substr(
            pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
        pos = space == std::string_view::npos ? utf8.size() : space + 1;
        if (word.empty()) continue;
        const std::string candidate =
            line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && text_width(style, candidate) > width) {
            lines.push_back(line);
            line = std::string(word);
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace assetgen
