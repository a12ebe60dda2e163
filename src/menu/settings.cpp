// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Key lookups over the lines of a menu or settings file, and the locale-free number
// rules they and the menu loader use.
#include "menu/settings.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <istream>
#include <string>

#include "base/fatal.h"
#include "base/language.h"
#include "platform/cp1251.h"

namespace {

// The "C" locale as an object, so number conversion ignores the process locale.
locale_t c_locale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Finds the first key line for key from the top of the file; value gets the text
// after its "=".
bool find_setting(std::istream& input, const String& key, String& value) {
    // Every lookup sees the whole file, whatever an earlier one left behind.
    input.clear();
    input.seekg(0, std::ios::beg);
    const auto key_length = static_cast<std::size_t>(key.length());
    String line;
    while (read_menu_line(input, line)) {
        const char* text = line.c_str();
        if (text[0] == '\0' || text[0] == ';') continue;
        if (static_cast<std::size_t>(line.length()) > key_length &&
            std::memcmp(text, key.c_str(), key_length) == 0 && text[key_length] == '=') {
            value = text + key_length + 1;
            return true;
        }
    }
    return false;
}

}  // namespace

bool read_menu_line(std::istream& input, String& line) {
    read_line(input, line, static_cast<std::size_t>(max_menu_line_bytes));
    return !input.fail() && !input.eof();
}

double leading_number(const char* text) {
    // Take only the decimal form; strtod alone would also read hexadecimal, "inf" and "nan".
    const char* p = text;
    while (is_c_space(*p))
        ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    bool has_digits = false;
    for (; is_digit(*p); ++p)
        has_digits = true;
    if (*p == '.') {
        for (++p; is_digit(*p); ++p)
            has_digits = true;
    }
    if (!has_digits) return 0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (is_digit(*exponent)) {
            while (is_digit(*exponent))
                ++exponent;
            p = exponent;
        }
    }
    const std::string number(start, p);
    return strtod_l(number.c_str(), nullptr, c_locale());
}

std::int64_t leading_integer(const char* text) {
    return strtoll_l(text, nullptr, 10, c_locale());
}

double read_setting_number(std::istream& input, const String& key) {
    String value;
    if (!find_setting(input, key, value)) {
        const String message = localized("Значение "_cp1251, "The value ") + key +
                               localized(" не найдено."_cp1251, " was not found.");
        fatal_error(message.c_str());
        return 0;
    }
    return leading_number(value.c_str());
}

String read_setting_text(std::istream& input, const String& key) {
    String value;
    if (!find_setting(input, key, value)) return String();
    return value;
}
