// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Block copies, fills and pen lines on 32-bit bitmaps.
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/text.h"

namespace platform {

Bitmap::Bitmap(int w, int h, Pixel fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
    // Made zero in one sweep of memory; any other colour is filled in after.
    if (fill != 0) std::fill(pixels.begin(), pixels.end(), fill);
}

void track_touches(Bitmap& bitmap) {
    const int rows = (bitmap.height + touch_tile - 1) / touch_tile;
    bitmap.touched.assign(static_cast<std::size_t>(touch_columns(bitmap.width)) *
                              static_cast<std::size_t>(std::max(rows, 0)),
                          1);
}

void mark_touched(Bitmap& bitmap, std::int64_t left, std::int64_t top, std::int64_t right,
                  std::int64_t bottom) {
    if (bitmap.touched.empty()) return;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, bitmap.width);
    bottom = std::min<std::int64_t>(bottom, bitmap.height);
    if (left >= right || top >= bottom) return;
    const std::int64_t columns = touch_columns(bitmap.width);
    for (std::int64_t row = top / touch_tile; row <= (bottom - 1) / touch_tile; ++row)
        for (std::int64_t column = left / touch_tile; column <= (right - 1) / touch_tile; ++column)
            bitmap.touched[static_cast<std::size_t>(row * columns + column)] = 1;
}

DrawContext::DrawContext(Bitmap* bitmap, const Window* window)
    : target(bitmap), owner(window), font(stock_font()) {}

void blit(DrawContext& destination, int x, int y, int w, int h, const Bitmap& source, int sx,
          int sy, std::uint32_t rop) {
    Bitmap* dst = destination.target;
    if (dst == nullptr) return;
    // Clip the rectangle to the source, then to the destination, moving both origins together.
    if (sx < 0) {
        w += sx;
        x -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        y -= sy;
        sy = 0;
    }
    if (x < 0) {
        w += x;
        sx -= x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        sy -= y;
        y = 0;
    }
    w = std::min({w, source.width - sx, dst->width - x});
    h = std::min({h, source.height - sy, dst->height - y});
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row) {
        const Pixel* from = &source.pixels[static_cast<std::size_t>(sy + row) * source.width + sx];
        Pixel* to = &dst->pixels[static_cast<std::size_t>(y + row) * dst->width + x];
        switch (rop) {
            case SRCPAINT:
                for (int i = 0; i < w; ++i)
                    to[i] |= from[i];
                break;
            case SRCAND:
                for (int i = 0; i < w; ++i)
                    to[i] &= from[i];
                break;
            default:
                // Rows of two bitmaps never overlap, and a copy that may not overlap is
                // what AddressSanitizer's build does fast.
                if (&source != dst)
                    std::memcpy(to, from, static_cast<std::size_t>(w) * sizeof(Pixel));
                else
                    std::copy(from, from + w, to);
                break;
        }
    }
    mark_touched(*dst, x, y, std::int64_t{x} + w, std::int64_t{y} + h);
    ++dst->changes;
}

void blit(DrawContext& destination, int x, int y, int w, int h, const DrawContext& source, int sx,
          int sy, std::uint32_t rop) {
    if (source.target == nullptr) return;
    // A copy within one bitmap goes through a snapshot, so overlapping rectangles read old pixels.
    if (source.target == destination.target) {
        const Bitmap snapshot = *source.target;
        blit(destination, x, y, w, h, snapshot, sx, sy, rop);
        return;
    }
    blit(destination, x, y, w, h, *source.target, sx, sy, rop);
}

void fill_rect(DrawContext& context, int left, int top, int right, int bottom, Colour colour) {
    Bitmap* dst = context.target;
    if (dst == nullptr) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, dst->width);
    bottom = std::min(bottom, dst->height);
    if (left >= right || top >= bottom) return;
    const Pixel p = to_pixel(colour);
    for (int y = top; y < bottom; ++y) {
        std::fill_n(&dst->pixels[static_cast<std::size_t>(y) * dst->width + left], right - left, p);
    }
    mark_touched(*dst, left, top, right, bottom);
    ++dst->changes;
}

void move_to(DrawContext& context, int x, int y) {
    context.position_x = x;
    context.position_y = y;
}

namespace {

void plot(Bitmap& bitmap, int x, int y, Pixel p) {
    if (x >= 0 && y >= 0 && x < bitmap.width && y < bitmap.height) bitmap.at(x, y) = p;
}

// A 1-pixel line from (x0, y0) towards (x1, y1), the last pixel left out.
void cosmetic_line(Bitmap& bitmap, int x0, int y0, int x1, int y1, Pixel p) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        plot(bitmap, x0, y0, p);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// The round end of a wide pen: a w x w disc over offsets -w/2 .. w/2-1 around the point.
void round_cap(Bitmap& bitmap, int x, int y, int w, Pixel p) {
    const double centre = (w - 1) / 2.0, radius = w / 2.0;
    for (int j = 0; j < w; ++j) {
        for (int i = 0; i < w; ++i) {
            const double di = i - centre, dj = j - centre;
            if (di * di + dj * dj <= radius * radius) plot(bitmap, x - w / 2 + i, y - w / 2 + j, p);
        }
    }
}

// The body of a wide line: a band w wide around the segment, half a pixel up-left of
// the ideal line, the ends left to the caps.
void wide_line(Bitmap& bitmap, int x0, int y0, int x1, int y1, int w, Pixel p) {
    const int half = w / 2;
    if (y0 == y1) {
        for (int x = std::min(x0, x1); x < std::max(x0, x1); ++x)
            for (int y = y0 - half; y < y0 - half + w; ++y)
                plot(bitmap, x, y, p);
    } else if (x0 == x1) {
        for (int y = std::min(y0, y1); y < std::max(y0, y1); ++y)
            for (int x = x0 - half; x < x0 - half + w; ++x)
                plot(bitmap, x, y, p);
    } else {
        // A slanted band: every pixel whose centre lies within w/2 of the segment.
        const double ax = x0 - 0.5, ay = y0 - 0.5, bx = x1 - 0.5, by = y1 - 0.5;
        const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
        const int left = std::min(x0, x1) - w, right = std::max(x0, x1) + w;
        const int top = std::min(y0, y1) - w, bottom = std::max(y0, y1) + w;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const double t = ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / len2;
                if (t < 0 || t > 1) continue;
                const double cx = ax + t * (bx - ax) - x, cy = ay + t * (by - ay) - y;
                if (cx * cx + cy * cy <= w * w / 4.0) plot(bitmap, x, y, p);
            }
        }
    }
}

}  // namespace

void line_to(DrawContext& context, int x, int y) {
    const int x0 = context.position_x, y0 = context.position_y;
    move_to(context, x, y);
    Bitmap* dst = context.target;
    if (dst == nullptr || context.pen.style == PS_NULL) return;
    const Pixel p = to_pixel(context.pen.colour);
    const int w = context.pen.width;
    if (w <= 1) {
        cosmetic_line(*dst, x0, y0, x, y, p);
    } else {
        wide_line(*dst, x0, y0, x, y, w, p);
        round_cap(*dst, x0, y0, w, p);
        round_cap(*dst, x, y, w, p);
    }
    // The band and the caps reach at most a pen's width beyond the end points.
    const int reach = std::max(w, 1);
    mark_touched(*dst, std::int64_t{std::min(x0, x)} - reach, std::int64_t{std::min(y0, y)} - reach,
                 std::int64_t{std::max(x0, x)} + reach + 1,
                 std::int64_t{std::max(y0, y)} + reach + 1);
    ++dst->changes;
}

}  // namespace platform
