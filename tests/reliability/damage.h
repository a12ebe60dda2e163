// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Ways a data file of the game folder gets damaged: gone, overwritten with garbage, cut
// in half, or a folder in its place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace damage {

enum class Damage { missing, garbage, truncated, folder };

inline const char* damage_name(Damage d) {
    switch (d) {
        case Damage::missing:
            return "Missing";
        case Damage::garbage:
            return "Garbage";
        case Damage::truncated:
            return "Truncated";
        case Damage::folder:
            return "Folder";
    }
    return "";
}

// Garbage keeps the file's size, so only its contents are wrong; the same file always
// gets the same garbage.
inline void damage_file(const std::filesystem::path& path, Damage damage) {
    const std::uintmax_t size =
        std::filesystem::is_regular_file(path) ? std::filesystem::file_size(path) : 0;
    switch (damage) {
        case Damage::missing:
            std::filesystem::remove(path);
            break;
        case Damage::garbage: {
            std::mt19937 bytes(static_cast<std::uint32_t>(size));
            std::string junk(static_cast<std::size_t>(size), '\0');
            for (char& c : junk)
                c = static_cast<char>(bytes());
            std::ofstream(path, std::ios::binary | std::ios::trunc) << junk;
            break;
        }
        case Damage::truncated:
            std::filesystem::resize_file(path, size / 2);
            break;
        case Damage::folder:
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
            break;
    }
}

}  // namespace damage
