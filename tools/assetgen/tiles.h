// The tile atlas (36 faces and their masks) and the tile plate.
#pragma once

#include "art.h"

namespace assetgen {

inline constexpr int cell_w = 36;
inline constexpr int cell_h = 48;
inline constexpr int kinds = 36;

// One face: its picture on white, and where the picture is (the mask).
struct TileFace {
    Image picture{cell_w, cell_h, Rgb{1, 1, 1}};
    std::vector<bool> shown = std::vector<bool>(cell_w * cell_h, false);
};

// The face of tile kind 0..35.
TileFace draw_face(int kind);

// The atlas: faces in columns 0..5 (kind k at column k / 6, row k % 6), masks in
// columns 6..11 in the same arrangement; 432 x 288.
Image draw_atlas();

// The tile plate drawn under every face.
Image draw_plate();

// A finished tile: the plate with the face on it, as the game composes it.
Image compose_tile(int kind);

}  // namespace assetgen
