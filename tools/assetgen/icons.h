// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, one vorp at the sizes of the desktop's icon theme, and its mouse
// pointer: pictures with an alpha channel.
#pragma once

#include <string>

#include "platform/raster.h"

namespace assetgen {

// Pictures are bitmaps whose pixels carry straight alpha in their top byte: 0xAARRGGBB.

// The sizes the desktop's icon theme gets, in pixels.
inline constexpr int icon_sizes[] = {16, 32, 48, 64, 128, 256};
// The size built into the program for the window's own icon.
inline constexpr int window_icon_size = 64;
// The pixel of the pointer that points.
inline constexpr int pointer_hot_x = 1, pointer_hot_y = 1;

// The icon at size x size pixels: the round red vorp, centred, on transparency.
platform::Bitmap draw_icon(int size);

// The pointer: an arrow in the tiles' ivory with a dark rim, 32 x 32.
platform::Bitmap draw_pointer();

// A C++ source that defines window_icon() and window_cursor() over the two pictures.
std::string window_art_source(const platform::Bitmap& icon, const platform::Bitmap& pointer);

}  // namespace assetgen
