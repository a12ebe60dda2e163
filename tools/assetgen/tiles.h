// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The tile atlas (36 faces and their masks) and the tile plate.
#pragma once

#include "art.h"

namespace assetgen {

inline constexpr int cell_w = 36;
inline constexpr int cell_h = 48;
inline constexpr int kinds = 36;

// One face: its picture on white, and where the picture is (the mask); scale pixels to
// each pixel of the tile (1 in the atlas, more for the icons).
struct TileFace {
    explicit TileFace(int scale = 1)
        : pixel_scale(scale),
          picture(cell_w * scale, cell_h * scale, Rgb{1, 1, 1}),
          shown(static_cast<std::size_t>(cell_w * scale * cell_h * scale), false) {}
    int pixel_scale;
    Image picture;
    std::vector<bool> shown;
};

// The face of tile kind 0..35, drawn at a whole-number scale.
TileFace draw_face(int kind, int scale = 1);

// The atlas: faces in columns 0..5 (kind k at column k / 6, row k % 6), masks in
// columns 6..11 in the same arrangement; 432 x 288.
Image draw_atlas();

// The tile plate drawn under every face.
Image draw_plate();

// A finished tile: the plate with the face on it, as the game composes it.
Image compose_tile(int kind);

}  // namespace assetgen
