// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between Windows-1251 bytes and UTF-8 text at the edges of the program.
#include "platform/cp1251.h"

namespace platform {

void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string cp1251_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        append_utf8(out, cp1251_to_unicode(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8_to_cp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = unicode_to_cp1251(next_utf8(utf8, pos));
        if (byte >= 0) out += static_cast<char>(byte);
    }
    return out;
}

}  // namespace platform
