// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files of bitmaps: the headless shell's screenshots, the data generator's icons,
// and reading them back in tests that compare pixels.
#pragma once

#include <optional>
#include <string>

#include "platform/raster.h"

namespace platform {

// Writes the bitmap as an 8-bit RGB PNG file, or RGBA with the alpha taken from each
// pixel's top byte; false when the file cannot be written.
bool write_png(const std::string& native_path, const Bitmap& bitmap, bool with_alpha = false);

// Reads a PNG file of any colour type into a bitmap; nothing when it is not a
// readable PNG file or is larger than max_side pixels either way.
std::optional<Bitmap> read_png(const std::string& native_path, int max_side = 16384);

}  // namespace platform
