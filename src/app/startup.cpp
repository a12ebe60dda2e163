// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing the global objects, placing the window and the start-up initialisation.
#include "app/startup.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/fatal.h"
#include "base/language.h"
#include "base/paths.h"
#include "base/random.h"
#include "board/board.h"
#include "flow/board_view.h"
#include "flow/flow.h"
#include "flow/pictures.h"
#include "graphics/drawing.h"
#include "menu/settings.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/cp1251.h"
#include "platform/data_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/termination.h"
#include "scores/score_table.h"
#include "sound/music.h"

namespace app {

AppState& app_state() {
    static AppState state;
    return state;
}

void reset_app_state() {
    app_state() = AppState();
}

void reset_game_state() {
    rules::reset_rules_state();
    flow::reset_flow_state();
    flow::reset_board_pictures();
    flow::reset_screen_pictures();
    reset_menu_state();
    // The music's players close on the audio they were opened on.
    reset_music_state();
    reset_score_state();
    reset_backgrounds();
    reset_app_state();
    platform::reset_data_folders();
    platform::reset_language();
    seed_random(0);
    reset_fatal_state();
    platform::reset_messages();
    platform::reset_termination();
    platform::set_desktop(nullptr);
    platform::recording_desktop() = platform::RecordingDesktop();
    platform::set_audio(nullptr);
    platform::recording_audio().reset();
}

void prepare_globals() {
    rules::rules_state().title_text = rules::game_title(language());
    flow::ScreenPictures& pictures = flow::screen_pictures();
    pictures.backdrop_picture.load("res\\pic");
    AppState& a = app_state();
    a.board_pixel_width =
        pictures.backdrop_picture.width() * rules::board_columns / flow::atlas_columns;
    a.board_pixel_height =
        pictures.backdrop_picture.height() * rules::board_rows / flow::atlas_rows;
    score_table().load_scores("score.sco");
    flow::load_kept_game();
    pictures.menu_picture.load("menu\\menu");
    pictures.rules_picture.load("menu\\rules");
    pictures.rules_end_picture.load("menu\\rules_end");
    pictures.score_picture.load("menu\\menuscore");
    pictures.panel_picture.load("res\\panel");
    rules::rules_state().removal_timer.restart();
}

void place_window(int screen_width, int screen_height) {
    AppState& a = app_state();
    flow::FlowState& f = flow::flow_state();
    f.window_width = a.board_pixel_width + flow::frame_left + flow::frame_right;
    f.window_height = a.board_pixel_height + flow::frame_top + flow::frame_bottom;
    a.window_x = (screen_width - f.window_width) / 2;
    a.window_y = (screen_height - f.window_height) / 2;
    // Only after the position: a window of no size is still given one.
    if (f.window_width == 0) f.window_width = 100;
    if (f.window_height == 0) f.window_height = 100;
}

void create_window(platform::Window& window) {
    const AppState& a = app_state();
    window.resize(a.board_pixel_width, a.board_pixel_height);
    const String& title = rules::rules_state().title_text;
    platform::desktop().set_window_title(std::string_view(title.c_str(), title.length()));
}

namespace {

void april_first_notice() {
    const platform::LocalDate today = platform::clock().today();
    if (today.day != 1 || today.month_index != 3) return;
    platform::desktop().message_box(
        localized("Вы изменили положение мыши.\nЧтобы изменения вступили в силу,\n"
                  "требуется перезагрузить компьютер."_cp1251,
                  "You have moved the mouse.\nFor the change to take effect,\n"
                  "you must restart your computer."),
        warning_caption(), platform::MB_OK | platform::MB_ICONEXCLAMATION);
    platform::desktop().open_file("sound\\lalai.mp3");
}

// Cuts the atlas into faces and masks through a surface of its size that holds a copy;
// the faces and masks kept from it (platform/kept_data.h) are shared instead.
void cut_tile_atlas(platform::Window& window, const Picture& atlas) {
    static KeptCuts kept;
    flow::BoardPictures& p = flow::board_pictures();
    std::vector<Picture*> pieces;
    for (auto* set : {&p.tile_faces, &p.tile_masks})
        for (Picture& picture : *set)
            pieces.push_back(&picture);
    const rules::RulesState& r = rules::rules_state();
    const KeptCuts::Geometry geometry{r.cell_width, r.cell_height, 0, 0};
    if (kept.share(atlas, geometry, pieces)) return;
    Surface surface(window.dc(), atlas.width(), atlas.height());
    atlas.draw_to_dc(surface.dc(), 0, 0, platform::SRCCOPY);
    flow::cut_atlas(surface.dc());
    kept.keep(atlas, geometry, pieces);
}

// A main menu file that does not name this game leaves the window title empty.
void identity_check() {
    const std::optional<std::string> text =
        platform::read_text_file(platform::native_path("menu\\mainmenu.menu"), max_menu_file_bytes);
    std::istringstream input(text.value_or(std::string()));
    if (!(read_setting_text(input, "game") == "vorps")) rules::rules_state().title_text = "";
}

}  // namespace

void start_up(platform::Window& window, std::optional<std::uint32_t> seed) {
    april_first_notice();
    seed_random(seed ? *seed : platform::clock().tick_count());
    rules::rules_state().score = 0;

    Picture& atlas = flow::screen_pictures().backdrop_picture;
    atlas.load("res\\pic");
    rules::RulesState& r = rules::rules_state();
    r.cell_width = atlas.width() / flow::atlas_columns;
    r.cell_height = atlas.height() / flow::atlas_rows;
    cut_tile_atlas(window, atlas);
    flow::flow_state().text_width = r.cell_width / 2;

    flow::screen_pictures().menu_picture.draw_to_window(window, 0, 0, platform::SRCCOPY);
    flow::capture_cells_under(window, flow::screen_pictures().menu_picture,
                              flow::board_pictures().menu_backdrop_cells);
    load_menus(window);
    flow::flow_state().game_state = MAIN_MENU;
    identity_check();
    restore_preferences();
    platform::settle_heap();
}

void open_game(platform::Window& window, std::optional<std::uint32_t> seed) {
    prepare_globals();
    place_window(platform::desktop().screen_width(), platform::desktop().screen_height());
    create_window(window);
    start_up(window, seed);
}

void close_game() {
    // The players close while the audio they play on still exists.
    reset_music_state();
}

}  // namespace app
