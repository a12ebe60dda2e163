// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the settings reader over arbitrary bytes as a menu or settings file,
// looking up several keys (numbers and texts, present or not) on the same stream, and
// the number rules on the whole input as one text.
#include <cmath>
#include <sstream>
#include <string>

#include "menu/settings.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::clear_desktop();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream input(bytes);

    // The colour keys of every menu file, one that no file has, and an empty key.
    for (const char* key : {"red", "green", "blue", "speed", ""}) {
        const double value = read_setting_number(input, key);
        if (std::isnan(value)) fuzz::fail("read_setting_number gave not-a-number");
        const String text = read_setting_text(input, key);
        if (text.length() >= max_menu_line_bytes) fuzz::fail("a setting longer than a line");
    }

    // Line by line, as the menu loader reads; the end must come within the input.
    String line;
    std::size_t lines = 0;
    input.clear();
    input.seekg(0);
    while (read_menu_line(input, line)) {
        if (line.length() > max_menu_line_bytes) fuzz::fail("a menu line past its limit");
        if (++lines > size) fuzz::fail("more lines than bytes");
    }

    // The number rules stop at the terminator the text gets here.
    const double number = leading_number(bytes.c_str());
    if (std::isnan(number)) fuzz::fail("leading_number gave not-a-number");
    leading_integer(bytes.c_str());
    fuzz::clear_desktop();
    return 0;
}
