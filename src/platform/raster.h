// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The raster: 32-bit bitmaps, drawing contexts that carry the selected pen, font,
// text colour, background mode and current position, block copies with the three
// raster operations, solid fills and polylines.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

class FontObject;
class Window;

// A colour as the game gives it: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;
constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// A pixel as bitmaps store it: 0x00RRGGBB, the layout of an XRGB framebuffer.
using Pixel = std::uint32_t;
constexpr Pixel to_pixel(Colour c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr Colour to_colour(Pixel p) {
    return to_pixel(p);
}  // the swap is its own inverse

// Raster operations of block copies.
enum Rop : std::uint32_t {
    SRCCOPY = 0x00CC0020,   // destination = source
    SRCPAINT = 0x00EE0086,  // destination = destination OR source
    SRCAND = 0x008800C6,    // destination = destination AND source
};

// Background modes of text output.
enum BackgroundMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// Pen styles: solid and null (draws nothing).
enum PenStyle : int { PS_SOLID = 0, PS_NULL = 5 };

// Drawing marks the tiles of this many pixels a side that it touches in a bitmap that
// keeps track (the window's framebuffer), so a shell compares and sends only those.
constexpr int touch_tile = 32;

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;  // rows top to bottom, width pixels each
    std::uint64_t changes =
        0;  // bumped by every drawing operation, so a shell knows when to present
    // One flag per tile, row by row, set when drawing touched it; empty when the bitmap
    // does not keep track.
    std::vector<std::uint8_t> touched;

    Bitmap() = default;
    Bitmap(int w, int h, Pixel fill = 0);
    Pixel at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Pixel& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Tiles across a bitmap of the given width.
constexpr int touch_columns(int width) {
    return (width + touch_tile - 1) / touch_tile;
}
// Starts keeping track of touched tiles, every tile touched.
void track_touches(Bitmap& bitmap);
// Marks the tiles meeting [left, right) x [top, bottom), clipped to the bitmap, when it
// keeps track.
void mark_touched(Bitmap& bitmap, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom);

struct PenObject {
    int style = PS_SOLID;
    int width = 1;
    Colour colour = 0;
};

using FontHandle = std::shared_ptr<const FontObject>;

// A drawing context targets one bitmap and keeps what is selected into it. The
// window's context lives as long as the window; memory contexts are plain values.
struct DrawContext {
    Bitmap* target = nullptr;
    const Window* owner = nullptr;  // the window whose client area this is, if any
    PenObject pen;
    FontHandle font;  // never null once the context is made; see stock_font()
    Colour text_colour = 0;
    Colour background_colour = rgb(255, 255, 255);
    int background_mode = OPAQUE;
    int position_x = 0;
    int position_y = 0;

    explicit DrawContext(Bitmap* bitmap = nullptr, const Window* window = nullptr);
};

// Copies w x h pixels from (sx, sy) of source to (x, y) of destination with the
// raster operation, clipped to both bitmaps.
void blit(DrawContext& destination, int x, int y, int w, int h, const Bitmap& source, int sx,
          int sy, std::uint32_t rop);
void blit(DrawContext& destination, int x, int y, int w, int h, const DrawContext& source, int sx,
          int sy, std::uint32_t rop);

// Fills [left, right) x [top, bottom) with a colour.
void fill_rect(DrawContext& context, int left, int top, int right, int bottom, Colour colour);

// Sets the current position.
void move_to(DrawContext& context, int x, int y);
// Draws from the current position to (x, y) with the selected pen and moves there.
// A 1-pixel pen leaves out the last pixel; wider pens have round ends.
void line_to(DrawContext& context, int x, int y);

}  // namespace platform
