// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// windowmenu: one menu screen's items, loaded from a menu file ([TEXT], [OPTIONS],
// [EXECUT] and [FONT] sections plus the colour keys), drawn as shadowed texts into
// the window, lit under the mouse; and the game's six menus.
#pragma once

#include <cstdint>

#include "base/string.h"
#include "platform/raster.h"
#include "platform/window.h"

class windowmenu {
  public:
    enum Alignment : std::int32_t { LEFT = 1, RIGHT = 2, CENTER = 3 };

    // Left, top, right, bottom in client pixels.
    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
        bool operator==(const Rect&) const = default;
    };

    static constexpr std::int32_t max_items = 9;
    static constexpr platform::Colour shadow_colour = platform::rgb(128, 128, 128);
    static constexpr platform::Colour highlight_colour = platform::rgb(255, 255, 255);

    // Loads the menu file at the game path: items, alignment, font, colour, commands.
    // The client area of window sets the layout. Failures go through fatal_error.
    void init(platform::Window& window, const char* path);

    // Draws every item, its grey shadow first, with the menu font selected into the
    // window's context (it stays selected afterwards). Nothing without items.
    void draw(platform::Window& window);
    // The item under (x, y), 0 for none; lights it, and redraws the menu when the lit
    // item changed since the last call.
    std::int32_t hover(platform::Window& window, int x, int y);
    // The item whose hit zone holds (x, y), 0 for none; the lower number where zones overlap.
    std::int32_t item_at(int x, int y);
    // Lights item index (0 for none) as hover does for the item under the mouse, and
    // returns index: the keyboard's way to the same highlight.
    std::int32_t light_item(platform::Window& window, std::int32_t index);
    // The text rectangle of item index (1-based); all zeros when out of range.
    Rect item_rect(std::int32_t index);
    // Replaces the text of item index when in range; shows at the next draw.
    void set_item_text(std::int32_t index, const String& text);
    // Sets the item's colour to text_colour; returns its previous colour, or
    // text_colour when index is out of range.
    platform::Colour reset_item_colour(std::int32_t index);
    // Sets the item's colour to white; returns as reset_item_colour does.
    platform::Colour highlight_item(std::int32_t index);

    // How many times draw has painted the items; a repaint counter for tests and the
    // headless shell.
    std::uint64_t draw_count() const { return draw_count_; }

    // The loaded menu. Items are 1-based: item i lives at [i], slot 0 is unused.
    std::int32_t has_items = 0;
    std::int32_t client_width = 0;
    std::int32_t client_height = 0;
    std::int32_t char_width = 0;  // after loading: scaled, the layout width of a character
    std::int32_t char_height = 0;
    String item_texts[max_items + 1];
    String item_commands[max_items + 1];  // kept with their items; nothing runs them
    String face_name = "Courier New";
    platform::Colour item_colours[max_items + 1] = {};
    platform::Colour text_colour = platform::rgb(255, 255, 255);
    std::int32_t item_count = 0;
    std::int32_t alignment = LEFT;
    std::int32_t text_x = 0;  // left edge of the item being laid out
    std::int32_t row_height = 0;
    platform::FontHandle menu_font;
    std::int32_t hovered_item = 0;

  private:
    bool in_range(std::int32_t index) const {
        return has_items != 0 && index >= 1 && index <= item_count;
    }
    // Lays out item index: sets text_x and returns the item's rectangle.
    Rect place_item(std::int32_t index);

    std::uint64_t draw_count_ = 0;
};

// The six menus of the game, one object each for the whole run.
struct MenuState {
    windowmenu help_menu;
    windowmenu continue_menu;
    windowmenu main_menu;
    windowmenu back_menu;
    windowmenu really_menu;
    windowmenu training_menu;
};

MenuState& menu_state();

// Loads the six menu files, in their fixed order, for the window's client area, into
// menus as they are at start; while decoded data is kept (platform/kept_data.h), each
// file is read once for each size of window.
void load_menus(platform::Window& window);

// Puts the six menus back as they are before loading.
void reset_menu_state();
