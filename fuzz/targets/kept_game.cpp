// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the kept game's reader on arbitrary bytes. A file it takes must hold a
// game the rules could have made (every kind an even number of times and at most four,
// the ring empty, the count that of the board), and must come back unchanged through
// the bytes the game would write for it.
#include <array>
#include <cstdint>
#include <string_view>

#include "flow/kept_game.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<flow::KeptGame> game = flow::parse_kept_game(bytes);
    if (!game) return 0;

    std::array<int, rules::tile_kinds> copies{};
    int tiles = 0;
    for (int x = 0; x < rules::board_columns; ++x)
        for (int y = 0; y < rules::board_rows; ++y) {
            const std::int32_t kind = game->board.at(x, y);
            if (kind == rules::empty_cell) continue;
            if (kind < 0 || kind >= rules::tile_kinds) fuzz::fail("a kind out of range was taken");
            if (rules::in_ring(x, y)) fuzz::fail("a tile in the ring was taken");
            ++copies[static_cast<std::size_t>(kind)];
            ++tiles;
        }
    for (const int n : copies)
        if (n % 2 != 0 || n > rules::copies_per_kind) fuzz::fail("a kind no deal gives was taken");
    if (tiles != game->tiles_left) fuzz::fail("a count that is not the board's was taken");
    if (game->board_mode < 1 || game->board_mode > 9 || game->score < 0 ||
        game->stage_bonus < 100 || game->stage_bonus > 300)
        fuzz::fail("a value out of its range was taken");
    if (game->background.find('/') != std::string::npos)
        fuzz::fail("a background name with a folder was taken");

    const std::string written = flow::kept_game_bytes(*game);
    const std::optional<flow::KeptGame> again = flow::parse_kept_game(written);
    if (!again || !(*again == *game)) fuzz::fail("the game written back reads differently");
    if (flow::kept_game_bytes(*again) != written) fuzz::fail("a second save would differ");
    return 0;
}
