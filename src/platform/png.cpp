// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG through libpng. libpng reports errors by longjmp back to setjmp, so the
// functions that call setjmp keep nothing in their own locals that changes after it:
// everything they fill lives in their caller.
#include "platform/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace platform {

namespace {

bool encode(png_structp png, png_infop info, std::FILE* file, const Bitmap& bitmap, bool with_alpha,
            std::vector<png_byte>& row) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width),
                 static_cast<png_uint_32>(bitmap.height), 8,
                 with_alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t channels = with_alpha ? 4 : 3;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const Pixel p = bitmap.at(x, y);
            const std::size_t i = static_cast<std::size_t>(x) * channels;
            row[i] = static_cast<png_byte>(p >> 16);
            row[i + 1] = static_cast<png_byte>(p >> 8);
            row[i + 2] = static_cast<png_byte>(p);
            if (with_alpha) row[i + 3] = static_cast<png_byte>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

struct Decoded {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::vector<png_byte> rgba;
    std::vector<png_bytep> rows;
};

bool decode(png_structp png, png_infop info, std::FILE* file, int max_side, Decoded& out) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    const auto limit = static_cast<png_uint_32>(max_side);
    if (out.width == 0 || out.height == 0 || out.width > limit || out.height > limit) return false;
    // Every colour type becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    out.rows.resize(out.height);
    for (png_uint_32 y = 0; y < out.height; ++y)
        out.rows[y] = out.rgba.data() + static_cast<std::size_t>(y) * out.width * 4;
    png_read_image(png, out.rows.data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

bool write_png(const std::string& native_path, const Bitmap& bitmap, bool with_alpha) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return false;
    std::FILE* file = std::fopen(native_path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width) * 4);
    bool ok = info != nullptr && encode(png, info, file, bitmap, with_alpha, row);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) ok = false;
    if (!ok) std::remove(native_path.c_str());
    return ok;
}

std::optional<Bitmap> read_png(const std::string& native_path, int max_side) {
    std::FILE* file = std::fopen(native_path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    Decoded decoded;
    const bool ok = info != nullptr && decode(png, info, file, max_side, decoded);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    if (!ok) return std::nullopt;
    Bitmap bitmap(static_cast<int>(decoded.width), static_cast<int>(decoded.height));
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const png_byte* p = decoded.rgba.data() + i * 4;
        bitmap.pixels[i] = (Pixel{p[0]} << 16) | (Pixel{p[1]} << 8) | Pixel{p[2]};
    }
    return bitmap;
}

}  // namespace platform
