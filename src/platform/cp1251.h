// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1251, the code page of every text the game stores and shows: the
// byte-to-Unicode table, UTF-8 conversion both ways, and the _cp1251 literal
// that turns a UTF-8 source literal into Windows-1251 bytes at compile time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Unicode code points of the bytes 0x80..0xFF. Byte 0x98 has no character in the
// code page and maps to U+FFFD; the bytes below 0x80 are ASCII.
inline constexpr std::array<char32_t, 128> cp1251_high = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The code point a Windows-1251 byte stands for.
constexpr char32_t cp1251_to_unicode(unsigned char byte) {
    return byte < 0x80 ? char32_t{byte} : cp1251_high[byte - 0x80];
}

// The Windows-1251 byte of a code point, or -1 when the code page has none.
constexpr int unicode_to_cp1251(char32_t code) {
    if (code < 0x80) return static_cast<int>(code);
    if (code == 0xFFFD) return -1;
    for (std::size_t i = 0; i < cp1251_high.size(); ++i) {
        if (cp1251_high[i] == code) return static_cast<int>(0x80 + i);
    }
    return -1;
}

// Decodes one UTF-8 sequence starting at text[pos]; advances pos past it.
// A malformed sequence yields U+FFFD and advances by one byte.
constexpr char32_t next_utf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const int extra = lead < 0x80           ? 0
                      : (lead >> 5) == 0x6  ? 1
                      : (lead >> 4) == 0xE  ? 2
                      : (lead >> 3) == 0x1E ? 3
                                            : -1;
    if (extra == 0) {
        ++pos;
        return lead;
    }
    if (extra < 0 || pos + static_cast<std::size_t>(extra) >= text.size()) {
        ++pos;
        return 0xFFFD;
    }
    char32_t code = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        code = (code << 6) | (next & 0x3F);
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return code;
}

// Appends the UTF-8 form of a code point of the Basic Multilingual Plane.
void append_utf8(std::string& out, char32_t code);

// Windows-1251 bytes to UTF-8.
std::string cp1251_to_utf8(std::string_view bytes);
// UTF-8 to Windows-1251 bytes; characters the code page lacks are dropped.
std::string utf8_to_cp1251(std::string_view utf8);

namespace detail {
template <std::size_t N>
struct Utf8Literal {
    char text[N]{};
    constexpr Utf8Literal(const char (&source)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = source[i];
    }
};

template <Utf8Literal S>
constexpr auto convert_literal() {
    std::array<char, sizeof(S.text)> out{};
    const std::string_view in(S.text, sizeof(S.text) - 1);
    std::size_t pos = 0, n = 0;
    while (pos < in.size()) {
        const int byte = unicode_to_cp1251(next_utf8(in, pos));
        if (byte < 0) throw "character without a Windows-1251 byte";  // compile-time error only
        out[n++] = static_cast<char>(byte);
    }
    return out;
}

template <Utf8Literal S>
inline constexpr auto converted_literal = convert_literal<S>();
}  // namespace detail

// "текст"_cp1251 is the zero-terminated Windows-1251 form of a UTF-8 literal.
template <detail::Utf8Literal S>
constexpr const char* operator""_cp1251() {
    return detail::converted_literal<S>.data();
}

}  // namespace platform

using platform::operator""_cp1251;
