// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture: one bitmap with its size, loaded by name from a BMP file or from a JPEG
// file under one of several endings, or captured from a drawing context.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "base/string.h"
#include "platform/kept_data.h"
#include "platform/raster.h"
#include "platform/window.h"

class Picture {
  public:
    Picture() = default;
    explicit Picture(const char* name);  // empty, then load(name)
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // Replaces the bitmap by the picture found under name; empty when none is found.
    // A name ending in ".bmp" is a BMP file; ".jpg", ".res" and ".back" are JPEG
    // files; any other name is tried as name + ".bmp". Then name + ".res", ".jpg",
    // ".jpeg", ".jpe" and ".jfif" are tried as JPEG files, in that order.
    void load(const String& name);

    std::int32_t width() const { return bitmap_ ? bitmap_->width : 0; }
    std::int32_t height() const { return bitmap_ ? bitmap_->height : 0; }
    bool is_empty() const { return bitmap_ == nullptr; }
    const platform::Bitmap* bitmap() const { return bitmap_.get(); }

    // Copies the whole picture to (x, y) with a raster operation; an empty picture draws nothing.
    void draw_to_window(platform::Window& window, int x, int y, std::uint32_t rop) const;
    void draw_to_dc(platform::DrawContext& context, int x, int y, std::uint32_t rop) const;

    // Makes the picture a new w x h bitmap holding the rectangle at (x, y) of the source.
    void capture_window(platform::Window& window, int x, int y, int w, int h, std::uint32_t rop);
    void capture_dc(const platform::DrawContext& context, int x, int y, int w, int h,
                    std::uint32_t rop);

    // Drops the bitmap.
    void release() { bitmap_.reset(); }

    // The bitmap as pictures that share it hold it.
    const std::shared_ptr<const platform::Bitmap>& shared_bitmap() const { return bitmap_; }
    // Makes the picture the given bitmap, shared with whatever else holds it.
    void share(std::shared_ptr<const platform::Bitmap> bitmap) { bitmap_ = std::move(bitmap); }

  private:
    // Never changed once made, so pictures loaded from one file may share it.
    std::shared_ptr<const platform::Bitmap> bitmap_;
};

// Pictures cut from one picture (the tiles of the atlas, the cells of a backdrop), kept
// while decoded data is kept: what a cut of one source bitmap at one geometry gave the
// first time is shared by every later cut of the same.
class KeptCuts {
  public:
    using Geometry = std::array<std::int32_t, 4>;
    // Gives each of pieces, in order, its picture as kept from source at geometry; false,
    // the pieces untouched, when none is kept.
    bool share(const Picture& source, const Geometry& geometry, std::span<Picture* const> pieces);
    // Keeps what the pieces hold now as the cut of source at geometry; an empty source is
    // nothing to keep a cut of.
    void keep(const Picture& source, const Geometry& geometry, std::span<Picture* const> pieces);

  private:
    struct Cut {
        // Held, so that no other bitmap takes its place in memory while its cut is kept.
        std::shared_ptr<const platform::Bitmap> source;
        std::vector<std::shared_ptr<const platform::Bitmap>> pieces;
    };
    platform::KeptBy<std::pair<const platform::Bitmap*, Geometry>, Cut> cuts_;
};

// Decodes the JPEG file source into an uncompressed 24-bit BMP file target (54-byte
// header, bottom-up rows padded to 4 bytes). A source that is not a readable JPEG
// gives a 54-byte file describing 0 x 0 pixels; a target that cannot be made gets nothing.
void jpeg_to_bmp(const char* source, const char* target);
