// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: finds the data folder, then picks the shell. The headless shell
// plays a script; by default the game opens in a real window.
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/headless.h"
#include "app/sdl_shell.h"
#include "platform/cp1251.h"
#include "platform/data_folders.h"
#include "platform/locale.h"
#include "platform/memory.h"
#include "platform/sdl_desktop.h"

namespace {

int usage() {
    std::cerr << app::usage << '\n';
    return 2;
}

// Without its data the game cannot show anything: one message names where it looked.
void report_no_data_folder(const std::vector<std::string>& searched, bool headless) {
    std::string text =
        platform::localized("Не найдены данные игры (папки menu и res). Искали в папках:",
                            "The game's data (the menu and res folders) was not found. Looked in:");
    for (const std::string& folder : searched)
        text += "\n" + folder;
    std::cerr << "vorpy: " << text << '\n';
    if (!headless) {
        platform::SdlDesktop desktop;
        desktop.message_box(platform::utf8_to_cp1251(text),
                            platform::localized("Ворпы"_cp1251, "Vorpy"), platform::MB_OK);
    }
}

// Chooses the data folders; in an installed game the player's folder gets its score file.
bool use_data_folders(bool headless) {
    const platform::DataLocation location =
        platform::locate_data(platform::data_search_of_process());
    if (!location.found) {
        report_no_data_folder(location.searched, headless);
        return false;
    }
    platform::set_data_folders(location.folders);
    platform::prepare_user_folder(location.folders, "score.sco");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    platform::tune_heap();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    // Before anything is read or shown: the data folders and every text follow it.
    platform::set_language(app::chosen_language(args, platform::locale_of_process()));
    bool headless = false;
    for (const std::string_view arg : args)
        headless = headless || arg == "--headless";
    if (!use_data_folders(headless)) return 1;
    if (headless) return app::headless_main(args);
    std::optional<std::uint32_t> seed;
    int scale = 0;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return usage();
        if (args[i] == "--seed") {
            const auto value = app::parse_number(args[i + 1], 0, 0xFFFFFFFF);
            if (!value) return usage();
            seed = static_cast<std::uint32_t>(*value);
        } else if (args[i] == "--language") {
            if (!platform::language_named(args[i + 1])) return usage();
        } else if (args[i] == "--scale") {
            const auto value = app::parse_number(args[i + 1], 1, 16);
            if (!value) return usage();
            scale = static_cast<int>(*value);
        } else {
            return usage();
        }
    }
    return app::run_windowed(seed, scale);
}
