// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Surface, Pen, Font and draw_text over the platform raster and text.
#include "graphics/drawing.h"

#include <cstring>

#include "platform/text.h"

using platform::Colour;
using platform::DrawContext;
using platform::Window;

namespace {
// Surfaces larger than this on a side are refused rather than allocated.
constexpr int max_surface_side = 16384;

void draw_bytes(Window& window, int x, int y, std::string_view text, Colour colour,
                int background_mode) {
    DrawContext& dc = window.dc();
    dc.text_colour = colour;
    dc.background_mode = background_mode;
    platform::text_out(dc, x, y, text);
}
}  // namespace

Surface::Surface(const DrawContext& reference, int w, int h) : context_(nullptr) {
    if (w <= 0 || h <= 0 || w > max_surface_side || h > max_surface_side) return;
    bitmap_ = platform::Bitmap(w, h);
    context_ = DrawContext(&bitmap_);
    (void)reference;  // every bitmap has the window's pixel format
    usable_ = true;
    width_ = w;
    height_ = h;
}

void Surface::blit_to(DrawContext& destination, int x, int y) {
    if (!usable_) return;
    platform::blit(destination, x, y, width_, height_, bitmap_, 0, 0, platform::SRCCOPY);
}

Pen::Pen(DrawContext* context, int style, int width, Colour colour) : context_(context) {
    if (context == nullptr) return;
    previous_ = context->pen;
    context->pen = platform::PenObject{style, width, colour};
    ok_ = true;
}

void Pen::release() {
    if (!ok_) return;
    context_->pen = previous_;
    ok_ = false;
}

Font::Font(DrawContext* context, int char_width, int char_height, const char* face, bool italic)
    : char_width_(char_width), char_height_(char_height), context_(context) {
    if (context == nullptr) return;
    platform::FontHandle font =
        platform::create_font({face, char_height, char_width, 1000, italic});
    if (!font) return;
    previous_ = context->font;
    context->font = std::move(font);
    ok_ = previous_ != nullptr;
}

void Font::draw_centered(int y, const String& text, Colour colour, int background_mode) {
    if (!ok_) return;
    context_->text_colour = colour;
    context_->background_mode = background_mode;
    const int client_width = context_->owner != nullptr    ? context_->owner->client_width()
                             : context_->target != nullptr ? context_->target->width
                                                           : 0;
    // Floor division, so a text wider than the client area starts at a negative x.
    const int span = client_width - text.length() * char_width_;
    const int x = span >= 0 ? span / 2 : -((-span + 1) / 2);
    platform::text_out(*context_, x, y, std::string_view(text.c_str(), text.length()));
}

void Font::release() {
    if (!ok_) return;
    context_->font = previous_;
    previous_.reset();
    ok_ = false;
}

void draw_text(Window& window, int x, int y, const char* text, Colour colour, int background_mode) {
    draw_bytes(window, x, y, std::string_view(text, std::strlen(text)), colour, background_mode);
}

void draw_text(Window& window, int x, int y, const String& text, Colour colour,
               int background_mode) {
    draw_bytes(window, x, y, std::string_view(text.c_str(), text.length()), colour,
               background_mode);
}
