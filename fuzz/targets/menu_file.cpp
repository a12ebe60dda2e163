// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the menu loader on arbitrary bytes written as a menu file, in a window
// of the game's size; the loaded menu is then drawn, hovered and measured as the game
// does. Fatal errors only collect message boxes, cleared for every input.
#include "menu/windowmenu.h"
#include "platform/window.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::scratch_folder() + "fuzz.menu";
    static platform::Window window;
    if (window.client_width() == 0) window.resize(648, 528);
    fuzz::clear_desktop();
    fuzz::write_input(path, data, size);

    windowmenu menu;
    menu.init(window, path.c_str());
    if (menu.item_count < 0 || menu.item_count > windowmenu::max_items) {
        fuzz::fail("item count out of range");
    }
    menu.draw(window);
    for (std::int32_t i = 0; i <= windowmenu::max_items + 1; ++i) {
        const windowmenu::Rect rect = menu.item_rect(i);
        menu.hover(window, rect.left, rect.top + 1);
        menu.highlight_item(i);
        menu.reset_item_colour(i);
    }
    menu.hover(window, -1, -1);
    fuzz::clear_desktop();
    return 0;
}
