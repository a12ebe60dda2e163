// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every screen of the game, reached by playing the built game headless through its
// own flow, written as PNG screenshots into the build folder's screenshots/ and
// checked for overlaps: the title art and the pictures' own texts and panels against
// everything the game draws over them, the hint prompt lines against the prompt's
// items, the stage score against the pause menu, the name entry under the title, the
// score rows against the heading and the back button, the training menu against the
// training boards. Where the items stand comes from the game's menu loader in this
// process; the screenshots show that the game draws them there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/headless_game.h"
#include "game_folder.h"
#include "graphics/picture.h"
#include "ink.h"
#include "menu/windowmenu.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/png.h"
#include "platform/window.h"
#include "scores/score_screen.h"

namespace {

using platform::Bitmap;
using platform::Pixel;
using Rect = windowmenu::Rect;
using scenario::GameRun;
using scenario::Value;

constexpr int screen_w = 648, screen_h = 528;
constexpr int cell_w = 36, cell_h = 48, text_width = cell_w / 2;
// Colours of the game's texts over the pictures.
constexpr Pixel prompt_green = platform::to_pixel(platform::rgb(0, 255, 128));
constexpr Pixel rose = platform::to_pixel(platform::rgb(255, 128, 128));

struct Band {
    int top = 0, bottom = 0;  // [top, bottom)
};

bool overlap(Band a, Band b) {
    return a.top < b.bottom && b.top < a.bottom;
}

std::string describe(Band b) {
    return "[" + std::to_string(b.top) + ", " + std::to_string(b.bottom) + ")";
}

// A text's rectangle grown by its shadow, two pixels right and down.
Rect with_shadow(Rect r) {
    return {r.left, r.top, r.right + 2, r.bottom + 2};
}

// The rows an item's text and its shadow cover.
Band item_band(windowmenu& menu, int item) {
    const Rect r = with_shadow(menu.item_rect(item));
    return {r.top, r.bottom};
}

// Where draw_centered puts a text of this many characters at y, with its shadow.
Rect centred_text(int y, int characters, int char_width, int char_height) {
    const int left = (screen_w - characters * char_width) / 2;
    return with_shadow({left, y, left + characters * char_width, y + char_height});
}

// The items that show a text (placeholders are a single space).
std::vector<int> visible_items(const windowmenu& menu) {
    std::vector<int> items;
    for (int i = 1; i <= menu.item_count; ++i)
        if (std::string(menu.item_texts[i].c_str()).find_first_not_of(' ') != std::string::npos)
            items.push_back(i);
    return items;
}

// Calls f(x, y) for every pixel of the rectangle that lies on the bitmap.
template <class F>
void each_pixel(const Bitmap& b, const Rect& r, F f) {
    for (int y = std::max(0, r.top); y < std::min(b.height, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(b.width, r.right); ++x)
            f(x, y);
}

// Bright pixels of the picture inside a rectangle.
int ink_in(const Bitmap& picture, const Rect& r) {
    int count = 0;
    each_pixel(picture, r, [&](int x, int y) { count += bright(picture.at(x, y)); });
    return count;
}

// Pixels inside a rectangle that step sharply in brightness to their right or lower
// neighbour: a panel's rim, lettering or art, which a text drawn there would cross.
// The backdrop's soft lights and the picture's compression noise stay well below.
int sharp_edges_in(const Bitmap& picture, const Rect& r) {
    constexpr int step = 24;
    int count = 0;
    each_pixel(picture, r, [&](int x, int y) {
        const int here = luminance(picture.at(x, y));
        const bool right =
            x + 1 < picture.width && std::abs(here - luminance(picture.at(x + 1, y))) > step;
        const bool below =
            y + 1 < picture.height && std::abs(here - luminance(picture.at(x, y + 1))) > step;
        count += right || below;
    });
    return count;
}

// Pixels of exactly this colour inside a rectangle.
int pixels_of(const Bitmap& b, const Rect& r, Pixel colour) {
    int count = 0;
    each_pixel(b, r, [&](int x, int y) { count += b.at(x, y) == colour; });
    return count;
}

std::string describe(const Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// The lowest board row holding a tile in a dump, -1 for an empty board.
int lowest_tile_row(const Value& dump) {
    int lowest = -1;
    for (std::size_t i = 0; i < dump["board"].size(); ++i)
        if (dump["board"][i].num() >= 0) lowest = std::max(lowest, static_cast<int>(i % 11));
    return lowest;
}

// ---- Scripts to the screens ------------------------------------------------------------

// The mouse away from every item, so none is lit when the screen is taken, and 0.2 s
// later the next step of the menu screens' flickering border.
constexpr const char* settle = "move 5 5\nframes 1\nwait 200\nframes 1\n";

// A new game with its first stage cleared: the pause menu with the stage score.
std::string to_stage_score() {
    return scenario::start_game() + scenario::clear_board();
}

// The game ended with a score above the table's ninth, and a name typed.
std::string to_name_entry() {
    return to_stage_score() + "click_item continue 5\nframes 1\ntype Маша\nframes 5\n";
}

class ScreensTest : public scenario::HeadlessGameBase<GameFolderTest> {
  protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        reset_menu_state();
        window_.resize(screen_w, screen_h);
        load_menus(window_);
        ASSERT_TRUE(message_boxes().empty());
        for (auto [picture, name] : {std::pair{&menu_picture_, "menu\\menu"},
                                     {&rules_picture_, "menu\\rules"},
                                     {&rules_end_picture_, "menu\\rules_end"},
                                     {&score_picture_, "menu\\menuscore"}}) {
            picture->load(name);
            ASSERT_EQ(picture->width(), screen_w) << name;
            ASSERT_EQ(picture->height(), screen_h) << name;
        }
        std::filesystem::create_directories(VORPY_DATA_SHOTS);
    }
    void TearDown() override {
        reset_menu_state();
        GameFolderTest::TearDown();
    }

    static std::string shot_path(const std::string& name) {
        return std::string(VORPY_DATA_SHOTS) + "/" + name + ".png";
    }
    // The script line that writes the screen as it stands into the screenshots folder;
    // a file left from an earlier run goes first, so only this run's screen is read.
    static std::string shoot(const std::string& name) {
        std::filesystem::remove(shot_path(name));
        return "screenshot " + shot_path(name) + "\n";
    }
    static Bitmap shot(const std::string& name) {
        std::optional<Bitmap> bitmap = platform::read_png(shot_path(name));
        EXPECT_TRUE(bitmap.has_value()) << shot_path(name);
        if (!bitmap || bitmap->width != screen_w || bitmap->height != screen_h) {
            ADD_FAILURE() << name << " is not a screen of " << screen_w << " x " << screen_h;
            return Bitmap(screen_w, screen_h);
        }
        return *bitmap;
    }

    // Plays the script to its end and checks the game ran it without a fault.
    GameRun run(const std::string& script) {
        GameRun game = play(script);
        EXPECT_EQ(game.status, 0) << game.errors;
        EXPECT_TRUE(game.stray_lines.empty());
        for (const Value& dump : game.dumps)
            EXPECT_EQ(dump["fatal"].size(), 0u);
        return game;
    }

    // The game's items are where the loader puts them: each visible one shows its
    // colour inside its rectangle on the screenshot.
    static void expect_items_drawn(const Bitmap& screen, windowmenu& menu, const char* name) {
        for (int item : visible_items(menu))
            EXPECT_GT(pixels_of(screen, menu.item_rect(item),
                                platform::to_pixel(menu.item_colours[item])),
                      20)
                << name << " item " << item << " not drawn at " << describe(menu.item_rect(item));
    }
    // Nothing of the picture crosses the texts the game draws in these rectangles.
    static void expect_calm_under(const Bitmap& picture, const char* picture_name,
                                  const std::vector<std::pair<std::string, Rect>>& texts) {
        for (const auto& [what, rect] : texts)
            EXPECT_EQ(sharp_edges_in(picture, rect), 0)
                << picture_name << " has sharp edges under " << what << " " << describe(rect);
    }
    static std::vector<std::pair<std::string, Rect>> visible_item_rects(windowmenu& menu) {
        std::vector<std::pair<std::string, Rect>> rects;
        for (int item : visible_items(menu))
            rects.emplace_back("item " + std::to_string(item), with_shadow(menu.item_rect(item)));
        return rects;
    }

    MenuState& menus() { return menu_state(); }
    const Bitmap& menu_bitmap() const { return *menu_picture_.bitmap(); }
    // The lowest row of the menu picture's title art, over the middle of the window.
    int title_bottom() const { return lowest_ink_row(menu_bitmap(), 100, 548, 260); }

    platform::Window window_;
    Picture menu_picture_, rules_picture_, rules_end_picture_, score_picture_;
};

TEST_F(ScreensTest, MainMenuStandsUnderTheTitle) {
    // A frame after 0.2 s shows the flickering border as well.
    const GameRun game = run("frames 1\nwait 200\nframes 1\n" + shoot("main_menu") + "dump\n");
    ASSERT_EQ(game.last()["state"].str(), "MAIN_MENU");
    windowmenu& menu = menus().main_menu;
    expect_items_drawn(shot("main_menu"), menu, "main menu");
    const int title = title_bottom();
    ASSERT_GT(title, 40) << "no title art found on menu\\menu";
    EXPECT_EQ(visible_items(menu), (std::vector<int>{3, 4, 5, 6}));
    for (int item : visible_items(menu))
        EXPECT_GT(item_band(menu, item).top, title) << "main menu item " << item;
    expect_calm_under(menu_bitmap(), "menu\\menu", visible_item_rects(menu));
}

TEST_F(ScreensTest, RulesAndTheEndOfTrainingLeaveTheBackButtonFree) {
    // Training chosen: the rules. Escape in the first exercise ends training.
    const GameRun game = run("frames 1\nclick_item main 4\nframes 2\n" + shoot("rules") +
                             "dump\nclick 300 300\nframes 2\n" + scenario::escape_to_pause() +
                             "frames 1\n" + shoot("training_end") + "dump\n");
    ASSERT_EQ(game.dumps.size(), 2u);
    windowmenu& back = menus().back_menu;
    const struct {
        const char* screen;
        const char* state;
        const char* button;
        const Picture& picture;
        const char* picture_name;
    } screens[] = {
        {"rules", "TRAINING_RULES", "Начать тренировку", rules_picture_, "menu\\rules"},
        {"training_end", "TRAINING_END", "Дальше", rules_end_picture_, "menu\\rules_end"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& s = screens[i];
        SCOPED_TRACE(s.screen);
        ASSERT_EQ(game.dumps[i]["state"].str(), s.state);
        ASSERT_EQ(scenario::item_text(game.dumps[i], "back", 8), s.button);
        // The loader's menu shows what the game showed.
        back.set_item_text(8, platform::utf8_to_cp1251(s.button).c_str());
        EXPECT_EQ(visible_items(back), (std::vector<int>{8}));
        expect_items_drawn(shot(s.screen), back, s.screen);
        EXPECT_EQ(ink_in(*s.picture.bitmap(), with_shadow(back.item_rect(8))), 0);
        expect_calm_under(*s.picture.bitmap(), s.picture_name, visible_item_rects(back));
    }
}

TEST_F(ScreensTest, TrainingMenuStandsBelowEveryTrainingBoard) {
    // Each exercise cleared with a pair put in its place, then item 6 deals the next.
    const std::string next_exercise = scenario::clear_board() + "click_item training 6\nframes 2\n";
    const GameRun game = run(scenario::start_training() + settle + shoot("training_board") +
                             "dump\n" + next_exercise + "dump\n" + next_exercise + settle +
                             shoot("training_board_level3") + "dump\n");
    ASSERT_EQ(game.dumps.size(), 3u);
    windowmenu& menu = menus().training_menu;
    for (const char* name : {"training_board", "training_board_level3"})
        expect_items_drawn(shot(name), menu, name);
    for (std::size_t level = 1; level <= 3; ++level) {
        const Value& dump = game.dumps[level - 1];
        SCOPED_TRACE("level " + std::to_string(level));
        ASSERT_EQ(dump["state"].str(), "TRAINING_PLAY");
        ASSERT_EQ(dump["training_level"].num(), static_cast<std::int64_t>(level));
        ASSERT_GT(dump["tiles_left"].num(), 0);
        // A tile covers one pixel row of the cell below it as well.
        const int board_bottom = (lowest_tile_row(dump) + 1) * cell_h + 1;
        for (int item : {6, 7})
            EXPECT_GE(item_band(menu, item).top, board_bottom) << "training menu item " << item;
    }
}

TEST_F(ScreensTest, FullBoardShowsEveryTileOnItsPlate) {
    const GameRun game = run(scenario::start_game() + shoot("full_board") + "dump\n");
    ASSERT_EQ(game.last()["state"].str(), "PLAY");
    ASSERT_EQ(game.last()["tiles_left"].num(), 144);
    // Each composed tile shows the plate's ivory top around its vorp: the face never
    // covers the whole plate.
    const Bitmap screen = shot("full_board");
    for (int column = 1; column <= 16; ++column) {
        for (int row = 1; row <= 9; ++row) {
            int ivory = 0;
            each_pixel(
                screen,
                {column * cell_w + 1, row * cell_h + 1, column * cell_w + 32, row * cell_h + 44},
                [&](int x, int y) {
                    const Pixel p = screen.at(x, y);
                    ivory +=
                        ((p >> 16) & 0xFF) > 220 && ((p >> 8) & 0xFF) > 210 && (p & 0xFF) > 180;
                });
            EXPECT_GT(ivory, 200) << "cell " << column << ", " << row;
        }
    }
}

TEST_F(ScreensTest, HintPromptLinesStayClearOfItsItems) {
    // The pause menu by the "<< Меню" button, then its hint item.
    const GameRun game =
        run(scenario::start_game() + "click 60 20\nframes 1\n" + settle + shoot("pause_menu") +
            "dump\nclick_item continue 4\nframes 1\n" + settle + shoot("hint_prompt") + "dump\n");
    ASSERT_EQ(game.dumps.size(), 2u);
    ASSERT_EQ(game.dumps[0]["state"].str(), "PAUSE_MENU");
    ASSERT_EQ(game.dumps[1]["state"].str(), "HINT_PROMPT");
    expect_items_drawn(shot("pause_menu"), menus().continue_menu, "pause menu");

    windowmenu& menu = menus().help_menu;
    EXPECT_EQ(visible_items(menu), (std::vector<int>{4, 5}));
    const Bitmap screen = shot("hint_prompt");
    expect_items_drawn(screen, menu, "hint prompt");
    // "Будут показаны два ворпа" and "Вы потеряте 10 очков" in the text font.
    const Rect lines[] = {centred_text(170, 24, text_width, cell_h - 6),
                          centred_text(220, 20, text_width, cell_h - 6)};
    for (const Rect& line : lines) {
        const Band band{line.top, line.bottom};
        EXPECT_GT(pixels_of(screen, line, prompt_green), 100) << "no prompt at " << describe(line);
        EXPECT_GT(line.top, title_bottom());
        for (int item : visible_items(menu))
            EXPECT_FALSE(overlap(band, item_band(menu, item)))
                << "prompt line " << describe(band) << " and item " << item << " "
                << describe(item_band(menu, item));
    }
    std::vector<std::pair<std::string, Rect>> texts = visible_item_rects(menu);
    texts.emplace_back("the first prompt line", lines[0]);
    texts.emplace_back("the second prompt line", lines[1]);
    expect_calm_under(menu_bitmap(), "menu\\menu", texts);
}

TEST_F(ScreensTest, StageScoreFitsBetweenThePauseMenuItems) {
    const GameRun game =
        run(to_stage_score() + settle + shoot("pause_menu_stage_score") + "dump\n");
    const Value& dump = game.last();
    ASSERT_EQ(dump["state"].str(), "PAUSE_MENU");
    ASSERT_EQ(dump["tiles_left"].num(), 0);
    ASSERT_EQ(scenario::item_text(dump, "continue", 4), "");
    windowmenu& menu = menus().continue_menu;
    menu.set_item_text(4, "");
    const Bitmap screen = shot("pause_menu_stage_score");
    expect_items_drawn(screen, menu, "pause menu");

    // The digits in the text font at twice the cell size, over their outline four
    // pixels larger, from a third of a cell above item 4's place.
    const int digits = static_cast<int>(std::to_string(dump["score"].num()).size());
    const int y = menu.item_rect(4).top - cell_h / 3;
    const Rect score = centred_text(y, digits, 4 + 2 * cell_w, 4 + 2 * cell_h);
    EXPECT_GT(pixels_of(screen, score, rose), 500) << "no stage score at " << describe(score);
    const Band band{score.top, score.bottom};
    for (int item : {3, 5})
        EXPECT_FALSE(overlap(band, item_band(menu, item)))
            << "stage score " << describe(band) << " and item " << item << " "
            << describe(item_band(menu, item));
    EXPECT_GT(item_band(menu, 3).top, title_bottom());
    // A score of five digits still stands on a calm part of the picture.
    std::vector<std::pair<std::string, Rect>> texts = visible_item_rects(menu);
    texts.emplace_back("a stage score of five digits",
                       centred_text(y, 5, 4 + 2 * cell_w, 4 + 2 * cell_h));
    expect_calm_under(menu_bitmap(), "menu\\menu", texts);
}

TEST_F(ScreensTest, NameEntryStandsUnderTheTitle) {
    const GameRun game = run(to_name_entry() + shoot("name_entry") + "dump\n");
    ASSERT_EQ(game.last()["state"].str(), "NAME_ENTRY");
    ASSERT_EQ(game.last()["player_name"].str(), "Маша");
    // "Ваше имя ?" at 150 and the name with its cursor at 200, a second copy two
    // pixels lower in rose.
    const Rect prompt = centred_text(150, 10, text_width, cell_h - 6);
    const Rect name = centred_text(200, 5, text_width, cell_h - 6);
    const Bitmap screen = shot("name_entry");
    for (const Rect& line : {prompt, name})
        EXPECT_GT(pixels_of(screen, line, rose), 50) << "no text at " << describe(line);
    EXPECT_GT(prompt.top, title_bottom());
    expect_calm_under(
        menu_bitmap(), "menu\\menu",
        {{"the prompt", prompt},
         {"the longest name", centred_text(200, typed_name_limit + 1, text_width, cell_h - 6)}});
}

TEST_F(ScreensTest, ScoreRowsStayBetweenTheHeadingAndTheBackButton) {
    const GameRun game =
        run(to_name_entry() + "char 13\nframes 2\n" + settle + shoot("score_table") + "dump\n");
    const Value& dump = game.last();
    ASSERT_EQ(dump["state"].str(), "SCORE_SCREEN");
    ASSERT_EQ(dump["scores"][8][0].str(), "Маша");
    windowmenu& back = menus().back_menu;
    ASSERT_EQ(scenario::item_text(dump, "back", 8), "Назад");
    const Bitmap screen = shot("score_table");
    expect_items_drawn(screen, back, "back menu");

    // Nine rows of 20 characters a step apart from four steps down, a second copy of
    // each three pixels lower.
    const int step = score_row_step(platform::desktop().screen_height(), screen_h);
    const Rect rows = {centred_text(0, 20, text_width, 0).left, 4 * step,
                       centred_text(0, 20, text_width, 0).right,
                       4 * step + 8 * step + 3 + cell_h - 5};
    EXPECT_GT(pixels_of(screen, {rows.left, rows.bottom - step, rows.right, rows.bottom}, rose),
              100)
        << "no ninth row";
    const Band band{rows.top, rows.bottom};
    EXPECT_FALSE(overlap(band, item_band(back, 8)))
        << "score rows " << describe(band) << " and the back button "
        << describe(item_band(back, 8));
    const Bitmap& picture = *score_picture_.bitmap();
    EXPECT_LT(lowest_ink_row(picture, 100, 548, rows.top), rows.top)
        << "the heading runs into the first row";
    EXPECT_EQ(ink_in(picture, {100, rows.top, 548, rows.bottom}), 0)
        << "menu\\menuscore has ink where the rows stand";
    std::vector<std::pair<std::string, Rect>> texts = visible_item_rects(back);
    texts.emplace_back("the rows", rows);
    expect_calm_under(picture, "menu\\menuscore", texts);
}

}  // namespace
