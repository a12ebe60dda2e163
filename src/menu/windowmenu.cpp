// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a menu file into a windowmenu, and the menu at run time: item layout,
// shadowed drawing, the hit test under the mouse and the item colours.
#include "menu/windowmenu.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>

#include "base/fatal.h"
#include "base/language.h"
#include "graphics/drawing.h"
#include "menu/settings.h"
#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/kept_data.h"
#include "platform/text.h"

using platform::Colour;
using platform::Window;

namespace {

// A size line without a usable height gets this one.
constexpr std::int32_t default_char_height = 60;
// Width scales beyond this would only push the items out of any window.
constexpr double max_width_scale = 16;
// Layout coordinates stay within this, so offsets added to them cannot overflow.
constexpr std::int64_t max_coordinate = std::int64_t{1} << 30;
// How far around an item's text the mouse still counts as on it (not above).
constexpr std::int64_t hit_margin = 10;

// A size line's value as a size a font can be made with, never below 1.
std::int32_t font_size(std::int64_t value) {
    return std::max(platform::font_size_magnitude(value), 1);
}

float width_scale_from(double value) {
    if (!(value > 0)) return 0;  // negative, zero and not-a-number
    return static_cast<float>(std::min(value, max_width_scale));
}

// The low 8 bits of a colour value truncated toward zero: 256 gives 0, -1 gives 255.
int low_byte(double value) {
    if (!std::isfinite(value)) return 0;
    double byte = std::fmod(std::trunc(value), 256.0);  // exact for every finite double
    if (byte < 0) byte += 256;
    return static_cast<int>(byte);
}

std::int32_t clamp_coordinate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, -max_coordinate, max_coordinate));
}

// Reads the sections of a menu file into the menu, from the top level to the end.
class MenuFileReader {
  public:
    MenuFileReader(std::istream& input, windowmenu& menu) : input_(input), menu_(menu) {}

    void read_all() {
        String line;
        while (next(line)) {
            // Anything that is not exactly a header (key lines among it) is passed over.
            if (line == "[TEXT]") {
                read_text();
            } else if (line == "[OPTIONS]") {
                read_options();
            } else if (line == "[EXECUT]") {
                read_commands();
            } else if (line == "[FONT]") {
                read_font();
            }
        }
    }

    float width_scale() const { return width_scale_; }

  private:
    bool next(String& line) { return read_menu_line(input_, line); }
    static bool is_comment(const String& line) { return line.c_str()[0] == ';'; }

    // Lines up to an empty line or the end; headers inside are items like any other.
    void read_text() {
        String line;
        while (next(line) && !line.is_empty()) {
            if (is_comment(line)) continue;
            menu_.has_items = 1;
            if (menu_.item_count < windowmenu::max_items) {
                menu_.item_texts[++menu_.item_count] = line;
            }
        }
    }

    void read_options() {
        String line;
        while (next(line) && !line.is_empty()) {
            if (line == "LEFT") {
                menu_.alignment = windowmenu::LEFT;
            } else if (line == "RIGHT") {
                menu_.alignment = windowmenu::RIGHT;
            } else if (line == "CENTER") {
                menu_.alignment = windowmenu::CENTER;
            }
        }
    }

    // One command line per item read so far; an empty line is an empty command.
    void read_commands() {
        const std::int32_t count = menu_.item_count;
        String line;
        std::int32_t n = 1;
        while (n <= count && next(line)) {
            if (is_comment(line)) continue;
            menu_.item_commands[n++] = line;
        }
        for (; n <= count; ++n)
            menu_.item_commands[n] = "";
    }

    void read_font() {
        String line;
        while (next(line) && !line.is_empty()) {
            if (is_comment(line)) continue;
            const std::int64_t width = leading_integer(line.c_str());
            if (width != 0) {
                // A size line: the very next line is the height, whatever it holds.
                menu_.char_width = font_size(width);
                String height_line;
                const std::int64_t height =
                    next(height_line) ? leading_integer(height_line.c_str()) : 0;
                menu_.char_height = height == 0 ? default_char_height : font_size(height);
                continue;
            }
            // A face line: "face name" or "face name scale", split at the last space.
            const char* text = line.c_str();
            const char* space = std::strrchr(text, ' ');
            if (space == nullptr) {
                menu_.face_name = line;
            } else {
                width_scale_ = width_scale_from(leading_number(space + 1));
                menu_.face_name = line.mid(1, static_cast<std::int32_t>(space - text));
            }
        }
    }

    std::istream& input_;
    windowmenu& menu_;
    float width_scale_ = 1;
};

}  // namespace

void windowmenu::init(Window& window, const char* path) {
    item_count = 0;
    // Whatever goes wrong while this file loads names it.
    const FatalErrorFile loading(path);
    const std::optional<std::string> text =
        platform::read_text_file(platform::native_path(path), max_menu_file_bytes);
    if (!text) {
        fatal_error(localized("windowmenu::init: невозможно открыть файл"_cp1251,
                              "windowmenu::init: cannot open the file"));
        return;
    }
    std::istringstream input(*text);
    client_width = window.client_width();
    client_height = window.client_height();

    const int red = low_byte(read_setting_number(input, "red"));
    const int green = low_byte(read_setting_number(input, "green"));
    const int blue = low_byte(read_setting_number(input, "blue"));
    text_colour = platform::rgb(red, green, blue);

    input.clear();
    input.seekg(0, std::ios::beg);
    MenuFileReader reader(input, *this);
    reader.read_all();

    for (std::int32_t i = 1; i <= item_count; ++i)
        item_colours[i] = text_colour;

    // Asked for by the unscaled width; the scale only tunes the layout.
    menu_font = platform::create_font(
        {std::string(face_name.c_str(), face_name.length()), char_height, char_width, 1000, true});
    if (!menu_font)
        fatal_error(localized("windowmenu::init:\nШрифт hfont не может быть создан."_cp1251,
                              "windowmenu::init:\nThe font hfont cannot be created."));

    char_width = static_cast<std::int32_t>(static_cast<float>(char_width) * reader.width_scale());
    text_x = 2 * char_width;
    row_height = client_height / (item_count + 1);
    hovered_item = 0;
}

windowmenu::Rect windowmenu::place_item(std::int32_t index) {
    const std::int64_t n = item_texts[index].length();
    const std::int64_t span = n * char_width;
    if (alignment == CENTER) {
        text_x = clamp_coordinate(client_width / 2 - span / 2);
    } else if (alignment == RIGHT) {
        text_x = clamp_coordinate(client_width - (n + 2) * char_width);
    }
    // The item's centre line lies at index x row_height.
    const std::int64_t top = std::int64_t{index} * row_height - char_height / 2;
    return {text_x, clamp_coordinate(top), clamp_coordinate(text_x + span),
            clamp_coordinate(top + char_height)};
}

windowmenu::Rect windowmenu::item_rect(std::int32_t index) {
    if (!in_range(index)) return {};
    return place_item(index);
}

void windowmenu::draw(Window& window) {
    if (has_items == 0) return;
    // The window's context keeps the font after this, for whatever draws next.
    if (menu_font) window.dc().font = menu_font;
    for (std::int32_t i = 1; i <= item_count; ++i) {
        const Rect rect = place_item(i);
        draw_text(window, rect.left + 2, rect.top + 2, item_texts[i], shadow_colour,
                  platform::TRANSPARENT);
        draw_text(window, rect.left, rect.top, item_texts[i], item_colours[i],
                  platform::TRANSPARENT);
    }
    ++draw_count_;
}

std::int32_t windowmenu::item_at(int x, int y) {
    for (std::int32_t i = 1; i <= item_count; ++i) {
        const Rect rect = item_rect(i);
        if (rect.left - hit_margin < x && x < rect.right + hit_margin && rect.top < y &&
            y < rect.bottom + hit_margin)
            return i;
    }
    return 0;
}

std::int32_t windowmenu::hover(Window& window, int x, int y) {
    return light_item(window, item_at(x, y));
}

std::int32_t windowmenu::light_item(Window& window, std::int32_t index) {
    for (std::int32_t j = 1; j <= item_count; ++j)
        reset_item_colour(j);
    highlight_item(index);
    if (hovered_item != index) draw(window);
    hovered_item = index;
    return index;
}

void windowmenu::set_item_text(std::int32_t index, const String& text) {
    if (in_range(index)) item_texts[index] = text;
}

Colour windowmenu::reset_item_colour(std::int32_t index) {
    if (!in_range(index)) return text_colour;
    const Colour previous = item_colours[index];
    item_colours[index] = text_colour;
    return previous;
}

Colour windowmenu::highlight_item(std::int32_t index) {
    if (!in_range(index)) return text_colour;
    const Colour previous = item_colours[index];
    item_colours[index] = highlight_colour;
    return previous;
}

MenuState& menu_state() {
    static MenuState state;
    return state;
}

namespace {
// A menu as at start loaded from its file; while decoded data is kept, a copy of the menu
// that file gave at this window size, once it loaded with its font.
void load_menu(Window& window, windowmenu& menu, const char* path) {
    static platform::KeptBy<std::tuple<std::string, int, int>, windowmenu> kept;
    const std::tuple<std::string, int, int> key{platform::native_path(path), window.client_width(),
                                                window.client_height()};
    if (const windowmenu* loaded = kept.find(key)) {
        menu = *loaded;
        return;
    }
    menu.init(window, path);
    if (menu.menu_font) kept.keep(key, menu);
}
}  // namespace

void load_menus(Window& window) {
    MenuState& menus = menu_state();
    load_menu(window, menus.help_menu, "menu\\helpmenu.menu");
    load_menu(window, menus.continue_menu, "menu\\continuemenu.menu");
    load_menu(window, menus.main_menu, "menu\\mainmenu.menu");
    load_menu(window, menus.back_menu, "menu\\back.menu");
    load_menu(window, menus.really_menu, "menu\\really.menu");
    load_menu(window, menus.training_menu, "menu\\training.menu");
}

void reset_menu_state() {
    menu_state() = MenuState();
}
