// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: read_line over arbitrary bytes, with the default limit and with a
// small limit taken from the first byte; every line must hold no line feed, keep to
// its limit and the reads must end within the input.
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

#include "base/string.h"
#include "support.h"

namespace {

// Reads every line; returns the bytes kept over all lines.
std::size_t read_all_lines(const std::string& bytes, std::size_t limit, bool limited) {
    std::istringstream input(bytes);
    String line;
    std::size_t lines = 0;
    std::size_t kept = 0;
    for (;;) {
        if (limited) {
            read_line(input, line, limit);
        } else {
            read_line(input, line);
        }
        const auto length = static_cast<std::size_t>(line.length());
        if (std::strlen(line.c_str()) != length) fuzz::fail("length differs from the text");
        if (std::memchr(line.c_str(), '\n', length) != nullptr) fuzz::fail("line feed in a line");
        if (limited && length > limit) fuzz::fail("a line past its limit");
        kept += length;
        if (!input) break;
        if (++lines > bytes.size()) fuzz::fail("more lines than bytes");
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t kept = read_all_lines(bytes, 0, false);
    if (kept > size) fuzz::fail("more bytes kept than read");

    if (size > 0) {
        const std::size_t limit = data[0];
        const std::size_t kept_limited = read_all_lines(bytes.substr(1), limit, true);
        if (kept_limited > size - 1) fuzz::fail("more bytes kept than read under a limit");
    }
    return 0;
}
