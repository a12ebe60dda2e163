// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts and text output: a font is asked for by face name, cell height, average
// character width, weight and italic; fontconfig finds the installed face and
// FreeType draws Windows-1251 text into a drawing context.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/raster.h"

namespace platform {

// The largest cell height or character width a font is made with; larger requests are cut down.
constexpr int max_font_size = 512;

// A font size taken by its magnitude (a negative size counts by its size), at most
// max_font_size.
constexpr int font_size_magnitude(std::int64_t size) {
    if (size < 0) return size < -max_font_size ? max_font_size : static_cast<int>(-size);
    return size > max_font_size ? max_font_size : static_cast<int>(size);
}

struct FontRequest {
    std::string face;  // family name, e.g. "Courier New"; fontconfig finds the installed stand-in
    int height = 0;    // cell height in pixels (ascent + descent); 0 picks a default
    int width = 0;     // average character width in pixels; 0 keeps the face's own
    int weight = 400;  // 100..1000
    bool italic = false;
};

// The metrics of a created font.
struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int average_width = 0;  // the width the font was made with
    std::string family;     // the matched family, e.g. "Liberation Mono"
};

// Creates a font; null when no face can be found or loaded.
FontHandle create_font(const FontRequest& request);

// The font a new drawing context starts with.
FontHandle stock_font();

FontMetrics font_metrics(const FontObject& font);

// Horizontal advance of a Windows-1251 text in the font, in pixels.
int text_advance(const FontObject& font, std::string_view text);

// Draws Windows-1251 text with the context's font, text colour and background
// mode; (x, y) is the top left of the text's cell. Bytes the face has no glyph
// for are skipped by their advance.
void text_out(DrawContext& context, int x, int y, std::string_view text);

// Drops cached glyphs and faces; tests use it to start clean.
void reset_font_cache();

}  // namespace platform
