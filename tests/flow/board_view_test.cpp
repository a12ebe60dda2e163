// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The cells captured under a picture drawn over the window: while decoded data is kept,
// those of a picture that covers the window are shared from the first capture, and every
// cell holds what the window shows under it whatever the picture's size.
#include <gtest/gtest.h>

#include <ostream>

#include "board/board.h"
#include "flow/board_view.h"
#include "platform/kept_data.h"
#include "support/test_support.h"

namespace {

using platform::Pixel;

constexpr int cell_w = 2, cell_h = 3;
constexpr int window_w = 18 * cell_w, window_h = 11 * cell_h;

struct CellsCase {
    const char* name;
    int picture_w;
    int picture_h;
    bool keeping = true;
    bool shared = false;
};
void PrintTo(const CellsCase& c, std::ostream* os) {
    *os << c.name;
}

class CellsUnderPicture : public testing::TestWithParam<CellsCase> {
  protected:
    void SetUp() override {
        rules::reset_rules_state();
        rules::rules_state().cell_width = cell_w;
        rules::rules_state().cell_height = cell_h;
        window_.resize(window_w, window_h);
        platform::keep_decoded_data(GetParam().keeping);
    }
    void TearDown() override {
        platform::keep_decoded_data(false);
        rules::reset_rules_state();
    }

    // The window filled with one colour, the picture drawn over it, its cells captured.
    void capture_over(Pixel under, const Picture& picture, flow::CellPictures& cells) {
        platform::fill_rect(window_.dc(), 0, 0, window_w, window_h, platform::to_colour(under));
        picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
        flow::capture_cells_under(window_, picture, cells);
    }

    platform::Window window_;
};

TEST_P(CellsUnderPicture, EveryCellHoldsTheWindowUnderItSharedWhereThePictureCoversIt) {
    const CellsCase& c = GetParam();
    platform::Bitmap pixels(c.picture_w, c.picture_h);
    for (int y = 0; y < c.picture_h; ++y)
        for (int x = 0; x < c.picture_w; ++x)
            pixels.at(x, y) = static_cast<Pixel>(0x010000 * x + 0x000100 * y + 0x40);
    Picture picture;
    picture.capture_dc(platform::DrawContext(&pixels), 0, 0, c.picture_w, c.picture_h,
                       platform::SRCCOPY);

    flow::CellPictures first, second;
    capture_over(0xFF0000, picture, first);
    capture_over(0x0000FF, picture, second);
    for (int column = 0; column < 18; ++column)
        for (int row = 0; row < 11; ++row) {
            const platform::Bitmap* cell = second[column][row].bitmap();
            ASSERT_NE(cell, nullptr);
            for (int y = 0; y < cell_h; ++y)
                for (int x = 0; x < cell_w; ++x)
                    ASSERT_EQ(cell->at(x, y),
                              window_.framebuffer().at(column * cell_w + x, row * cell_h + y))
                        << "cell " << column << "," << row << " at " << x << "," << y;
            EXPECT_EQ(cell == first[column][row].bitmap(), c.shared)
                << "cell " << column << "," << row;
        }
}

const CellsCase cells_cases[] = {
    {.name = "Covering", .picture_w = window_w, .picture_h = window_h, .shared = true},
    {.name = "Larger", .picture_w = window_w + 5, .picture_h = window_h + 1, .shared = true},
    {.name = "Narrower", .picture_w = window_w - 1, .picture_h = window_h},
    {.name = "Lower", .picture_w = window_w, .picture_h = window_h - 1},
    {.name = "CoveringNotKept", .picture_w = window_w, .picture_h = window_h, .keeping = false},
};
INSTANTIATE_TEST_SUITE_P(BoardView, CellsUnderPicture, testing::ValuesIn(cells_cases),
                         test_support::CaseName());

}  // namespace
