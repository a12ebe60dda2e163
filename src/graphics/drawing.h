// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Surface, Pen, Font and draw_text: small owners of drawing objects over the
// platform raster. A Pen or Font selects itself into a context while it lives and
// puts the previous object back on release; what stays selected in the window's
// context is used by later drawing through it.
#pragma once

#include <cstdint>

#include "base/string.h"
#include "platform/raster.h"
#include "platform/window.h"

// An off-screen drawing context with its own bitmap.
class Surface {
  public:
    // Makes a w x h surface; a size that cannot be made leaves it unusable.
    Surface(const platform::DrawContext& reference, int w, int h);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    platform::DrawContext& dc() { return context_; }
    bool usable() const { return usable_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Copies the whole surface to (x, y) of destination; an unusable surface copies nothing.
    void blit_to(platform::DrawContext& destination, int x, int y);

  private:
    platform::Bitmap bitmap_;
    platform::DrawContext context_;
    bool usable_ = false;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

// A pen selected into a context for one drawing step.
class Pen {
  public:
    Pen(platform::DrawContext* context, int style, int width, platform::Colour colour);
    ~Pen() { release(); }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    // Selects the previous pen back; does nothing the second time.
    void release();

  private:
    platform::PenObject previous_;
    bool ok_ = false;
    platform::DrawContext* context_;
};

// A font selected into a context for one drawing step: weight 1000, face by name.
class Font {
  public:
    Font(platform::DrawContext* context, int char_width, int char_height, const char* face,
         bool italic = false);
    ~Font() { release(); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool ok() const { return ok_; }
    int char_width() const { return char_width_; }
    int char_height() const { return char_height_; }
    // Draws text centred in the client area of the context's window, measured as
    // length x char width; a text wider than the area starts left of 0.
    void draw_centered(int y, const String& text, platform::Colour colour, int background_mode);
    // Selects the previous font back; does nothing the second time.
    void release();

  private:
    platform::FontHandle previous_;
    bool ok_ = false;
    int char_width_;
    int char_height_;
    platform::DrawContext* context_;
};

// Draws text with its cell's top left at (x, y) of the window's client area, in the
// font selected into the window's context.
void draw_text(platform::Window& window, int x, int y, const char* text, platform::Colour colour,
               int background_mode);
void draw_text(platform::Window& window, int x, int y, const String& text, platform::Colour colour,
               int background_mode);
