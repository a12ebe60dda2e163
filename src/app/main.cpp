// The program's entry: picks the shell. The headless shell plays a script; by
// default the game opens in a real window.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/headless.h"
#include "app/sdl_shell.h"

namespace {

std::optional<std::uint64_t> number(std::string_view text, std::uint64_t max) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

int usage() {
    std::cerr << "usage: vorpy [--seed N] [--scale N]\n"
                 "       vorpy --headless [--seed N] [--screen-height H] [--date YYYY-MM-DD] "
                 "[--script FILE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view arg : args)
        if (arg == "--headless") return app::headless_main(args);
    std::optional<std::uint32_t> seed;
    int scale = 0;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return usage();
        if (args[i] == "--seed") {
            const auto value = number(args[i + 1], 0xFFFFFFFFu);
            if (!value) return usage();
            seed = static_cast<std::uint32_t>(*value);
        } else if (args[i] == "--scale") {
            const auto value = number(args[i + 1], 16);
            if (!value || *value == 0) return usage();
            scale = static_cast<int>(*value);
        } else {
            return usage();
        }
    }
    return app::run_windowed(seed, scale);
}
