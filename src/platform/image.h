// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture decoding: BMP files (the plain 24-bit ones by our own reader, the rest
// through SDL2's) with our own size checks first, and JPEG through TurboJPEG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/raster.h"

namespace platform {

// No picture of the game is larger than this on a side; bigger headers are refused.
inline constexpr int max_picture_side = 8192;

// Decodes a BMP file held in memory. Nothing for a file that is not a BMP,
// is truncated or corrupt, is larger than max_picture_side, or has 0 x 0 pixels.
std::optional<Bitmap> decode_bmp(std::span<const std::uint8_t> file);

// Reads the size of a JPEG image; false when the bytes are not a readable JPEG.
bool jpeg_size(std::span<const std::uint8_t> file, int& width, int& height);

// Decodes a JPEG image whole, with the same pixels as the BMP file of its
// blue-green-red rows would give. Nothing when the bytes are no readable JPEG
// (warnings count) or the image is larger than max_picture_side.
std::optional<Bitmap> decode_jpeg(std::span<const std::uint8_t> file);

// Decodes a JPEG image as blue-green-red rows, bottom row first, pitch bytes
// apart, into rows (pitch * height bytes). False when decoding failed.
bool jpeg_decode_bgr_bottom_up(std::span<const std::uint8_t> file, std::uint8_t* rows, int width,
                               int pitch, int height);

}  // namespace platform
