// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of composing one tile (backdrop, plate, mask OR, face AND into a scratch
// surface, then one copy to the window) and of a full-board redraw of 198 cells.
#include <benchmark/benchmark.h>

#include "graphics/drawing.h"
#include "platform/raster.h"
#include "platform/window.h"

namespace {

constexpr int kCellW = 36, kCellH = 48;

struct TileParts {
    platform::Bitmap backdrop{kCellW, kCellH, 0x204060};
    platform::Bitmap plate{kCellW, kCellH, 0xE0D0B0};
    platform::Bitmap mask{kCellW, kCellH, 0x000000};
    platform::Bitmap face{kCellW, kCellH, 0xFFFFFF};
    TileParts() {
        for (int y = 8; y < 40; ++y)
            for (int x = 6; x < 30; ++x) {
                mask.at(x, y) = 0xFFFFFF;
                face.at(x, y) = 0x3366CC;
            }
    }
};

void compose_tile(platform::Window& window, Surface& scratch, const TileParts& parts, int column,
                  int row) {
    platform::DrawContext& s = scratch.dc();
    platform::blit(s, 0, 0, kCellW, kCellH, parts.backdrop, 0, 0, platform::SRCCOPY);
    platform::blit(s, 0, 0, kCellW, kCellH, parts.plate, 0, 0, platform::SRCCOPY);
    platform::blit(s, 0, 0, kCellW, kCellH, parts.mask, 0, 0, platform::SRCPAINT);
    platform::blit(s, 0, 0, kCellW, kCellH, parts.face, 0, 0, platform::SRCAND);
    scratch.blit_to(window.dc(), column * kCellW, row * kCellH);
}

void BM_ComposeOneTile(benchmark::State& state) {
    platform::Window window;
    window.resize(18 * kCellW, 11 * kCellH);
    Surface scratch(window.dc(), kCellW + 1, kCellH + 1);
    TileParts parts;
    for (auto _ : state) {
        compose_tile(window, scratch, parts, 5, 5);
        benchmark::DoNotOptimize(window.framebuffer().pixels.data());
    }
}
BENCHMARK(BM_ComposeOneTile);

void BM_FullBoardRedraw(benchmark::State& state) {
    platform::Window window;
    window.resize(18 * kCellW, 11 * kCellH);
    Surface scratch(window.dc(), kCellW + 1, kCellH + 1);
    TileParts parts;
    for (auto _ : state) {
        for (int column = 0; column < 18; ++column)
            for (int row = 0; row < 11; ++row)
                compose_tile(window, scratch, parts, column, row);
        benchmark::DoNotOptimize(window.framebuffer().pixels.data());
    }
}
BENCHMARK(BM_FullBoardRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
