// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings reader: finds one key line ("key=value") anywhere in an open menu or
// settings file and returns its value as a number or as text; plus the line reader
// and the number rules that the menu loader shares with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "base/string.h"

// Lines longer than this keep only their first bytes; the rest is read and dropped,
// so a file of any shape costs time linear in its size and bounded memory.
constexpr std::int32_t max_menu_line_bytes = 4096;
// Menu files are a few hundred bytes; one far larger is not read at all.
constexpr std::size_t max_menu_file_bytes = std::size_t{16} << 20;

// Reads the next line into line: it ends at a line feed, which is consumed, and a
// carriage return before it is dropped. Returns false when the read reached the end
// of the file or failed; a last line that the end of the file closes instead of a
// line feed counts as the end and is not returned.
bool read_menu_line(std::istream& input, String& line);

// The number at the start of text by the C locale's decimal rule, whatever the
// process locale: white space skipped, optional sign, digits with an optional "."
// fraction and an optional exponent, stopping at the first byte that does not fit.
// No number gives 0; a value beyond the range of double gives an infinity.
double leading_number(const char* text);

// The integer at the start of text: white space skipped, optional sign, decimal
// digits. No digits gives 0; values beyond 64 bits stop at the nearest limit.
std::int64_t leading_integer(const char* text);

// The value of the first line "key=value" from the top of the file, as a number.
// A missing key is fatal ("Значение <key> не найдено.") and gives 0.
double read_setting_number(std::istream& input, const String& key);

// The value text of the first line "key=value", unchanged; "" when the key is missing.
String read_setting_text(std::istream& input, const String& key);
