// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the BMP decoder on arbitrary bytes; a picture it returns must have a
// size within the limits and exactly one pixel per cell.
#include <span>

#include "platform/image.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = platform::decode_bmp(std::span<const std::uint8_t>(data, size));
    if (!bitmap) return 0;
    if (bitmap->width < 1 || bitmap->height < 1 || bitmap->width > platform::max_picture_side ||
        bitmap->height > platform::max_picture_side) {
        fuzz::fail("decoded picture of a size out of range");
    }
    if (bitmap->pixels.size() != static_cast<std::size_t>(bitmap->width) * bitmap->height) {
        fuzz::fail("pixel count differs from the size");
    }
    return 0;
}
