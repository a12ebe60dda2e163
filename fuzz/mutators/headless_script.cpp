// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless-script target's own mutations, linked into its libFuzzer build: a script
// stays a list of lines, each changed within itself by libFuzzer's byte mutations, or
// lines inserted (whole commands with arguments in range, mostly), deleted, repeated or
// swapped; now and then the whole input goes through libFuzzer's mutations instead. A
// new command of the shell joins the table below as well as the dictionary.
// Two scripts cross over at a line: the start of one and the end of the other.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace {

using Random = std::minstd_rand;

std::size_t below(Random& random, std::size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

std::vector<std::string> split_lines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The script's commands with what each argument is: x and y pixels, c a column, r a
// row, i a menu item, f a count of frames, t a time, b a character code, a 0 or 1, n a
// seed, M a menu, K a key, E an Escape state, T a text typed.
constexpr struct {
    const char* command;
    const char* arguments;
} commands[] = {
    {"frames", "f"}, {"wait", "t"},        {"wait_us", "t"},     {"run", "t"},  {"move", "xy"},
    {"click", "xy"}, {"click_cell", "cr"}, {"click_item", "Mi"}, {"key", "K"},  {"char", "b"},
    {"type", "T"},   {"escape", "E"},      {"activate", "a"},    {"close", ""}, {"paint", ""},
    {"term", ""},    {"seed", "n"},        {"dump", ""},
};
constexpr const char* menus[] = {"main", "continue", "help", "back", "training", "really"};
constexpr const char* keys[] = {"up", "down", "left", "right", "enter", "space", "h", "m", "f11"};

std::string below_text(Random& random, std::int64_t n) {
    return std::to_string(below(random, static_cast<std::size_t>(n)));
}

// One argument of the given kind, now and then out of its range.
std::string argument(Random& random, char kind) {
    if (below(random, 32) == 0) return below(random, 2) == 0 ? "-1" : "99999999999";
    switch (kind) {
        case 'x':
            return below_text(random, 660);
        case 'y':
            return below_text(random, 540);
        case 'c':
            return below_text(random, 18);
        case 'r':
            return below_text(random, 11);
        case 'i':
            return std::to_string(1 + below(random, 9));
        case 'f':
            return below_text(random, below(random, 4) == 0 ? 400 : 8);
        case 't': {
            static constexpr std::int64_t limits[] = {150, 2000, 20000, 200000};
            return below_text(random, limits[below(random, 4)]);
        }
        case 'b':
            return below_text(random, 300);
        case 'a':
            return below_text(random, 2);
        case 'M':
            return menus[below(random, std::size(menus))];
        case 'K':
            return keys[below(random, std::size(keys))];
        case 'E':
            return below(random, 2) == 0 ? "down" : "up";
        case 'T': {
            std::string text;
            for (std::size_t n = 1 + below(random, 6); n > 0; --n)
                text += static_cast<char>('a' + below(random, 26));
            return text;
        }
        default:
            return below_text(random, 1u << 31);
    }
}

// A whole command line with its arguments.
std::string new_line(Random& random) {
    const auto& command = commands[below(random, std::size(commands))];
    std::string line = command.command;
    for (const char* kind = command.arguments; *kind != '\0'; ++kind)
        line += ' ' + argument(random, *kind);
    return line;
}

// One line through libFuzzer's byte mutations, with a little room to grow.
std::string mutate_line(const std::string& line) {
    std::vector<std::uint8_t> bytes(line.begin(), line.end());
    bytes.resize(line.size() + 16);
    const std::size_t size = LLVMFuzzerMutate(bytes.data(), line.size(), bytes.size());
    return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

// The lines joined, each ending in a line break, into data when they fit in max_size.
std::size_t join_lines(const std::vector<std::string>& lines, std::uint8_t* data,
                       std::size_t max_size) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        if (size + line.size() + 1 > max_size) return 0;
        std::memcpy(data + size, line.data(), line.size());
        size += line.size();
        data[size++] = '\n';
    }
    return size;
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max_size, unsigned int seed) {
    Random random(seed);
    std::vector<std::string> lines = split_lines(data, size);
    const std::size_t count = lines.size();
    const std::size_t at = below(random, count), other = below(random, count);
    switch (below(random, 8)) {
        case 0:
        case 1:
            if (count == 0) break;
            lines[at] = mutate_line(lines[at]);
            break;
        case 2:
        case 3:
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(below(random, count + 1)),
                         new_line(random));
            break;
        case 4:
            if (count > 1) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        case 5:
            if (count == 0) break;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(other), lines[at]);
            break;
        case 6:
            if (count > 1) std::swap(lines[at], lines[other]);
            break;
        default:
            return LLVMFuzzerMutate(data, size, max_size);
    }
    const std::size_t joined = join_lines(lines, data, max_size);
    // A script grown past the limit is mutated as bytes instead.
    return joined != 0 ? joined : LLVMFuzzerMutate(data, size, max_size);
}

extern "C" std::size_t LLVMFuzzerCustomCrossOver(const std::uint8_t* data1, std::size_t size1,
                                                 const std::uint8_t* data2, std::size_t size2,
                                                 std::uint8_t* out, std::size_t max_out_size,
                                                 unsigned int seed) {
    Random random(seed);
    const std::vector<std::string> first = split_lines(data1, size1);
    const std::vector<std::string> second = split_lines(data2, size2);
    std::vector<std::string> lines(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(below(
                                                                      random, first.size() + 1)));
    lines.insert(lines.end(),
                 second.begin() + static_cast<std::ptrdiff_t>(below(random, second.size() + 1)),
                 second.end());
    // Too long a result keeps as much of its start as fits.
    while (!lines.empty()) {
        if (const std::size_t size = join_lines(lines, out, max_out_size); size != 0) return size;
        lines.pop_back();
    }
    return 0;
}
