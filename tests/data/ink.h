// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the ink of a generated picture: its texts, title art and tiles are bright
// over a dark backdrop.
#pragma once

#include "platform/raster.h"

inline int luminance(platform::Pixel p) {
    return (299 * static_cast<int>((p >> 16) & 0xFF) + 587 * static_cast<int>((p >> 8) & 0xFF) +
            114 * static_cast<int>(p & 0xFF)) /
           1000;
}

inline bool bright(platform::Pixel p) {
    return luminance(p) > 130;  // about one half
}

// The lowest row above limit_y where the picture has ink (text, title art, tiles)
// between x0 and x1; -1 when there is none.
inline int lowest_ink_row(const platform::Bitmap& picture, int x0, int x1, int limit_y) {
    for (int y = limit_y - 1; y >= 0; --y)
        for (int x = x0; x < x1; ++x)
            if (bright(picture.at(x, y))) return y;
    return -1;
}
