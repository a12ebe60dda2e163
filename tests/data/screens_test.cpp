// Every screen of the game composed headless from the generated data with the
// game's own pictures, menus, fonts, board drawing and score table, written as PNG
// screenshots into the build folder, and checked for overlaps: the title art and
// the pictures' own texts against everything the game draws over them, the hint
// prompt lines against the prompt's items, the stage score against the pause menu,
// the score rows against the back button, the training menu against the largest
// training board.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/random.h"
#include "board/board.h"
#include "flow/board_view.h"
#include "flow/pictures.h"
#include "game_folder.h"
#include "graphics/drawing.h"
#include "menu/windowmenu.h"
#include "platform/clock.h"
#include "platform/cp1251.h"
#include "scores/score_screen.h"
#include "scores/score_table.h"

namespace {

using platform::rgb;

constexpr int cell_w = 36, cell_h = 48, text_width = cell_w / 2;
constexpr Colour shadow_grey = rgb(128, 128, 128);

struct Band {
    int top = 0, bottom = 0;  // [top, bottom)
};

bool overlap(Band a, Band b) {
    return a.top < b.bottom && b.top < a.bottom;
}

std::string describe(Band b) {
    return "[" + std::to_string(b.top) + ", " + std::to_string(b.bottom) + ")";
}

// The rows an item's text and its shadow (2 pixels lower) cover.
Band item_band(windowmenu& menu, int item) {
    const windowmenu::Rect r = menu.item_rect(item);
    return {r.top, r.bottom + 2};
}

// The items that show a text (placeholders are a single space).
std::vector<int> visible_items(const windowmenu& menu) {
    std::vector<int> items;
    for (int i = 1; i <= menu.item_count; ++i)
        if (std::string(menu.item_texts[i].c_str()).find_first_not_of(' ') != std::string::npos)
            items.push_back(i);
    return items;
}

bool bright(platform::Pixel p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return 299 * r + 587 * g + 114 * b > 130 * 1000;  // luminance above about one half
}

// The lowest row above limit_y where the picture has ink (text, title art, tiles)
// between x0 and x1; -1 when there is none.
int lowest_ink_row(const Picture& picture, int x0, int x1, int limit_y) {
    for (int y = limit_y - 1; y >= 0; --y)
        for (int x = x0; x < x1; ++x)
            if (bright(picture.bitmap()->at(x, y))) return y;
    return -1;
}

// Ink of the picture inside a rectangle.
int ink_in(const Picture& picture, const windowmenu::Rect& r) {
    int count = 0;
    for (int y = std::max(0, r.top); y < std::min(picture.height(), r.bottom + 2); ++y)
        for (int x = std::max(0, r.left); x < std::min(picture.width(), r.right + 2); ++x)
            count += bright(picture.bitmap()->at(x, y));
    return count;
}

bool write_png(const std::string& path, const platform::Bitmap& bitmap) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width),
                     static_cast<png_uint_32>(bitmap.height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width) * 3);
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x) {
                const platform::Pixel p = bitmap.at(x, y);
                row[static_cast<std::size_t>(x) * 3] = static_cast<png_byte>(p >> 16);
                row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(p >> 8);
                row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(p);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

class ScreensTest : public GameFolderTest {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        platform::set_clock(&clock_);
        rules::reset_board_state();
        flow::reset_board_pictures();
        reset_menu_state();
        reset_score_state();
        seed_random(2024);
        window_.resize(648, 528);

        flow::ScreenPictures& pictures = flow::screen_pictures();
        pictures.backdrop_picture.load("res\\pic");
        ASSERT_FALSE(pictures.backdrop_picture.is_empty());
        rules::cell_width = pictures.backdrop_picture.width() / 12;
        rules::cell_height = pictures.backdrop_picture.height() / 6;
        for (auto [picture, name] : {std::pair{&pictures.menu_picture, "menu\\menu"},
                                     {&pictures.rules_picture, "menu\\rules"},
                                     {&pictures.rules_end_picture, "menu\\rules_end"},
                                     {&pictures.score_picture, "menu\\menuscore"},
                                     {&pictures.panel_picture, "res\\panel"}}) {
            picture->load(name);
            ASSERT_FALSE(picture->is_empty()) << name;
        }
        Surface atlas(window_.dc(), pictures.backdrop_picture.width(),
                      pictures.backdrop_picture.height());
        pictures.backdrop_picture.draw_to_dc(atlas.dc(), 0, 0, platform::SRCCOPY);
        flow::cut_atlas(atlas.dc());
        pictures.menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
        flow::capture_cells(window_, flow::board_pictures().menu_backdrop_cells);
        load_menus(window_);
        ASSERT_TRUE(message_boxes().empty());
        score_table().load_scores("score.sco");
        std::filesystem::create_directories(VORPY_DATA_SHOTS);
    }
    void TearDown() override {
        flow::reset_board_pictures();
        reset_menu_state();
        reset_score_state();
        rules::reset_board_state();
        platform::set_clock(nullptr);
        GameFolderTest::TearDown();
    }

    void shoot(const std::string& name) {
        const std::string path = std::string(VORPY_DATA_SHOTS) + "/" + name + ".png";
        EXPECT_TRUE(write_png(path, window_.framebuffer())) << path;
    }
    // A stage background drawn and captured under the cells, as each deal does.
    void show_background(const char* name) {
        flow::screen_pictures().backdrop_picture.load(name);
        ASSERT_FALSE(flow::screen_pictures().backdrop_picture.is_empty()) << name;
        flow::screen_pictures().backdrop_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
        flow::capture_cells(window_, flow::board_pictures().game_backdrop_cells);
    }
    // A line of the text font centred at y, shadow first: the prompts of the game screens.
    void centred_line(int y, const char* text, Colour colour) {
        Font font(&window_.dc(), text_width, cell_h - 6, "Courier New");
        font.draw_centered(y + 2, text, shadow_grey, platform::TRANSPARENT);
        font.draw_centered(y, text, colour, platform::TRANSPARENT);
    }
    // One step of the menu border animation: its timer starts on the first call.
    void animate_border() {
        flow::animate_menu_border(window_);
        clock_.advance_ms(200);
        flow::animate_menu_border(window_);
    }
    MenuState& menus() { return menu_state(); }
    const flow::ScreenPictures& pictures() { return flow::screen_pictures(); }
    // The lowest row of the menu picture's title art, over the middle of the window.
    int title_bottom() { return lowest_ink_row(pictures().menu_picture, 100, 548, 260); }

    platform::VirtualClock clock_;
    platform::Window window_;
};

TEST_F(ScreensTest, MainMenuStandsUnderTheTitle) {
    pictures().menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    menus().main_menu.draw(window_);
    animate_border();
    shoot("main_menu");
    const int title = title_bottom();
    ASSERT_GT(title, 40) << "no title art found on menu\\menu";
    for (int item : {3, 4, 5, 6})
        EXPECT_GT(item_band(menus().main_menu, item).top, title) << "main menu item " << item;
}

TEST_F(ScreensTest, HintPromptLinesStayClearOfItsItems) {
    pictures().menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    centred_line(170, "Будут показаны два ворпа"_cp1251, rgb(0, 255, 128));
    centred_line(220, "Вы потеряте 10 очков"_cp1251, rgb(0, 255, 128));
    menus().help_menu.draw(window_);
    shoot("hint_prompt");
    const Band lines[] = {{170, 172 + cell_h - 6}, {220, 222 + cell_h - 6}};
    for (const Band& line : lines) {
        EXPECT_GT(line.top, title_bottom());
        for (int item : visible_items(menus().help_menu))
            EXPECT_FALSE(overlap(line, item_band(menus().help_menu, item)))
                << "prompt line " << describe(line) << " and item " << item << " "
                << describe(item_band(menus().help_menu, item));
    }
    EXPECT_EQ(visible_items(menus().help_menu), (std::vector<int>{4, 5}));
}

TEST_F(ScreensTest, StageScoreFitsBetweenThePauseMenuItems) {
    windowmenu& menu = menus().continue_menu;
    pictures().menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    menu.set_item_text(4, "");
    const int y = menu.item_rect(4).top - cell_h / 3;
    {
        Font outline(&window_.dc(), 4 + 2 * cell_w, 4 + 2 * cell_h, "Courier New");
        outline.draw_centered(y, "1250", shadow_grey, platform::TRANSPARENT);
    }
    {
        Font digits(&window_.dc(), 2 * cell_w, 2 * cell_h, "Courier New");
        digits.draw_centered(y + 2, "1250", rgb(255, 128, 128), platform::TRANSPARENT);
    }
    menu.draw(window_);
    shoot("pause_menu_stage_score");
    const Band score{y, y + 2 + 4 + 2 * cell_h};
    for (int item : {3, 5})
        EXPECT_FALSE(overlap(score, item_band(menu, item)))
            << "stage score " << describe(score) << " and item " << item << " "
            << describe(item_band(menu, item));
    EXPECT_GT(item_band(menu, 3).top, title_bottom());

    // While tiles remain, item 4 offers the hint instead.
    menu.set_item_text(4, "Показать подсказку"_cp1251);
    pictures().menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    menu.draw(window_);
    shoot("pause_menu");
}

TEST_F(ScreensTest, NameEntryStandsUnderTheTitle) {
    pictures().menu_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    draw_name_entry(window_, "Маша"_cp1251, text_width, cell_h);
    shoot("name_entry");
    EXPECT_GT(150, title_bottom());
}

TEST_F(ScreensTest, ScoreRowsStayBetweenTheHeadingAndTheBackButton) {
    windowmenu& back = menus().back_menu;
    pictures().score_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    back.set_item_text(8, "Назад"_cp1251);
    back.draw(window_);
    score_table().draw_scores(window_.dc(), text_width, cell_h - 5);
    animate_border();
    shoot("score_table");

    const int step = score_row_step(platform::desktop().screen_height(), 528);
    const Band rows{4 * step, 4 * step + 8 * step + 3 + cell_h - 5};
    EXPECT_FALSE(overlap(rows, item_band(back, 8)))
        << "score rows " << describe(rows) << " and the back button "
        << describe(item_band(back, 8));
    EXPECT_LT(lowest_ink_row(pictures().score_picture, 100, 548, rows.top), rows.top)
        << "the heading runs into the first row";
    for (int y = rows.top; y < rows.bottom; ++y)
        for (int x = 100; x < 548; ++x)
            ASSERT_FALSE(bright(pictures().score_picture.bitmap()->at(x, y)))
                << "menu\\menuscore has ink at (" << x << ", " << y << ") where the rows stand";
}

TEST_F(ScreensTest, BackButtonStaysClearOfTheRulesAndTheEndOfTraining) {
    windowmenu& back = menus().back_menu;
    pictures().rules_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    back.set_item_text(8, "Начать тренировку"_cp1251);
    back.draw(window_);
    shoot("rules");
    EXPECT_EQ(ink_in(pictures().rules_picture, back.item_rect(8)), 0);

    pictures().rules_end_picture.draw_to_window(window_, 0, 0, platform::SRCCOPY);
    back.set_item_text(8, "Дальше"_cp1251);
    back.draw(window_);
    shoot("training_end");
    EXPECT_EQ(ink_in(pictures().rules_end_picture, back.item_rect(8)), 0);
    EXPECT_EQ(visible_items(back), (std::vector<int>{8}));
}

TEST_F(ScreensTest, TrainingMenuStandsBelowTheLargestTrainingBoard) {
    show_background("res\\01_dawn.back");
    rules::deal_training_board(3);
    flow::draw_board(window_);
    windowmenu& menu = menus().training_menu;
    menu.set_item_text(6, "Показать подсказку"_cp1251);
    menu.draw(window_);
    shoot("training_board");
    int lowest_tile_row = 0;
    for (int column = 0; column < rules::board_columns; ++column)
        for (int row = 0; row < rules::board_rows; ++row)
            if (rules::board.occupied(column, row))
                lowest_tile_row = std::max(lowest_tile_row, row);
    // A tile covers one pixel row of the cell below it as well.
    const int board_bottom = (lowest_tile_row + 1) * cell_h + 1;
    for (int item : {6, 7})
        EXPECT_GE(item_band(menu, item).top, board_bottom) << "training menu item " << item;
}

TEST_F(ScreensTest, FullBoardShowsEveryTileOnItsPlate) {
    show_background("res\\02_sea.back");
    rules::deal_full_board();
    flow::draw_board(window_);
    {
        Font font(&window_.dc(), text_width, cell_h - 6, "Courier New");
        draw_text(window_, text_width + 2, 5, "<< Меню"_cp1251, shadow_grey, platform::TRANSPARENT);
        draw_text(window_, text_width, 3, "<< Меню"_cp1251, rgb(0, 255, 0), platform::TRANSPARENT);
        const char* score = "Счет: 300"_cp1251;
        const int x = 648 - 10 * text_width;
        draw_text(window_, x + 2, 5, score, shadow_grey, platform::TRANSPARENT);
        draw_text(window_, x, 3, score, rgb(255, 255, 0), platform::TRANSPARENT);
    }
    shoot("full_board");
    // Each composed tile shows the plate's ivory top around its vorp: the face never
    // covers the whole plate.
    const platform::Bitmap& screen = window_.framebuffer();
    for (int column = 1; column <= 16; ++column) {
        for (int row = 1; row <= 9; ++row) {
            int ivory = 0;
            for (int y = 1; y < 44; ++y)
                for (int x = 1; x < 32; ++x) {
                    const platform::Pixel p = screen.at(column * cell_w + x, row * cell_h + y);
                    ivory +=
                        ((p >> 16) & 0xFF) > 220 && ((p >> 8) & 0xFF) > 210 && (p & 0xFF) > 180;
                }
            EXPECT_GT(ivory, 200) << "cell " << column << ", " << row;
        }
    }
}

}  // namespace
