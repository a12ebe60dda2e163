// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Key pixels of the game's screens in the headless shell's screenshots: a tile
// composed from the plate, mask and face, the ring of empty cells showing the stage's
// background, the score panel's colours, and the removal path through the ring.
#include <optional>

#include "app/headless_game.h"
#include "graphics/picture.h"
#include "platform/png.h"

namespace {

using platform::Bitmap;
using platform::Pixel;
using scenario::board_of;
using scenario::GameRun;
using scenario::HeadlessGame;
using scenario::remove_pair;
using scenario::start_game;

constexpr int cell_w = 36, cell_h = 48;  // the generated atlas is 432 x 288

class Screenshots : public HeadlessGame {
  protected:
    // A picture of the game folder, by its game name with forward slashes.
    const Bitmap& picture(Picture& holder, const std::string& name) {
        holder.load(file(name).string().c_str());
        EXPECT_FALSE(holder.is_empty()) << name;
        static const Bitmap empty(1, 1);
        return holder.bitmap() != nullptr ? *holder.bitmap() : empty;
    }
};

// How many pixels of the rectangle hold exactly this colour.
int count_pixels(const Bitmap& b, int left, int top, int right, int bottom, Pixel colour) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (b.at(x, y) == colour) ++n;
    return n;
}

TEST_F(Screenshots, TilesAreComposedAndTheRingShowsTheBackground) {
    const GameRun run = play(start_game() + "dump\nscreenshot shot.png\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    const Bitmap screen = shot("shot.png");
    ASSERT_EQ(screen.width, 648);
    ASSERT_EQ(screen.height, 528);

    Picture atlas_holder, plate_holder, background_holder;
    const Bitmap& atlas = picture(atlas_holder, "res/pic");
    const Bitmap& plate = picture(plate_holder, "res/panel");
    // The first stage's background is the first name in byte order.
    const Bitmap& background = picture(background_holder, "res/01_dawn.back");
    ASSERT_EQ(atlas.width, 12 * cell_w);

    // Several tiles, each its plate with the mask ORed and the face ANDed over it.
    for (const auto& [column, row] : {std::pair{1, 1}, {8, 5}, {16, 9}}) {
        const auto kind = static_cast<int>(
            run.last()["board"][static_cast<std::size_t>(column * 11 + row)].num());
        ASSERT_GE(kind, 0);
        const int face_x = kind / 6 * cell_w, face_y = kind % 6 * cell_h;
        int wrong = 0;
        for (int y = 0; y < cell_h; ++y)
            for (int x = 0; x < cell_w; ++x) {
                const Pixel expected =
                    (plate.at(x, y) | atlas.at(face_x + 6 * cell_w + x, face_y + y)) &
                    atlas.at(face_x + x, face_y + y);
                if (screen.at(column * cell_w + x, row * cell_h + y) != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "tile at " << column << "," << row << " kind " << kind;
    }

    // The ring below the score line: the left and right columns and the bottom row.
    int wrong = 0, compared = 0;
    for (int y = cell_h; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x) {
            const bool ring = x < cell_w || x >= 17 * cell_w || y >= 10 * cell_h;
            if (!ring) continue;
            ++compared;
            if (screen.at(x, y) != background.at(x, y)) ++wrong;
        }
    EXPECT_EQ(wrong, 0) << "of " << compared << " ring pixels";
}

TEST_F(Screenshots, ScorePanelIsRedToOneHundredYellowToThreeHundredThenGreen) {
    // One pair removed leaves 310 points and another pair open; then the drain.
    const GameRun run = play(start_game() + board_of({{1, 1, 0}, {2, 1, 0}, {5, 5, 1}, {6, 5, 1}}) +
                             remove_pair(1, 1, 2, 1) +
                             "dump\nwait 9000\nframes 1\nscreenshot 301.png\n"
                             "wait 1000\nframes 1\nscreenshot 300.png\n"
                             "wait 199000\nframes 1\nscreenshot 101.png\n"
                             "wait 1000\nframes 1\nscreenshot 100.png\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 2u);
    ASSERT_EQ(run.dumps[0]["score"].num(), 310);
    ASSERT_EQ(run.last()["score"].num(), 100);
    ASSERT_EQ(run.last()["state"].str(), "PLAY");

    constexpr Pixel red = 0xFF0000, yellow = 0xFFFF00, green = 0x00FF00;
    const struct {
        const char* file;
        Pixel colour;
    } panels[] = {{"301.png", green}, {"300.png", yellow}, {"101.png", yellow}, {"100.png", red}};
    // "Счет: NNN" ends one character before the outer width of 654 pixels.
    const int left = 654 - 10 * 18;
    for (const auto& p : panels) {
        SCOPED_TRACE(p.file);
        const Bitmap screen = shot(p.file);
        for (const Pixel colour : {red, yellow, green}) {
            const int n = count_pixels(screen, left, 0, 648, cell_h, colour);
            if (colour == p.colour) {
                EXPECT_GT(n, 20) << std::hex << colour;
            } else {
                EXPECT_EQ(n, 0) << std::hex << colour;
            }
        }
    }
}

TEST_F(Screenshots, RemovalPathIsDrawnInVioletThroughTheRing) {
    // The two tiles of kind 0 are split by a tile of kind 1, so the only path goes up
    // into row 0 and back down.
    const GameRun run = play(start_game() + board_of({{1, 1, 0}, {3, 1, 0}, {2, 1, 1}, {2, 2, 1}}) +
                             "paint\nframes 1\nclick_cell 1 1\nframes 1\nscreenshot before.png\n"
                             "click_cell 3 1\nframes 1\nscreenshot after.png\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    const scenario::Value& d = run.last();
    ASSERT_EQ(d["removal_pending"].num(), 1);
    const std::vector<std::int64_t> corners = d["path_corners"].numbers();
    EXPECT_TRUE(corners == (std::vector<std::int64_t>{1, 0, 3, 0}) ||
                corners == (std::vector<std::int64_t>{3, 0, 1, 0}));

    constexpr Pixel violet = 0x8000FF;
    const Bitmap before = shot("before.png");
    const Bitmap after = shot("after.png");
    // On the legs between the cell centres (54, 72) -> (54, 24) -> (126, 24) -> (126, 72).
    for (const auto& [x, y] :
         {std::pair{90, 24}, {70, 24}, {110, 24}, {54, 36}, {126, 36}, {54, 60}, {126, 60}}) {
        EXPECT_EQ(after.at(x, y), violet) << x << "," << y;
        EXPECT_NE(before.at(x, y), violet) << x << "," << y;
    }
}

}  // namespace
