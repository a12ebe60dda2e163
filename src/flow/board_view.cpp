// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Tile composition, the board drawing and the menu border animation.
#include "flow/board_view.h"

#include <vector>

#include "base/random.h"
#include "board/board.h"
#include "flow/pictures.h"

namespace flow {

BoardPictures& board_pictures() {
    static BoardPictures pictures;
    return pictures;
}

void reset_board_pictures() {
    BoardPictures& p = board_pictures();
    for (auto& picture : p.tile_faces)
        picture.release();
    for (auto& picture : p.tile_masks)
        picture.release();
    for (auto* cells : {&p.game_backdrop_cells, &p.menu_backdrop_cells})
        for (auto& column : *cells)
            for (auto& picture : column)
                picture.release();
    p.tile_scratch.reset();
    p.anim_scratch.reset();
    p.anim_timer.reset();
}

void cut_atlas(const platform::DrawContext& atlas) {
    BoardPictures& p = board_pictures();
    const rules::RulesState& r = rules::rules_state();
    const int w = r.cell_width, h = r.cell_height;
    for (int k = 0; k < 36; ++k) {
        const int x = (k / 6) * w, y = (k % 6) * h;
        p.tile_faces[k].capture_dc(atlas, x, y, w, h, platform::SRCCOPY);
        p.tile_masks[k].capture_dc(atlas, x + 6 * w, y, w, h, platform::SRCCOPY);
    }
}

void capture_cells(platform::Window& window, CellPictures& cells) {
    const rules::RulesState& r = rules::rules_state();
    const int w = r.cell_width, h = r.cell_height;
    for (int column = 0; column < 18; ++column)
        for (int row = 0; row < 11; ++row)
            cells[column][row].capture_window(window, column * w, row * h, w, h, platform::SRCCOPY);
}

void capture_cells_under(platform::Window& window, const Picture& picture, CellPictures& cells) {
    static KeptCuts kept;
    const rules::RulesState& r = rules::rules_state();
    const KeptCuts::Geometry geometry{window.client_width(), window.client_height(), r.cell_width,
                                      r.cell_height};
    // Only then does the window hold nothing but the picture's pixels.
    const bool covered =
        picture.width() >= window.client_width() && picture.height() >= window.client_height();
    std::vector<Picture*> pieces;
    for (auto& column : cells)
        for (Picture& cell : column)
            pieces.push_back(&cell);
    if (covered && kept.share(picture, geometry, pieces)) return;
    capture_cells(window, cells);
    if (covered) kept.keep(picture, geometry, pieces);
}

namespace {
// Puts face k through its mask onto whatever the scratch holds.
void overlay_face(platform::DrawContext& scratch, int k) {
    BoardPictures& p = board_pictures();
    if (k < 0 || k >= 36) return;
    p.tile_masks[k].draw_to_dc(scratch, 0, 0, platform::SRCPAINT);
    p.tile_faces[k].draw_to_dc(scratch, 0, 0, platform::SRCAND);
}
}  // namespace

void draw_tile(platform::Window& window, int column, int row) {
    BoardPictures& p = board_pictures();
    const rules::RulesState& r = rules::rules_state();
    const int w = r.cell_width, h = r.cell_height;
    if (!p.tile_scratch) p.tile_scratch = std::make_unique<Surface>(window.dc(), w + 1, h + 1);
    platform::DrawContext& scratch = p.tile_scratch->dc();
    p.game_backdrop_cells[column][row].draw_to_dc(scratch, 0, 0, platform::SRCCOPY);
    screen_pictures().panel_picture.draw_to_dc(scratch, 0, 0, platform::SRCCOPY);
    overlay_face(scratch, r.board.at(column, row));
    p.tile_scratch->blit_to(window.dc(), column * w, row * h);
}

void draw_empty_cell(platform::Window& window, int column, int row) {
    board_pictures().game_backdrop_cells[column][row].draw_to_window(
        window, column * rules::rules_state().cell_width, row * rules::rules_state().cell_height,
        platform::SRCCOPY);
}

void draw_board(platform::Window& window) {
    for (int column = 0; column < 18; ++column)
        for (int row = 0; row < 11; ++row) {
            if (rules::rules_state().board.at(column, row) >= 0)
                draw_tile(window, column, row);
            else
                draw_empty_cell(window, column, row);
        }
}

namespace {
constexpr std::int64_t menu_animation_step_us = 100000;
}

std::int64_t menu_animation_due_at() {
    if (rules::rules_state().title_text.is_empty()) return never_due;
    const BoardPictures& p = board_pictures();
    // Without its timer the animation has not run yet: its first call makes the timer.
    return p.anim_timer ? p.anim_timer->due_at(menu_animation_step_us, false) : due_now;
}

void animate_menu_border(platform::Window& window) {
    if (rules::rules_state().title_text.is_empty()) return;
    BoardPictures& p = board_pictures();
    if (!p.anim_timer) p.anim_timer.emplace();
    if (!(static_cast<double>(p.anim_timer->elapsed_us()) >
          static_cast<double>(menu_animation_step_us)))
        return;
    p.anim_timer->restart();
    const rules::RulesState& r = rules::rules_state();
    const int w = r.cell_width, h = r.cell_height;
    for (int row = 2; row <= 8; ++row) {
        for (int column : {1, 16}) {
            if (!p.anim_scratch) p.anim_scratch = std::make_unique<Surface>(window.dc(), w, h);
            platform::DrawContext& scratch = p.anim_scratch->dc();
            p.menu_backdrop_cells[column][row].draw_to_dc(scratch, 0, 0, platform::SRCCOPY);
            overlay_face(scratch, random_below(36));
            p.anim_scratch->blit_to(window.dc(), column * w, row * h);
        }
    }
}

}  // namespace flow
