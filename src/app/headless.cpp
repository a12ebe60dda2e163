// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless shell: options, the script's commands, and the run from start-up to
// the end of the loop or of the script.
#include "app/headless.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <limits>
#include <vector>

#include "app/command_line.h"
#include "app/message_loop.h"
#include "app/startup.h"
#include "app/state_dump.h"
#include "base/random.h"
#include "board/board.h"
#include "menu/windowmenu.h"
#include "platform/audio.h"
#include "platform/cp1251.h"
#include "platform/desktop.h"
#include "platform/png.h"
#include "platform/termination.h"
#include "platform/window.h"

namespace app {

namespace {

// The virtual clock stays within about 31 years, so its 10 MHz count and the game's
// times taken from it keep far from their types' limits whatever the script waits.
constexpr std::int64_t max_clock_ms = 1'000'000'000'000;

std::optional<platform::LocalDate> parse_date(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = parse_number(text.substr(0, 4), 1, 9999);
    const auto month = parse_number(text.substr(5, 2), 1, 12);
    const auto day = parse_number(text.substr(8, 2), 1, 31);
    if (!year || !month || !day) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) return std::nullopt;
    return platform::LocalDate{static_cast<int>(*day), static_cast<int>(*month) - 1};
}

std::vector<std::string_view> split_words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
            ++pos;
        if (pos > start) words.push_back(line.substr(start, pos - start));
    }
    return words;
}

// What follows the command word and one separator: the text of type and screenshot.
std::string_view rest_of_line(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t gap = line.find_first_of(" \t", start);
    return gap == std::string_view::npos ? std::string_view() : line.substr(gap + 1);
}

windowmenu* menu_named(std::string_view name) {
    for (const NamedMenu& menu : named_menus())
        if (menu.name == name) return menu.menu;
    return nullptr;
}

// A key pressed and released as the SDL shell passes it on: the key, then for a key
// that types, its character.
bool press_key(std::string_view name) {
    static constexpr struct {
        std::string_view name;
        std::uint32_t key;
        char typed;
    } keys[] = {{"up", platform::VK_UP, 0},        {"down", platform::VK_DOWN, 0},
                {"left", platform::VK_LEFT, 0},    {"right", platform::VK_RIGHT, 0},
                {"enter", platform::VK_RETURN, 0}, {"space", platform::VK_SPACE, ' '},
                {"h", platform::VK_H, 'h'},        {"m", platform::VK_M, 'm'},
                {"f11", platform::VK_F11, 0}};
    for (const auto& k : keys) {
        if (k.name != name) continue;
        platform::post_message({platform::MessageType::key_down, k.key});
        if (k.typed != 0)
            platform::post_message(
                {platform::MessageType::character, static_cast<unsigned char>(k.typed)});
        return true;
    }
    return false;
}

enum class Outcome { done, loop_ended, not_understood, failed, frame_limit };

// Carries out script lines against the running game.
class Session {
  public:
    Session(const HeadlessOptions& options, platform::Window& window, platform::VirtualClock& clock,
            std::ostream& out)
        : options_(options), window_(window), clock_(clock), out_(out) {}

    Outcome run(std::string_view line);
    void dump() { out_ << state_json(cursor_) << '\n' << std::flush; }

  private:
    Outcome frames(std::int64_t count);
    Outcome wait_us(std::int64_t us);
    Outcome run_ms(std::int64_t ms);
    Outcome set_board(std::span<const std::string_view> values);
    static void post(platform::MessageType type, std::uint32_t code = 0, int x = 0, int y = 0) {
        platform::post_message({type, code, x, y});
    }

    const HeadlessOptions& options_;
    platform::Window& window_;
    platform::VirtualClock& clock_;
    std::ostream& out_;
    DumpCursor cursor_;
    std::int64_t frames_run_ = 0;
    // The Escape key changed since the last frame: a real key press would have come
    // with a message.
    bool escape_changed_ = false;
};

Outcome Session::frames(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        if (options_.max_frames && frames_run_ >= *options_.max_frames) return Outcome::frame_limit;
        ++frames_run_;
        escape_changed_ = false;
        if (!loop_pass(window_)) return Outcome::loop_ended;
    }
    return Outcome::done;
}

// Input first: each waiting message is taken by a pass of its own at the present time.
// Then time runs on a grid of whole milliseconds from here: every step has a frame, or,
// pacing by due times, only the first step at or after the loop's next due time (a
// frame owed at once, or a message a frame posted, waits for the next step, as a frame
// every millisecond would).
Outcome Session::run_ms(std::int64_t ms) {
    const std::int64_t step = clock_.frequency() / 1000;
    if (ms > max_clock_ms - clock_.counter() / step) return Outcome::failed;
    while (platform::messages_waiting())
        if (const Outcome o = frames(1); o != Outcome::done) return o;
    const std::int64_t start = clock_.counter();
    std::int64_t done = 0;
    while (done < ms) {
        std::int64_t next = done + 1;
        if (options_.pace == HeadlessOptions::Pace::due && !platform::messages_waiting() &&
            !escape_changed_) {
            const std::int64_t due = next_frame_due();
            if (due == never_due) break;
            if (due > clock_.counter()) next = (due - start + step - 1) / step;
        }
        if (next > ms) break;
        clock_.advance_ticks(start + next * step - clock_.counter());
        done = next;
        if (const Outcome o = frames(1); o != Outcome::done) return o;
    }
    clock_.advance_ticks(start + ms * step - clock_.counter());
    return Outcome::done;
}

Outcome Session::wait_us(std::int64_t us) {
    const std::int64_t now_us = clock_.counter() / 10;
    if (us > max_clock_ms * 1000 - now_us) return Outcome::failed;
    clock_.advance_us(us);
    return Outcome::done;
}

Outcome Session::set_board(std::span<const std::string_view> values) {
    rules::Board board{};
    if (values.size() != board.cells.size()) return Outcome::not_understood;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = parse_number(values[i], -1, rules::tile_kinds - 1);
        if (!value) return Outcome::not_understood;
        board.cells[i] = static_cast<std::int32_t>(*value);
    }
    rules::place_board(board);
    return Outcome::done;
}

Outcome Session::run(std::string_view line) {
    using platform::MessageType;
    const std::vector<std::string_view> words = split_words(line);
    const std::string_view command = words[0];
    const std::size_t argc = words.size() - 1;
    const auto number = [&](std::size_t i, std::int64_t min, std::int64_t max) {
        return i <= argc ? parse_number(words[i], min, max) : std::nullopt;
    };
    constexpr std::int64_t coordinate_min = -32768, coordinate_max = 65535;

    if (command == "frames" && argc == 1) {
        if (const auto n = number(1, 0, 1'000'000'000)) return frames(*n);
    } else if ((command == "wait" || command == "wait_us") && argc == 1) {
        if (const auto t = number(1, 0, max_clock_ms))
            return wait_us(command == "wait" ? *t * 1000 : *t);
    } else if (command == "run" && argc == 1) {
        if (const auto t = number(1, 0, max_clock_ms)) return run_ms(*t);
    } else if ((command == "move" || command == "click") && argc == 2) {
        const auto x = number(1, coordinate_min, coordinate_max);
        const auto y = number(2, coordinate_min, coordinate_max);
        if (x && y) {
            post(command == "move" ? MessageType::mouse_move : MessageType::left_button, 0,
                 static_cast<int>(*x), static_cast<int>(*y));
            return Outcome::done;
        }
    } else if (command == "click_cell" && argc == 2) {
        const auto column = number(1, 0, rules::board_columns - 1);
        const auto row = number(2, 0, rules::board_rows - 1);
        if (column && row) {
            post(MessageType::left_button, 0,
                 rules::cell_center_x(static_cast<std::int32_t>(*column)),
                 rules::cell_center_y(static_cast<std::int32_t>(*row)));
            return Outcome::done;
        }
    } else if (command == "click_item" && argc == 2) {
        windowmenu* menu = menu_named(words[1]);
        const auto item = number(2, 1, windowmenu::max_items);
        if (menu != nullptr && item && *item <= menu->item_count) {
            const Point centre = item_centre(*menu, static_cast<std::int32_t>(*item));
            post(MessageType::left_button, 0, centre.x, centre.y);
            return Outcome::done;
        }
    } else if (command == "key" && argc == 1) {
        if (press_key(words[1])) return Outcome::done;
    } else if (command == "char" && argc == 1) {
        if (const auto code = number(1, 0, 0xFFFFFFFF)) {
            post(MessageType::character, static_cast<std::uint32_t>(*code));
            return Outcome::done;
        }
    } else if (command == "type" && argc >= 1) {
        for (const char c : platform::utf8_to_cp1251(rest_of_line(line)))
            post(MessageType::character, static_cast<unsigned char>(c));
        return Outcome::done;
    } else if (command == "escape" && argc == 1 && (words[1] == "down" || words[1] == "up")) {
        const bool down = words[1] == "down";
        if (platform::recording_desktop().escape != down) escape_changed_ = true;
        platform::recording_desktop().escape = down;
        return Outcome::done;
    } else if (command == "activate" && argc == 1) {
        if (const auto active = number(1, 0, 1)) {
            post(MessageType::activate, static_cast<std::uint32_t>(*active));
            return Outcome::done;
        }
    } else if ((command == "close" || command == "paint") && argc == 0) {
        post(command == "close" ? MessageType::close : MessageType::paint);
        return Outcome::done;
    } else if (command == "term" && argc == 0) {
        // As SIGTERM's handler would: the next pass keeps the game and ends the loop.
        platform::request_termination(SIGTERM);
        return frames(1);
    } else if (command == "seed" && argc == 1) {
        if (const auto seed = number(1, 0, 0xFFFFFFFF)) {
            seed_random(static_cast<std::uint32_t>(*seed));
            return Outcome::done;
        }
    } else if (command == "setboard") {
        return set_board(std::span(words).subspan(1));
    } else if (command == "dump" && argc == 0) {
        dump();
        return Outcome::done;
    } else if (command == "screenshot" && argc >= 1) {
        const std::string path(rest_of_line(line));
        if (!options_.screenshots) return Outcome::done;
        return platform::write_png(path, window_.framebuffer()) ? Outcome::done : Outcome::failed;
    }
    return Outcome::not_understood;
}

bool skipped(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start == std::string_view::npos || line[start] == '#';
}

}  // namespace

std::optional<HeadlessOptions> parse_headless_options(std::span<const std::string_view> args,
                                                      std::string& error) {
    HeadlessOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--headless") continue;
        if (name == "--no-screenshots") {
            options.screenshots = false;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "option " + std::string(name) + " is unknown or lacks its value";
            return std::nullopt;
        }
        const std::string_view value = args[++i];
        if (name == "--seed") {
            const auto seed = parse_number(value, 0, 0xFFFFFFFF);
            if (!seed) {
                error = "--seed takes a number 0..4294967295";
                return std::nullopt;
            }
            options.seed = static_cast<std::uint32_t>(*seed);
        } else if (name == "--language") {
            options.language = platform::language_named(value);
            if (!options.language) {
                error = "--language takes ru or en";
                return std::nullopt;
            }
        } else if (name == "--screen-height") {
            const auto height = parse_number(value, 1, 1'000'000);
            if (!height) {
                error = "--screen-height takes a number of pixels";
                return std::nullopt;
            }
            options.screen_height = static_cast<int>(*height);
        } else if (name == "--date") {
            options.date = parse_date(value);
            if (!options.date) {
                error = "--date takes a date YYYY-MM-DD";
                return std::nullopt;
            }
        } else if (name == "--max-frames") {
            const auto frames = parse_number(value, 0, std::numeric_limits<std::int64_t>::max());
            if (!frames) {
                error = "--max-frames takes a number of frames";
                return std::nullopt;
            }
            options.max_frames = *frames;
        } else if (name == "--pace") {
            if (value != "every-ms" && value != "due") {
                error = "--pace takes every-ms or due";
                return std::nullopt;
            }
            options.pace =
                value == "due" ? HeadlessOptions::Pace::due : HeadlessOptions::Pace::every_ms;
        } else if (name == "--script") {
            options.script_path = value;
        } else {
            error = "option " + std::string(name) + " is unknown";
            return std::nullopt;
        }
    }
    return options;
}

int run_headless(const HeadlessOptions& options, std::istream& script, std::ostream& out,
                 std::ostream& err) {
    platform::reset_termination();
    if (options.language) platform::set_language(*options.language);
    platform::VirtualClock clock;
    if (options.date) clock.set_date(*options.date);
    platform::set_clock(&clock);
    platform::set_desktop(nullptr);
    if (options.screen_height) platform::recording_desktop().screen_h = *options.screen_height;
    platform::set_audio(nullptr);
    platform::recording_audio();  // made before the music players, so it outlives them

    platform::Window window;
    open_game(window, options.seed);
    // A newly shown window is asked to paint itself.
    platform::post_message({platform::MessageType::paint});

    Session session(options, window, clock, out);
    int exit_code = 0;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (skipped(line)) continue;
        const Outcome outcome = session.run(line);
        if (outcome == Outcome::done) {
            if (options.after_line) options.after_line(line);
            continue;
        }
        if (outcome == Outcome::loop_ended) {
            session.dump();
            exit_code = app_state().exit_code;
            out << "{\"exit\":" << exit_code << "}\n" << std::flush;
        } else {
            const char* what = outcome == Outcome::failed        ? " failed: "
                               : outcome == Outcome::frame_limit ? " reached the frame limit: "
                                                                 : " not understood: ";
            err << "vorpy: script line " << number << what << line << '\n';
            exit_code = 2;
        }
        break;
    }
    close_game();
    platform::set_clock(nullptr);
    return exit_code;
}

int headless_main(std::span<const std::string_view> args) {
    std::string error;
    const std::optional<HeadlessOptions> options = parse_headless_options(args, error);
    if (!options) {
        std::cerr << "vorpy: " << error << '\n' << usage << '\n';
        return 2;
    }
    if (options->script_path.empty()) return run_headless(*options, std::cin, std::cout, std::cerr);
    std::ifstream script(options->script_path, std::ios::binary);
    if (!script) {
        std::cerr << "vorpy: cannot read the script " << options->script_path << '\n';
        return 2;
    }
    return run_headless(*options, script, std::cout, std::cerr);
}

}  // namespace app
