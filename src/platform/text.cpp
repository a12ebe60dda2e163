// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts and text output on fontconfig and FreeType: fontconfig turns a face name
// into an installed font file, FreeType scales it to the requested cell, and each
// font keeps its glyphs as coverage bitmaps that text_out blends into a bitmap.
#include "platform/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/cp1251.h"

namespace platform {

namespace {

constexpr int default_height = 16;
// Glyph bitmaps larger than this many pixels are not kept (a 512-pixel font stays well under it).
constexpr std::int64_t max_glyph_pixels = 4 << 20;
// Each cache is emptied when it reaches this many entries; fonts in use live on through their
// handles.
constexpr std::size_t max_cache_entries = 64;

// One FreeType library for the process; every face holds it so it outlives the last of them.
struct Library {
    FT_Library handle = nullptr;
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() {
        if (handle != nullptr) FT_Done_FreeType(handle);
    }
};

// A loaded font file, shared by every size made from it.
struct Face {
    std::shared_ptr<Library> library;
    FT_Face handle = nullptr;
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face() {
        if (handle != nullptr) FT_Done_Face(handle);
    }
};

// The installed font fontconfig chose for a face name, weight and slant.
struct Match {
    std::string file;
    int index = 0;
    std::string family;
};

// The vertical model of a cell: integer ppem and the metrics from the OS/2 win values.
struct CellModel {
    int ppem = 1;
    int ascent = 0;
    int descent = 0;
    int average_width = 0;  // tmAveCharWidth at this ppem
};

// A glyph as text_out uses it: coverage rows top to bottom, placed relative to the pen
// and the baseline.
struct Glyph {
    bool loaded = false;
    bool drawn = false;  // false for bytes without a glyph and for empty bitmaps
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

// round(a / b) for a >= 0, b > 0, halves rounded up.
std::int64_t round_div(std::int64_t a, std::int64_t b) {
    return (2 * a + b) / (2 * b);
}

int clamp_to_int(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

CellModel cell_model(FT_Face face, int height) {
    const std::int64_t upem = std::max<std::int64_t>(face->units_per_EM, 1);
    std::int64_t win_ascent = face->ascender;
    std::int64_t win_descent = -face->descender;
    std::int64_t average = face->max_advance_width / 2;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            win_ascent = os2->usWinAscent;
            win_descent = os2->usWinDescent;
        }
        if (os2->xAvgCharWidth > 0) average = os2->xAvgCharWidth;
    }
    win_ascent = std::max<std::int64_t>(win_ascent, 0);
    win_descent = std::max<std::int64_t>(win_descent, 0);
    const std::int64_t units = std::max<std::int64_t>(win_ascent + win_descent, 1);

    std::int64_t ppem;
    if (height > 0) {
        // The largest integer ppem whose rounded cell does not exceed the request.
        ppem = round_div(upem * height, units);
        if (round_div(units * ppem, upem) > height) --ppem;
    } else {
        ppem = -static_cast<std::int64_t>(height);  // a negative height is the em height
    }
    ppem = std::clamp<std::int64_t>(ppem, 1, max_font_size);

    CellModel model;
    model.ppem = static_cast<int>(ppem);
    model.ascent = static_cast<int>(round_div(win_ascent * ppem, upem));
    model.descent = static_cast<int>(round_div(win_descent * ppem, upem));
    model.average_width =
        static_cast<int>(round_div(std::max<std::int64_t>(average, 0) * ppem, upem));
    return model;
}

}  // namespace

// A face at one cell size and character width, with its glyphs cached by byte.
class FontObject {
  public:
    FontObject(std::shared_ptr<Face> face, FT_Size size, const CellModel& model, int width,
               std::string family)
        : face_(std::move(face)),
          size_(size),
          ascent_(model.ascent),
          descent_(model.descent),
          width_(width),
          fixed_pitch_(FT_IS_FIXED_WIDTH(face_->handle)),
          family_(std::move(family)) {}
    FontObject(const FontObject&) = delete;
    FontObject& operator=(const FontObject&) = delete;
    ~FontObject() { FT_Done_Size(size_); }

    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int width() const { return width_; }
    const std::string& family() const { return family_; }

    // The pen advance of a byte: the font's width for a fixed-pitch face, the hinted
    // advance of the glyph otherwise.
    int advance(unsigned char byte) const { return fixed_pitch_ ? width_ : glyph(byte).advance; }

    const Glyph& glyph(unsigned char byte) const {
        Glyph& slot = glyphs_[byte];
        if (!slot.loaded) load(byte, slot);
        return slot;
    }

  private:
    void load(unsigned char byte, Glyph& slot) const {
        slot.loaded = true;
        FT_Face face = face_->handle;
        if (FT_Activate_Size(size_) != 0) return;
        const char32_t code = cp1251_to_unicode(byte);
        // Byte 0x98 stands for no character at all.
        const FT_UInt index = code == 0xFFFD ? 0 : FT_Get_Char_Index(face, code);
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return;
        slot.advance = static_cast<int>(std::max<FT_Pos>((face->glyph->advance.x + 32) >> 6, 0));
        if (index == 0) return;  // the advance of the missing-glyph shape, but nothing drawn
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return;

        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const std::int64_t pixels = std::int64_t{bitmap.width} * bitmap.rows;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256 || pixels == 0 ||
            pixels > max_glyph_pixels) {
            return;
        }
        slot.left = face->glyph->bitmap_left;
        slot.top = face->glyph->bitmap_top;
        slot.width = static_cast<int>(bitmap.width);
        slot.rows = static_cast<int>(bitmap.rows);
        slot.coverage.resize(static_cast<std::size_t>(pixels));
        const std::ptrdiff_t stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
        for (int row = 0; row < slot.rows; ++row) {
            // A negative pitch stores the rows bottom up.
            const std::ptrdiff_t line = bitmap.pitch >= 0 ? row : slot.rows - 1 - row;
            std::copy_n(bitmap.buffer + line * stride, slot.width,
                        &slot.coverage[static_cast<std::size_t>(row) * slot.width]);
        }
        slot.drawn = true;
    }

    std::shared_ptr<Face> face_;
    FT_Size size_;
    int ascent_;
    int descent_;
    int width_;
    bool fixed_pitch_;
    std::string family_;
    mutable std::array<Glyph, 256> glyphs_;
};

namespace {

using MatchKey = std::tuple<std::string, int, bool>;
using FaceKey = std::pair<std::string, int>;
using FontKey = std::tuple<std::string, int, int, int>;  // file, index, height, width

// The font subsystem's state: the library, what fontconfig matched, the loaded faces and the
// fonts made so far, so a font asked for again in every drawing step is made only once.
struct TextState {
    std::shared_ptr<Library> library;
    bool library_failed = false;
    bool fontconfig_ready = false;
    bool fontconfig_failed = false;
    std::map<MatchKey, std::optional<Match>> matches;
    std::map<FaceKey, std::shared_ptr<Face>> faces;
    std::map<FontKey, std::shared_ptr<const FontObject>> fonts;
    FontHandle stock;
    bool stock_made = false;

    TextState() = default;
    TextState(const TextState&) = delete;
    TextState& operator=(const TextState&) = delete;
    // fontconfig's configuration is only let go by FcFini; without it leak checkers report it.
    ~TextState() {
        if (fontconfig_ready) FcFini();
    }
};

TextState& text_state() {
    static TextState state;
    return state;
}

template <typename Map>
void make_room(Map& cache) {
    if (cache.size() >= max_cache_entries) cache.clear();
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

std::optional<Match> match_font(const std::string& face_utf8, int weight, bool italic) {
    TextState& state = text_state();
    if (!state.fontconfig_ready) {
        if (state.fontconfig_failed) return std::nullopt;
        if (FcInit() == FcFalse) {
            state.fontconfig_failed = true;
            return std::nullopt;
        }
        state.fontconfig_ready = true;
    }
    Pattern pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    if (!face_utf8.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(face_utf8.c_str()));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    if (italic) FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ITALIC);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern matched(FcFontMatch(nullptr, pattern.get(), &result));
    if (!matched) return std::nullopt;

    FcChar8* file = nullptr;
    if (FcPatternGetString(matched.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    Match match;
    match.file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(matched.get(), FC_INDEX, 0, &match.index) != FcResultMatch) {
        match.index = 0;
    }
    // Without the Liberation fonts fontconfig quietly falls back to some other family; the
    // family is kept so callers can see what they got.
    FcChar8* family = nullptr;
    if (FcPatternGetString(matched.get(), FC_FAMILY, 0, &family) == FcResultMatch &&
        family != nullptr) {
        match.family = reinterpret_cast<const char*>(family);
    }
    return match;
}

std::shared_ptr<Face> load_face(const std::string& file, int index) {
    TextState& state = text_state();
    const FaceKey key{file, index};
    if (auto found = state.faces.find(key); found != state.faces.end()) return found->second;

    if (!state.library && !state.library_failed) {
        auto library = std::make_shared<Library>();
        if (FT_Init_FreeType(&library->handle) == 0) {
            state.library = std::move(library);
        } else {
            library->handle = nullptr;
            state.library_failed = true;
        }
    }
    std::shared_ptr<Face> face;
    if (state.library) {
        auto loaded = std::make_shared<Face>();
        loaded->library = state.library;
        if (FT_New_Face(state.library->handle, file.c_str(), index, &loaded->handle) != 0) {
            loaded->handle = nullptr;
        } else if (FT_IS_SCALABLE(loaded->handle)) {
            face = std::move(loaded);
        }
    }
    make_room(state.faces);
    state.faces.emplace(key, face);  // a file that failed to load is remembered as failed
    return face;
}

}  // namespace

FontHandle create_font(const FontRequest& request) {
    TextState& state = text_state();
    // Sizes a font can be made with: 0 is the default height, a negative height is the em
    // height, a negative width counts by its size, and everything stops at max_font_size.
    const int height = request.height == 0
                           ? default_height
                           : std::clamp(request.height, -max_font_size, max_font_size);
    const int width = font_size_magnitude(request.width);
    const int weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);

    // Face names come as Windows-1251 bytes; fontconfig wants UTF-8.
    const MatchKey match_key{cp1251_to_utf8(request.face), weight, request.italic};
    auto found_match = state.matches.find(match_key);
    if (found_match == state.matches.end()) {
        make_room(state.matches);
        found_match =
            state.matches
                .emplace(match_key, match_font(std::get<0>(match_key), weight, request.italic))
                .first;
    }
    if (!found_match->second) return nullptr;
    const Match& match = *found_match->second;

    const FontKey font_key{match.file, match.index, height, width};
    if (auto found = state.fonts.find(font_key); found != state.fonts.end()) return found->second;

    std::shared_ptr<Face> face = load_face(match.file, match.index);
    if (!face) return nullptr;
    const CellModel model = cell_model(face->handle, height);
    const int average_width = width > 0 ? width : std::max(model.average_width, 1);
    // Keep the integer ppem and stretch the outlines horizontally by width / tmAveCharWidth.
    const FT_F26Dot6 char_height = FT_F26Dot6{64} * model.ppem;
    const FT_F26Dot6 char_width =
        width > 0 ? std::max<FT_F26Dot6>(round_div(std::int64_t{64} * model.ppem * width,
                                                   std::max(model.average_width, 1)),
                                         64)
                  : char_height;

    FT_Size size = nullptr;
    if (FT_New_Size(face->handle, &size) != 0) return nullptr;
    if (FT_Activate_Size(size) != 0 ||
        FT_Set_Char_Size(face->handle, char_width, char_height, 72, 72) != 0) {
        FT_Done_Size(size);
        return nullptr;
    }
    auto font = std::make_shared<const FontObject>(std::move(face), size, model, average_width,
                                                   match.family);
    make_room(state.fonts);
    state.fonts.emplace(font_key, font);
    return font;
}

FontHandle stock_font() {
    TextState& state = text_state();
    if (!state.stock_made) {
        state.stock_made = true;
        state.stock = create_font({"Arial", default_height, 0, 400, false});
    }
    return state.stock;
}

FontMetrics font_metrics(const FontObject& font) {
    return {font.ascent(), font.descent(), font.width(), font.family()};
}

int text_advance(const FontObject& font, std::string_view text) {
    std::int64_t total = 0;
    for (char c : text)
        total += font.advance(static_cast<unsigned char>(c));
    return clamp_to_int(total);
}

namespace {

// Mixes the text colour over a pixel by a coverage of 0..255.
Pixel blend(Pixel under, Pixel over, unsigned coverage) {
    if (coverage == 255) return over;
    const unsigned rest = 255 - coverage;
    Pixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * rest + b * coverage + 127) / 255) << shift;
    }
    return out;
}

void draw_glyph(Bitmap& target, const Glyph& glyph, std::int64_t left, std::int64_t top,
                Pixel colour) {
    // Clip the glyph's rectangle to the bitmap on all four sides.
    const std::int64_t first_col = std::max<std::int64_t>(0, -left);
    const std::int64_t first_row = std::max<std::int64_t>(0, -top);
    const std::int64_t last_col = std::min<std::int64_t>(glyph.width, target.width - left);
    const std::int64_t last_row = std::min<std::int64_t>(glyph.rows, target.height - top);
    if (first_col >= last_col || first_row >= last_row) return;
    mark_touched(target, left, top, left + glyph.width, top + glyph.rows);
    for (std::int64_t row = first_row; row < last_row; ++row) {
        const std::uint8_t* coverage =
            &glyph.coverage[static_cast<std::size_t>(row * glyph.width + first_col)];
        Pixel* out =
            &target.pixels[static_cast<std::size_t>((top + row) * target.width + left + first_col)];
        for (std::int64_t i = 0; i < last_col - first_col; ++i) {
            if (coverage[i] != 0) out[i] = blend(out[i], colour, coverage[i]);
        }
    }
}

}  // namespace

void text_out(DrawContext& context, int x, int y, std::string_view text) {
    Bitmap* target = context.target;
    if (target == nullptr || !context.font) return;
    const FontObject& font = *context.font;
    if (context.background_mode == OPAQUE) {
        const std::int64_t right = std::int64_t{x} + text_advance(font, text);
        const std::int64_t bottom = std::int64_t{y} + font.ascent() + font.descent();
        fill_rect(context, x, y, clamp_to_int(right), clamp_to_int(bottom),
                  context.background_colour);
    }
    const Pixel colour = to_pixel(context.text_colour);
    const std::int64_t baseline = std::int64_t{y} + font.ascent();
    std::int64_t pen = x;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const Glyph& glyph = font.glyph(byte);
        if (glyph.drawn) draw_glyph(*target, glyph, pen + glyph.left, baseline - glyph.top, colour);
        pen += font.advance(byte);
    }
    ++target->changes;
}

void reset_font_cache() {
    TextState& state = text_state();
    state.matches.clear();
    state.fonts.clear();
    state.faces.clear();
    state.stock.reset();
    state.stock_made = false;
}

}  // namespace platform
