// The program's entry: picks the shell. The headless shell plays a script; by
// default the game opens in a real window.
#include <cstdint>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/headless.h"
#include "app/sdl_shell.h"

namespace {

int usage() {
    std::cerr << app::usage << '\n';
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
            const auto value = app::parse_number(args[i + 1], 0, 0xFFFFFFFF);
            if (!value) return usage();
            seed = static_cast<std::uint32_t>(*value);
        } else if (args[i] == "--scale") {
            const auto value = app::parse_number(args[i + 1], 1, 16);
            if (!value) return usage();
            scale = static_cast<int>(*value);
        } else {
            return usage();
        }
    }
    return app::run_windowed(seed, scale);
}
