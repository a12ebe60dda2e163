// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading, writing and applying the preferences file; its lines are read as the menu
// files' key lines are.
#include "app/preferences.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/startup.h"
#include "menu/settings.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "sound/music.h"

namespace app {

namespace {
constexpr const char* muted_key = "muted";
constexpr const char* full_screen_key = "full_screen";

bool switched_on(std::istream& input, const char* key) {
    return read_setting_text(input, key) == "1";
}
}  // namespace

Preferences parse_preferences(std::string_view text) {
    std::istringstream input{std::string(text)};
    Preferences preferences;
    preferences.muted = switched_on(input, muted_key);
    preferences.full_screen = switched_on(input, full_screen_key);
    return preferences;
}

std::string preferences_text(const Preferences& preferences) {
    std::string text;
    text += std::string(muted_key) + "=" + (preferences.muted ? "1" : "0") + "\n";
    text += std::string(full_screen_key) + "=" + (preferences.full_screen ? "1" : "0") + "\n";
    return text;
}

Preferences read_preferences() {
    const std::string path = platform::config_path(preferences_file);
    if (path.empty()) return Preferences();
    const std::optional<std::string> text = platform::read_text_file(path, max_preferences_bytes);
    return text ? parse_preferences(*text) : Preferences();
}

int write_preferences(const Preferences& preferences) {
    const std::string path = platform::config_path(preferences_file);
    if (path.empty()) return ENOENT;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) return error.value();
    }
    return platform::replace_file(path, preferences_text(preferences));
}

Preferences current_preferences() {
    return {music().muted, platform::desktop().is_full_screen()};
}

void restore_preferences() {
    const Preferences wanted = read_preferences();
    music().muted = wanted.muted;
    if (wanted.full_screen != platform::desktop().is_full_screen())
        platform::desktop().toggle_full_screen();
    // What the game got: a screen too small for full screen is not a change of mind.
    app_state().kept_preferences = current_preferences();
}

void keep_preferences() {
    const Preferences now = current_preferences();
    Preferences& kept = app_state().kept_preferences;
    if (now == kept) return;
    kept = now;
    write_preferences(now);
}

}  // namespace app
